// The SGF reader: root properties, the move tree in both layouts, comments, times, the limits of the
// branch table, and what the text window shows after a load.
#include <random>
#include <string>

#include "engine_fixture.h"
#include "formats/sgf_normalise.h"
#include "formats/sgf_reader.h"
#include "formats/sgf_writer.h"

namespace quorvel::test {
namespace {

class SgfReaderTest : public EngineTest {
protected:
    void Load(const std::string& text) {
        LoadRecordText(e, text);
        ExpectConsistent();
    }

    // The moves of branch b as SGF letter pairs separated by blanks; "tt" for a pass.
    std::string Moves(int b) const {
        std::string out;
        const int off = b == 0 ? e.mainLineOffset : 0;
        for (int k = 1; k <= off + e.BranchLength(b); ++k) {
            if (!out.empty()) out += ' ';
            out += SgfPointText(e.branchMoves[b][k]);
        }
        return out;
    }

    std::string Comment(int b, int k) const { return e.CommentText(e.branchComments[b][k]); }
};

TEST_F(SgfReaderTest, BoardSizeIsOneOfTheFiveSizes) {
    Load("(;SZ[15])");
    EXPECT_EQ(e.boardSize, 19);
    Load("(;SZ[13];B[mm];W[aa])");
    EXPECT_EQ(e.boardSize, 13);
    EXPECT_EQ(Moves(0), "mm aa");
    // A move off a smaller board reads as a pass.
    Load("(;SZ[9];B[ss];W[ii])");
    EXPECT_EQ(e.boardSize, 9);
    EXPECT_EQ(Moves(0), "tt ii");
}

TEST_F(SgfReaderTest, SetupListsSkipOneSeparatorByte) {
    Load("(;AB[aa][bb]\n[cc];B[dd])");
    EXPECT_EQ(e.setupCount, 3);
    Load("(;AB[aa] [bb];B[dd])");
    EXPECT_EQ(e.setupCount, 2);
    Load("(;AB[aa]\r\n[bb];B[dd])");
    EXPECT_EQ(e.setupCount, 1);
    // Black stones come first, and a ")" ends a list.
    Load("(;AW[cc]AB[aa][bb])");
    ASSERT_EQ(e.setupCount, 3);
    EXPECT_EQ(e.setupList[1], MakeStone(kBlack, P("aa")));
    EXPECT_EQ(e.setupList[3], MakeStone(kWhite, P("cc")));
    EXPECT_EQ(e.board[P("cc")], kWhite);
}

TEST_F(SgfReaderTest, CommentsKeepStructureCharactersInFullWidth) {
    Load("(;GM[1];B[aa]C[a)b;c];W[bb])");
    EXPECT_EQ(Moves(0), "aa bb");
    EXPECT_EQ(Comment(0, 1), "a）b；c");
    EXPECT_EQ(e.branchCount, 0);
}

TEST_F(SgfReaderTest, ShiftJisCommentsComeBackByteForByte) {
    // "ゼ" and "ゾ" end in the bytes of "[" and "]", "ソ", "表" and "能" in the byte of "\".
    const std::string text = "ゼロとゾウ、ソフト表能力ー";
    Load("(;GM[1];B[aa]C[" + text + "];W[bb]C[" + text + "])");
    EXPECT_EQ(Moves(0), "aa bb");
    EXPECT_EQ(Comment(0, 1), text);
    EXPECT_EQ(Comment(0, 2), text);
    // The same in a name and in the root comment.
    Load("(;PB[ゾロ]PC[Tokyo]C[表ゾ];B[aa];W[bb])");
    EXPECT_EQ(e.info.blackPlayer, "ゾロ");
    EXPECT_EQ(e.gameComment, "表ゾ");
}

TEST_F(SgfReaderTest, StandardEscapesBecomeTheCharacterTheyStandFor) {
    // Chat lines of a server: "\]" inside the text, the comment running over several lines.
    Load("(;GM[1];B[aa]C[kim [7k\\]: hi\nlee [5k\\]: yo\n];W[bb]C[a\\\\b])");
    EXPECT_EQ(Moves(0), "aa bb");
    EXPECT_EQ(Comment(0, 1), "kim ［7k］: hi\nlee ［5k］: yo\n");
    EXPECT_EQ(Comment(0, 2), "a￥b");
    // "\]" is always an escape, whatever follows it: a label named in a comment keeps the moves after it.
    Load("(;GM[1]SZ[19];B[ln]C[see (A\\]) and [B\\] here];W[lk];B[qp])");
    EXPECT_EQ(Moves(0), "ln lk qp");
    EXPECT_EQ(Comment(0, 1), "see （A］） and ［B］ here");
    // A comment that never closes so (a lone yen sign before the bracket, as older versions wrote it) ends
    // at its first bracket.
    Load("(;GM[1];B[aa]C[10\\])");
    EXPECT_EQ(Moves(0), "aa");
    EXPECT_EQ(Comment(0, 1), "10￥");
    // An unescaped "]" before the next "[" stays inside the comment.
    Load("(;GM[1];B[aa]C[see a] here];W[bb])");
    EXPECT_EQ(Comment(0, 1), "see a］ here");
}

TEST_F(SgfReaderTest, AFirstByteWithoutItsSecondNeverTakesTheClosingBracket) {
    // Its second byte was the line break before the bracket, or the byte an escape stood for: it shows as
    // "?", and the value ends where it ended.
    Load("(;GM[1]GN[\x92\r\n]PB[b];B[aa];W[\x84\r\n];B[bb]C[x\\\x83];W[cc]C[y\x92\r\n])");
    EXPECT_EQ(e.info.gameName, "?");
    EXPECT_EQ(e.info.blackPlayer, "b");
    EXPECT_EQ(Moves(0), "aa tt bb cc");
    EXPECT_EQ(Comment(0, 3), "x?");
    EXPECT_EQ(Comment(0, 4), "y?");
    // A whole character before the line break stays.
    Load("(;GM[1];B[aa]C[\x88\x9F\r\n];W[bb])");
    EXPECT_EQ(Comment(0, 1), "\x88\x9F");
    EXPECT_EQ(Moves(0), "aa bb");
}

TEST_F(SgfReaderTest, TheSetupNodeAfterTheRootIsPartOfTheRoot) {
    Load("(;GM[1];C[start (A)]BR[3\\]d]AB[aa][bb];W[cc]C[w])");
    EXPECT_EQ(e.gameComment, "start （A）");
    EXPECT_EQ(e.info.blackRank, "3]d");
    EXPECT_EQ(e.setupCount, 2);
    EXPECT_EQ(Moves(0), "cc");
    EXPECT_EQ(Comment(0, 1), "w");
    // Escapes in a move's point.
    Load("(;GM[1];B[d\\d];W[\\ee])");
    EXPECT_EQ(Moves(0), "dd ee");
}

TEST_F(SgfReaderTest, ResultHandicapAndDateTexts) {
    const struct {
        const char* re;
        const char* text;
    } results[] = {{"B+R", "黒中押勝"}, {"W+3.5", "白 3 目半勝"}, {"B+0.5", "黒 半目勝"}, {"W+12", "白 12 目勝"},
                   {"0", "持碁"},      {"Void", "Void"},       {"-", "勝負不明"}};
    for (const auto& r : results) {
        Load(std::string("(;RE[") + r.re + "];B[aa])");
        EXPECT_EQ(e.info.resultText, r.text) << r.re;
    }
    const struct {
        const char* ha;
        const char* text;
    } handicaps[] = {{"1", "定 先"}, {"0", "互 先"}, {"40", "互 先"}, {"4", "4 子局"}};
    for (const auto& h : handicaps) {
        Load(std::string("(;HA[") + h.ha + "];B[aa])");
        EXPECT_EQ(e.info.handicapText, h.text) << h.ha;
        EXPECT_EQ(e.info.handicap, h.ha);
    }
    Load("(;DT[2024-01-02 10:00];B[aa])");
    EXPECT_EQ(e.info.date, "2024-01-02 ");
    Load("(;DT[2024-01-02,03];B[aa])");
    EXPECT_EQ(e.info.date, "2024-01-02,");
}

TEST_F(SgfReaderTest, GameSummaryGoesToTheTextWindowAndTheMemos) {
    Load("(;PB[黒石]PW[白石]BR[3d]DT[2024-05-06]HA[2]RE[W+R]KM[0.5]PC[東京]EV[名人戦]GN[g]RO[1]TM[3600]OP[30]OM[1]"
         ";B[aa];W[bb];B[cc])");
    const std::string summary =
        "● 黒石 | ○ 白石 | 2024-05-06 | 2 子局 | 白中押勝 | 場所：東京 | イベント名：名人戦 | 対局名：g | ラウンド：1"
        " | コミ：0.5 | 持ち時間：60分 | 秒読み：30秒/1手";
    EXPECT_EQ(e.summaryPrefix, summary);
    EXPECT_EQ(e.summaryText, summary + "\r\n MainMoves : 3");
    EXPECT_EQ(messages.Text(), e.summaryText);
    EXPECT_EQ(e.memos.blackName, "黒石");
    EXPECT_EQ(e.memos.whiteName, "白石");
    EXPECT_EQ(e.memos.info, "2024-05-06\r\n2 子局\r\n手順数：3\r\n白中押勝\r\nコミ：0.5");
    // The first position is the start of the main line.
    EXPECT_EQ(e.currentIndex, 0);
    EXPECT_EQ(e.lineEnd, 3);

    Load("(;AB[aa][bb]PC[Tokyo]C[root words];B[cc];W[dd])");
    EXPECT_EQ(e.gameComment, "root words");
    EXPECT_EQ(e.summaryText, " | 場所：Tokyo\r\nroot words");
    EXPECT_EQ(e.headerText.find("root words"), std::string::npos);

    Load("(;AB[aa][bb];W[cc])");
    EXPECT_EQ(e.summaryText, "++ ○ ++ | AdvanceMoves：2 | MainMoves：1");
    EXPECT_EQ(e.memos.info, "前配置：2\r\n手順数：1");
}

TEST_F(SgfReaderTest, TimeTextsOfTheSummary) {
    Load("(;TM[90]OP[90]OM[5];B[aa])");
    EXPECT_EQ(e.summaryPrefix, " | 持ち時間：1分30秒 | 秒読み ： 1分30秒/5手");
    Load("(;TM[45]OP[60]OM[1];B[aa])");
    EXPECT_EQ(e.summaryPrefix, " | 持ち時間：45秒 | 秒読み：1分/1手");
}

TEST_F(SgfReaderTest, GoSetsMoveNumbersAndAdvanceMoves) {
    Load("(;GO[3];B[aa];W[bb])");
    EXPECT_FALSE(e.settings.number);
    EXPECT_TRUE(e.settings.advanceMoves);
    // With AdvanceMoves the load ends at the end of the main line.
    EXPECT_EQ(e.currentIndex, 2);
    Load("(;GO[0];B[aa];W[bb])");
    EXPECT_TRUE(e.settings.number);
    EXPECT_FALSE(e.settings.advanceMoves);
    EXPECT_EQ(e.currentIndex, 0);
}

TEST_F(SgfReaderTest, AsTurnsTheFirstMovesIntoBackground) {
    Load("(;AB[aa][bb]AS[5,1];B[cc];W[dd];B[ee];W[ff];B[gg])");
    EXPECT_EQ(e.mainLineOffset, 3);
    EXPECT_EQ(e.setupCount, 5);
    EXPECT_EQ(e.firstMoveNumber, 1);
    EXPECT_EQ(e.blackFirst, 0);  // the first numbered move is white's
    EXPECT_EQ(e.baseIndex, 5);
    EXPECT_EQ(e.lineEnd, 7);
    EXPECT_EQ(e.board[P("ee")], kBlack);
    EXPECT_EQ(e.board[P("dd")], kWhite);
    EXPECT_EQ(e.board[P("ff")], kEmpty);
    // The hidden moves stay in the head, as they were written.
    EXPECT_NE(e.headerText.find("B[ee]"), std::string::npos);
    EXPECT_EQ(e.headerText.find("W[ff]"), std::string::npos);
    // The head ends with the last hidden move's node, its comment included, and nothing of the next node.
    Load("(;AS[2,1];B[cc]C[x];W[dd]C[y];B[ee])");
    EXPECT_EQ(e.headerText.substr(e.headerText.size() - 10), ";W[dd]C[y]");
    // Numbers above 500 are ignored.
    Load("(;AS[501,1];B[cc];W[dd])");
    EXPECT_EQ(e.mainLineOffset, 0);
    // Hidden moves were played: what they took is gone from the start position, setup stones too.
    // (AS counts the setup stones too.)
    Load("(;SZ[9]AW[ca]AS[4,1];B[ba];W[aa];B[ab];W[cc];B[dd])");
    EXPECT_EQ(e.board[P("aa")], kEmpty);
    EXPECT_EQ(e.board[P("ab")], kBlack);
    EXPECT_EQ(e.board[P("ca")], kWhite);
    Load("(;SZ[9]AW[aa]AS[4,1];B[ab];W[cc];B[ba];W[dd])");
    EXPECT_EQ(e.board[P("aa")], kEmpty);
    e.GoToEnd();
    EXPECT_EQ(e.board[P("ba")], kBlack);
}

TEST_F(SgfReaderTest, StandardNestingBecomesTheBranchTable) {
    Load("(;GM[1];B[aa](;W[bb])(;W[cc]))");
    EXPECT_EQ(Moves(0), "aa bb");
    ASSERT_EQ(e.branchCount, 1);
    EXPECT_EQ(Moves(1), "cc");
    EXPECT_EQ(e.branchOrigin[1], MakeOrigin(1, 0, 1));

    // Deeper: the continuation of each line is merged into it, the rest numbered depth-first.
    Load("(;GM[1];B[aa];W[bb](;B[cc];W[dd](;B[ee])(;B[ff]))(;B[gg](;W[hh])(;W[ii])))");
    EXPECT_EQ(Moves(0), "aa bb cc dd ee");
    ASSERT_EQ(e.branchCount, 3);
    EXPECT_EQ(Moves(1), "gg hh");
    EXPECT_EQ(e.branchOrigin[1], MakeOrigin(2, 0, 2));
    EXPECT_EQ(Moves(2), "ii");
    EXPECT_EQ(e.branchOrigin[2], MakeOrigin(3, 1, 1));
    EXPECT_EQ(HeaderDepth(e.branchMoves[2][0]), 2);
    EXPECT_EQ(Moves(3), "ff");
    EXPECT_EQ(e.branchOrigin[3], MakeOrigin(4, 0, 4));

    // Line breaks between the closing brackets, as LF-only programs write them.
    Load("(;GM[1];B[aa]\n(;W[bb])\n(;W[cc])\n)");
    EXPECT_EQ(Moves(0), "aa bb");
    EXPECT_EQ(e.branchCount, 1);
}

TEST_F(SgfReaderTest, InlineLayoutKeepsTheLineInItsBranch) {
    // The program's own layout: a variation stands right after the move before the one it replaces.
    Load("(;GM[1];B[aa];W[bb]\r\n(;B[cc];W[dd])\r\n;B[ee];W[ff])");
    EXPECT_EQ(Moves(0), "aa bb ee ff");
    ASSERT_EQ(e.branchCount, 1);
    EXPECT_EQ(Moves(1), "cc dd");
    EXPECT_EQ(e.branchOrigin[1], MakeOrigin(2, 0, 2));
    // Top-level alternatives to the first move.
    Load("(;GM[1](;B[aa];W[bb])(;B[cc]))");
    EXPECT_EQ(Moves(0), "aa bb");
    ASSERT_EQ(e.branchCount, 1);
    EXPECT_EQ(e.branchOrigin[1], MakeOrigin(0, 0, 0));
    // A variation before the line's first node replaces its first move; the line goes on after it.
    Load("(;GM[1](;B[cc]);C[x];B[aa];W[bb])");
    EXPECT_EQ(Moves(0), "aa bb");
    EXPECT_EQ(Comment(0, 0), "x");
    ASSERT_EQ(e.branchCount, 1);
    EXPECT_EQ(Moves(1), "cc");
    EXPECT_EQ(e.branchOrigin[1], MakeOrigin(0, 0, 0));
}

TEST_F(SgfReaderTest, AVariationAfterTheEndOfAVariationContinuesIt) {
    // Not nested in the standard way (something stands between the closing brackets), so read inline; a
    // variation after the last move of a line can only continue it, the main line's too.
    Load("(;GM[1];B[aa];W[bb](;B[cc];W[dd](;B[ee])x)(;B[ff])y)");
    EXPECT_EQ(Moves(0), "aa bb cc dd ee");
    ASSERT_EQ(e.branchCount, 1);
    EXPECT_EQ(Moves(1), "ff");
    EXPECT_EQ(e.branchOrigin[1], MakeOrigin(2, 0, 2));
    // An empty first variation leaves the next one after the end of its line.
    Load("(;GM[1];B[aa](;W[bb])(;W[ee];B[cc](;)(;W[dd])))");
    EXPECT_EQ(Moves(0), "aa bb");
    ASSERT_EQ(e.branchCount, 1);
    EXPECT_EQ(Moves(1), "ee cc dd");
}

TEST_F(SgfReaderTest, AVariationEndsAtItsClosingBracket) {
    // Without a move of its own a variation is empty; it neither takes the next variation's move nor is
    // found again.
    Load("(;GM[1];W[aa](;)(;C[x]) (;B[bb]))");
    EXPECT_EQ(Moves(0), "aa bb");
    EXPECT_EQ(e.branchCount, 0);
    Load("(;GM[1];W[aa];B[cc](;)x(;W[bb])y)");
    EXPECT_EQ(Moves(0), "aa cc bb");
    // Two moves of one colour end a line: the other colour's move is not looked for in the next one.
    Load("(;GM[1];B[aa](;W[bb];W[cc])(;W[dd];B[ee]))");
    EXPECT_EQ(Moves(0), "aa bb");
    ASSERT_EQ(e.branchCount, 1);
    EXPECT_EQ(Moves(1), "dd ee");
}

TEST_F(SgfReaderTest, MovesAreNotTakenFromOtherProperties) {
    Load("(;GM[1];B[aa]LB[bb:A];W[cc]TB[dd]AB[ee];B[ff]C[x])");
    EXPECT_EQ(Moves(0), "aa cc ff");
    EXPECT_EQ(Comment(0, 3), "x");
}

TEST_F(SgfReaderTest, BracketsAndSemicolonsInsideOtherValuesAreText) {
    // A node name or label holding "(", ")" or ";" neither opens a variation nor ends the node: the comment
    // and times after it still belong to the move.
    Load("(;GM[1];B[aa]N[Joseki (a); b]C[one]TL[30,1];W[bb]LB[cc:)]C[two];B[dd])");
    EXPECT_EQ(Moves(0), "aa bb dd");
    EXPECT_EQ(e.branchCount, 0);
    EXPECT_EQ(Comment(0, 1), "one");
    EXPECT_EQ(Comment(0, 2), "two");
    EXPECT_EQ(e.timeUsed[1], 30);
    // Several values of one property, blanks between them, and a comment that is empty.
    Load("(;GM[1];B[aa]AE[bb] [cc]\r\n[dd]C[];W[ee]C[three])");
    EXPECT_EQ(Moves(0), "aa ee");
    EXPECT_EQ(Comment(0, 1), "");
    EXPECT_EQ(Comment(0, 2), "three");
}

TEST_F(SgfReaderTest, CommentsReadFromTheTextAndAddedLaterBothComeBack) {
    Load("(;GM[1];B[aa]C[first];W[bb]C[second])");
    const CommentRef added = e.AppendComment("added");
    EXPECT_EQ(e.CommentText(added), "added");
    EXPECT_EQ(Comment(0, 1), "first");
    EXPECT_EQ(Comment(0, 2), "second");
    ExpectConsistent();
    // A reference reaching past either text gives nothing.
    EXPECT_EQ(e.CommentText(CommentRef{added.offset, added.length + 1}), "");
    EXPECT_EQ(e.CommentText(CommentRef{e.commentPoolBase - 2, 4}), "");
}

TEST_F(SgfReaderTest, PassesAtTheEndOfTheMainLineGoUnlessTheyCarryAComment) {
    Load("(;GM[1];B[aa];W[bb];B[];W[])");
    EXPECT_EQ(e.lineEnd, 2);
    // A comment on a final pass is kept with its pass, and written again; the passes after it still go.
    Load("(;GM[1];B[aa];W[bb];B[]C[Black passes];W[tt]C[Game over];B[])");
    EXPECT_EQ(e.lineEnd, 4);
    EXPECT_EQ(Moves(0), "aa bb tt tt");
    EXPECT_EQ(Comment(0, 4), "Game over");
    const std::string written = WholeRecordText(e);
    EXPECT_NE(written.find("Black passes"), std::string::npos) << written;
    EXPECT_NE(written.find("Game over"), std::string::npos) << written;
}

TEST_F(SgfReaderTest, TimesOfTheMainLine) {
    Load("(;GM[1];B[aa]TL[30,5]BL[600];W[bb]WL[590];B[cc]TL[12 :x])");
    EXPECT_EQ(e.timeUsed[1], 30);
    EXPECT_EQ(e.timeLeft[1], 60000);
    EXPECT_EQ(e.timeLeft[2], 59000);
    EXPECT_EQ(e.timeUsed[3], 12);
    // TL with neither "," nor " :" after it records nothing.
    Load("(;GM[1];B[aa]TL[30];W[bb])");
    EXPECT_EQ(e.timeUsed[1], 0);
}

TEST_F(SgfReaderTest, ByoyomiMovesLeftAreCountedForDisplay) {
    // Five moves per period; black's time goes up at move 5, a new period.
    Load("(;OP[30]OM[5];B[aa]BL[40];W[bb];B[cc]BL[20];W[dd];B[ee]BL[30];W[ff];B[gg]BL[25];W[hh];B[ii]BL[30])");
    EXPECT_EQ(e.timeLeft[3], 2000);
    EXPECT_EQ(e.timeLeft[5], 3000 + 4);  // the period began: 4 moves left after this one
    EXPECT_EQ(e.timeLeft[7], 2500 + 3);
    EXPECT_EQ(e.timeLeft[9], 3000 + 4);
}

TEST_F(SgfReaderTest, TextWithoutNodesLeavesTheRecord) {
    Load("(;GM[1];B[aa];W[bb])");
    LoadRecordText(e, "no record here");
    EXPECT_EQ(messages.Text(), "No data to read");
    EXPECT_EQ(Moves(0), "aa bb");
    // A root without moves is a position of setup stones.
    Load("(;SZ[9]AB[aa][bb]AW[cc])");
    EXPECT_EQ(e.lineEnd, 3);
    EXPECT_EQ(e.baseIndex, 3);
    EXPECT_EQ(e.board[P("cc")], kWhite);
    // Nothing at all: the empty start position.
    Load("(;GM[1])");
    EXPECT_EQ(e.lineEnd, 0);
    EXPECT_EQ(messages.Text(), " MainMoves：0");
}

TEST_F(SgfReaderTest, NormalisationReplacesTheLineBreakCodes) {
    EXPECT_EQ(NormaliseRecordText("(;GC[a___b//c];B[aa]C[x___y])"), "(;C[a\r\nb\r\nc];B[aa]C[x\r\ny])");
    EXPECT_EQ(NormaliseRecordText("(;PC[http://x.org];B[aa])"), "(;PC[http://x.org];B[aa])");
    EXPECT_EQ(NormaliseRecordText("(;B\r\n[aa]C[\r\n\r\nz\r\n])"), "(;B[aa]C[\r\nz])");
    EXPECT_EQ(NormaliseRecordText("(;TB[aa]TW[bb];TB[cc])"), "(;[aa][bb];TB[cc])");
    // Only properties of those names: a longer name keeps its tail.
    EXPECT_EQ(NormaliseRecordText("(;CTB[a]XGC[b]GC[c];B[aa])"), "(;CTB[a]XGC[b]C[c];B[aa])");
    // The node of the setup stones joins the root when it is the first after it; not when it is later.
    EXPECT_EQ(NormaliseRecordText("(;HA[2];AB[dd][pp];W[aa])"), "(;HA[2]AB[dd][pp];W[aa])");
    EXPECT_EQ(NormaliseRecordText("(;HA[2];B[aa];AB[dd])"), "(;HA[2];B[aa];AB[dd])");
}

// The replacements as written: each over the whole text, one after the other.
std::string ReplaceAll(std::string s, const std::string& from, const std::string& to) {
    for (std::size_t p = s.find(from); p != std::string::npos; p = s.find(from, p + to.size())) s.replace(p, from.size(), to);
    return s;
}

// The first property of the name `from` ends in (not the tail of a longer name).
std::string ReplaceFirstName(std::string s, const std::string& from, const std::string& to) {
    std::size_t p = s.find(from);
    while (p != std::string::npos && p > 0 && s[p - 1] >= 'A' && s[p - 1] <= 'Z') p = s.find(from, p + 1);
    return p == std::string::npos ? s : s.replace(p, from.size(), to);
}

std::string LineBreakCodesOneAfterTheOther(std::string s) {
    s = ReplaceAll(s, "___", "\r\n");
    s = ReplaceAll(s, "://", ":\x01");  // addresses keep their "//"
    s = ReplaceAll(s, "//", "\r\n");
    s = ReplaceAll(s, ":\x01", "://");
    s = ReplaceAll(s, "B\r\n[", "B[");
    s = ReplaceAll(s, "W\r\n[", "W[");
    s = ReplaceAll(s, "C[\r\n", "C[");
    s = ReplaceAll(s, "\r\n]", "]");
    s = ReplaceFirstName(s, "GC[", "C[");
    s = ReplaceFirstName(s, "TB[", "[");
    return ReplaceFirstName(s, "TW[", "[");
}

TEST(SgfNormaliseTest, OnePassGivesTheTextOfTheReplacementsOneAfterTheOther) {
    // Random texts over the bytes the replacements look at, long enough for every overlap.
    const char alphabet[] = "_/\r\n[]BWCGT:a";
    std::mt19937 random(20240506);
    for (int round = 0; round < 20000; ++round) {
        std::string text(random() % 40, ' ');
        for (char& c : text) c = alphabet[random() % (sizeof alphabet - 1)];
        if (text.find('\x01') != std::string::npos) continue;
        ASSERT_EQ(sgf::ReplaceLineBreakCodes(text), LineBreakCodesOneAfterTheOther(text)) << text;
    }
}

TEST_F(SgfReaderTest, ResetRecordReadsTheKeptTextAgain) {
    Load("(;PB[b]PC[Tokyo]C[hello];B[aa]C[one](;W[bb])(;W[cc]C[two]))");
    const std::string summary = e.summaryText;
    e.StepForward();
    e.StoreComment("changed");
    ResetRecord(e);
    ExpectConsistent();
    EXPECT_EQ(e.currentIndex, 0);
    EXPECT_EQ(messages.Text(), summary);
    EXPECT_EQ(Comment(0, 1), "one");
    EXPECT_EQ(Comment(1, 1), "two");
    EXPECT_EQ(e.gameComment, "hello");
}

// ---- Limits ----

std::string Point(int k) {
    const char letters[] = "abcdefghijklmnopqrs";
    return std::string{letters[k % 19], letters[(k / 19) % 19]};
}

std::string Node(int k) { return std::string(";") + (k % 2 == 0 ? "B[" : "W[") + Point(k) + "]"; }

TEST_F(SgfReaderTest, BranchesPastTheTableAreDropped) {
    // 200 inline variations after the first move; the table keeps 149 besides the main line.
    std::string text = "(;GM[1]" + Node(0);
    for (int v = 0; v < 200; ++v) text += "(" + Node(1 + v % 300) + "C[v" + std::to_string(v) + "])";
    text += Node(1) + ")";
    Load(text);
    EXPECT_EQ(e.branchCount, kLastBranch);
    EXPECT_EQ(Comment(kLastBranch, 1), "v148");
    EXPECT_EQ(e.BranchLength(0), 2);
    // The load says once what the windows do not show.
    EXPECT_EQ(e.unshownVariations, 51);
    EXPECT_NE(messages.Text().find(UnshownNotice(0, 51)), std::string::npos) << messages.Text();
    // A save writes them back where they stood, as read.
    const std::string saved = WholeRecordText(e);
    for (int v = 149; v < 200; ++v) EXPECT_NE(saved.find("C[v" + std::to_string(v) + "]"), std::string::npos) << v;

    // The last variation the table holds has variations of its first move beside it (groups before its
    // move's node), which it cannot hold: they go with the main line's move, as read.
    text = "(;GM[1]" + Node(0);
    for (int v = 0; v < 148; ++v) text += "(" + Node(1 + v) + ")";
    text += "(;C[v](;W[aa]C[beside a])(;W[bb]C[beside b]);W[cc])" + Node(1) + ")";
    Load(text);
    EXPECT_EQ(e.branchCount, kLastBranch);
    EXPECT_NE(WholeRecordText(e).find("(;W[aa]C[beside a])(;W[bb]C[beside b])"), std::string::npos);
}

TEST_F(SgfReaderTest, MovesPastTheLineAreDropped) {
    std::string text = "(;AB[aa][bb]";
    for (int k = 0; k < 600; ++k) text += Node(k) + "C[" + std::to_string(k) + "]";
    text += ")";
    Load(text);
    EXPECT_EQ(e.setupCount, 2);
    EXPECT_EQ(e.BranchLength(0), kMaxLineEntries - 2);
    EXPECT_EQ(Comment(0, kMaxLineEntries - 2), std::to_string(kMaxLineEntries - 3));
    EXPECT_EQ(e.unshownMoves, 600 - (kMaxLineEntries - 2));
    EXPECT_NE(messages.Text().find(UnshownNotice(600 - (kMaxLineEntries - 2), 0)), std::string::npos);
}

std::string Repeat(const std::string& s, int times) {
    std::string out;
    for (int k = 0; k < times; ++k) out += s;
    return out;
}

TEST_F(SgfReaderTest, DeepNestingIsReadWithoutRecursion) {
    // Every move in a variation of its own, as some servers write games, far deeper than the table.
    std::string text = "(;GM[1]";
    const int depth = 20000;
    for (int k = 0; k < depth; ++k) text += "(" + Node(k);
    text += std::string(depth, ')') + ")";
    Load(text);
    // Each variation is its node's only child, so the game is one line, kept up to the entry limit.
    EXPECT_EQ(e.BranchLength(0), kMaxLineEntries);
    EXPECT_EQ(e.branchCount, 0);

    // A game nested move by move with a variation at every other move, as servers with analysis write
    // them: the whole line and as many variations as the table holds, each where it belongs.
    std::string tree;
    for (int k = 299; k >= 0; --k) tree = "(" + Node(k) + tree + (k % 2 == 0 && k < 299 ? "(;W[ss])" : "") + ")";
    Load("(;GM[1]" + tree + ")");
    EXPECT_EQ(e.BranchLength(0), 300);
    EXPECT_EQ(e.branchCount, kLastBranch);
    EXPECT_EQ(e.branchOrigin[1], MakeOrigin(1, 0, 1));
    EXPECT_EQ(e.branchOrigin[2], MakeOrigin(3, 0, 3));
    EXPECT_EQ(CheckBranchTable(e), "");

    // A variation whose line goes on through thousands of groups after nodes without a move, in a record
    // the normalisation leaves nested (a node after a variation): one variation of one move.
    Load("(;GM[1];B[aa]" + Repeat("(;C[x]", 20000) + "(;W[bb])" + std::string(20000, ')') + ";W[cc])");
    EXPECT_EQ(Moves(0), "aa cc");
    ASSERT_EQ(e.branchCount, 1);
    EXPECT_EQ(Moves(1), "bb");
    // Every node without a move says its comment before the variation's move, none lost.
    const std::string said = Comment(1, 0);
    EXPECT_EQ(said.size(), 20000 * 3 - 2);
    EXPECT_EQ(said.substr(0, 7), "x\r\nx\r\nx");
}

TEST_F(SgfReaderTest, NestedMergeStaysInsideTheLine) {
    // A long continuation whose merged line would pass 499 entries: the excess and the branches that start
    // in it are dropped.
    std::string text = "(;GM[1]";
    for (int k = 0; k < 300; ++k) text += Node(k);
    text += "(";
    for (int k = 300; k < 600; ++k) text += Node(k);
    text += "(;B[aa])(;B[bb]))(;W[cc]))";
    Load(text);
    EXPECT_EQ(e.BranchLength(0), kMaxLineEntries);
    ASSERT_EQ(e.branchCount, 1);
    EXPECT_EQ(Moves(1), "cc");
}

}  // namespace
}  // namespace quorvel::test
