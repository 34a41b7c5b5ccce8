// Diagram text written from the secondary board and read back, hostile diagram texts, and the chat log
// model that keeps board comments with their numbered diagrams.
#include "auxiliary/chat_log.h"
#include "auxiliary/diagram_text.h"
#include "auxiliary/net_game_log.h"
#include "engine_fixture.h"
#include "formats/sgf_reader.h"

namespace quorvel::test {
namespace {

const std::string kBlanks(15, ' ');

class DiagramTextTest : public EngineTest {
protected:
    SecondaryBoard s;

    PointCode S(const char* letters) const { return MakePoint(letters[0] - 'a' + 1, letters[1] - 'a' + 1); }

    // The secondary board opened for a board comment on a record's start position.
    void OpenOn(const std::string& sgf) {
        ASSERT_TRUE(LoadRecordText(e, sgf));
        OpenForCreation(s, e);
    }

    // Stones and visible marks, row by row: "X", "O", "." and the mark codes after a "/".
    static std::string Picture(const SecondaryBoard& b) {
        std::string out = std::to_string(b.boardSize) + (b.blackFirst ? "B" : "W") + "\n";
        for (int row = 1; row <= b.boardSize; ++row) {
            for (int col = 1; col <= b.boardSize; ++col) {
                const PointCode p = MakePoint(col, row);
                out += b.subBoard[p] == kBlack ? 'X' : b.subBoard[p] == kWhite ? 'O' : '.';
                if (b.marks[p] != 0 && MarkColour(b.marks[p]) == b.subBoard[p]) out += "/" + std::to_string(MarkKind(b.marks[p]));
            }
            out += '\n';
        }
        return out;
    }
};

TEST_F(DiagramTextTest, WrittenInTheOrderOfItsPartsWithEveryMark) {
    OpenOn("(;SZ[9]AB[gc][cc]AW[cg]SQ[cc]TR[cg]MA[ee]LB[dd:B])");
    ASSERT_TRUE(PlaySecondaryMove(s, S("ee")));  // covers the cross, which was set on an empty point
    ASSERT_TRUE(PassOnSecondary(s));
    ASSERT_TRUE(PlaySecondaryMove(s, S("dg")));
    const std::string text = DiagramText(s);
    EXPECT_EQ(text, "<<DiaData=SZ[9]AB[cc][gc]AW[cg]\r\nSQ[cc]\r\nTR[cg]\r\nMA[ee]\r\nLB[dd:B];B[ee];W[tt];B[dg]>>\r\n");

    SecondaryBoard back;
    ShowDiagram(back, ReadDiagramText(text, back.boardSize, false));
    EXPECT_EQ(Picture(back), Picture(s));
    EXPECT_EQ(back.setupCount, 3);
    EXPECT_EQ(back.shownEntry, 6);
    EXPECT_EQ(back.stoneList[5], 0);  // the pass
    EXPECT_EQ(DiagramText(back), text);
    // Through the clipboard, as the secondary board's "クリップボード" reads it: with "(;" in front.
    SecondaryBoard pasted;
    std::string message;
    ASSERT_TRUE(LoadClipboardDiagram(pasted, "(;" + text, message));
    EXPECT_EQ(Picture(pasted), Picture(s));
    EXPECT_EQ(DiagramText(pasted), text);
}

TEST_F(DiagramTextTest, AMarkOnASetupStoneALaterMoveTakesReadsBack) {
    // White's marked stone in the corner is taken by Black's second move; the square on Black's setup stone
    // and the label on an empty point stay in sight.
    OpenOn("(;SZ[9]AB[ba]AW[aa][ee]TR[aa]SQ[ba]LB[cc:C])");
    ASSERT_TRUE(PlaySecondaryMove(s, S("gg")));
    ASSERT_TRUE(PlaySecondaryMove(s, S("hh")));
    ASSERT_TRUE(PlaySecondaryMove(s, S("ab")));
    ASSERT_EQ(s.subBoard[S("aa")], kEmpty);
    const std::string text = DiagramText(s);
    EXPECT_NE(text.find("\r\nTR[aa]"), std::string::npos) << text;

    for (const bool fromClipboard : {false, true}) {
        SecondaryBoard back;
        std::string message;
        if (fromClipboard) {
            ASSERT_TRUE(LoadClipboardDiagram(back, "(;" + text, message));
        } else {
            ShowDiagram(back, ReadDiagramText(text, back.boardSize, false));
        }
        EXPECT_EQ(back.blackFirst, s.blackFirst);
        EXPECT_EQ(back.setupCount, s.setupCount);
        EXPECT_EQ(back.shownEntry, s.shownEntry);
        // The same setup stones (the text lists them by colour), then the same moves in order.
        const auto setup = [](const SecondaryBoard& b) {
            std::vector<std::pair<PointCode, int>> stones;
            for (int k = 1; k <= b.setupCount; ++k) {
                stones.emplace_back(b.stoneList[static_cast<std::size_t>(k)], b.stoneCodes[static_cast<std::size_t>(k)]);
            }
            std::sort(stones.begin(), stones.end());
            return stones;
        };
        EXPECT_EQ(setup(back), setup(s));
        for (int k = s.setupCount + 1; k <= s.shownEntry; ++k) {
            EXPECT_EQ(back.stoneList[static_cast<std::size_t>(k)], s.stoneList[static_cast<std::size_t>(k)]) << k;
        }
        for (const char* p : {"aa", "ba", "cc"}) EXPECT_EQ(back.marks[S(p)], s.marks[S(p)]) << p;
        EXPECT_EQ(std::count_if(back.marks.begin(), back.marks.end(), [](int m) { return m != 0; }), 3);
        EXPECT_EQ(DiagramText(back), text);
        // Taken back to the setup, the triangle is seen on its stone again.
        back.shownEntry = back.setupCount;
        RebuildSecondaryBoard(back);
        EXPECT_EQ(MarkColour(back.marks[S("aa")]), back.subBoard[S("aa")]);
    }
}

TEST_F(DiagramTextTest, FirstColourAndSetupListsAppearOnlyWhenThere) {
    OpenOn("(;SZ[19]AW[pd][dp])");
    SetSecondaryBlackFirst(s, false);
    ASSERT_TRUE(PlaySecondaryMove(s, S("qf")));
    EXPECT_EQ(DiagramText(s), "<<DiaData=SZ[19]/<SiroSaki>/AW[dp][pd];W[qf]>>\r\n");
    OpenOn("(;SZ[13];B[dd])");
    ASSERT_TRUE(PlaySecondaryMove(s, S("jj")));
    EXPECT_EQ(DiagramText(s), "<<DiaData=SZ[13];B[jj]>>\r\n");
    const DiagramData d = ReadDiagramText("(;" + DiagramText(s), 19, true);
    EXPECT_TRUE(d.setup.empty());
    ASSERT_EQ(d.moves.size(), 1u);
    EXPECT_EQ(d.boardSize, 13);
}

TEST_F(DiagramTextTest, TheSecondaryBoardLoadsFromTheClipboardAndTheLogWindow) {
    OpenOn("(;SZ[19]AB[dd])");
    const std::string before = Picture(s);
    std::string message;
    EXPECT_FALSE(LoadClipboardDiagram(s, "SZ[9]AB[aa]", message));
    EXPECT_EQ(message, kNoClipboardDiagram);
    EXPECT_FALSE(LoadChatBoard(s, "SZ[9]", message));
    EXPECT_EQ(message, kNoChatBoardStones);
    EXPECT_EQ(Picture(s), before);

    // White first, a capture among the moves: the end of the sequence is shown.
    ASSERT_TRUE(LoadClipboardDiagram(s, "(;SZ[9]/<SiroSaki>/AB[ba]AW[aa];W[ca];B[ab];W[ii])", message));
    EXPECT_EQ(s.boardSize, 9);
    EXPECT_FALSE(s.blackFirst);
    EXPECT_EQ(s.subBoard[S("aa")], kEmpty);  // taken by B[ab]
    EXPECT_EQ(s.subBoard[S("ca")], kWhite);
    EXPECT_EQ(s.shownEntry - s.setupCount, 3);
    ASSERT_TRUE(LoadChatBoard(s, "SZ[13]AB[cc]\r\nCR[cc];B[dd]", message));
    EXPECT_EQ(s.boardSize, 13);
    EXPECT_EQ(MarkKind(s.marks[S("cc")]), 3);
    EXPECT_EQ(MarkColour(s.marks[S("cc")]), kBlack);  // bound to the setup stone under it
}

TEST_F(DiagramTextTest, HostileDiagramTextsAreReadWithinTheBoardAndTheList) {
    // Letters off the board, an unknown label, a size that is no board size.
    DiagramData d = ReadDiagramText("(;SZ[19]AB[az][zz][aa]LB[dd:Z][ee:A];B[aa]", 19, true);
    ASSERT_EQ(d.setup.size(), 1u);
    EXPECT_TRUE(d.marks.empty());  // the run of labels ends at the unknown one
    ASSERT_EQ(d.moves.size(), 1u);
    d = ReadDiagramText("SZ[12]AB[ll][aa]", 9, false);
    EXPECT_EQ(d.boardSize, 0);
    EXPECT_EQ(d.setup.size(), 1u);  // "ll" lies off 9 lines
    // One stone a point, and no more entries than the list holds.
    std::string many = "SZ[19]AB[aa][aa][bb]AW[aa][bb][cc]";
    for (int k = 0; k < 700; ++k) many += ";B[" + std::string(1, static_cast<char>('a' + k % 19)) + "s]";
    d = ReadDiagramText(many, 19, false);
    EXPECT_EQ(d.setup.size(), 3u);
    EXPECT_EQ(static_cast<int>(d.setup.size() + d.moves.size()), kStoneListEntries);
    ShowDiagram(s, d);
    EXPECT_EQ(s.shownEntry, kStoneListEntries);
    // Groups cut short anywhere.
    for (const char* text : {"AB[", "AB[a", "SQ[aa", "LB[aa:", ";", ";B[", "SZ[", "SZ[19", "(;SZ[19]AB[aa]AW"}) {
        d = ReadDiagramText(text, 19, false);
        ShowDiagram(s, d);
    }
}

// ---- The chat log ----

TEST(ChatLog, BoardCommentsGetConsecutiveNumbersAndTheirOwnEntries) {
    ChatLog log;
    EXPECT_EQ(AddBoardComment(log, 12, "", "<<DiaData=SZ[19];B[aa]>>\r\n"), 0);
    EXPECT_TRUE(log.logText.empty());
    EXPECT_EQ(AddBoardComment(log, 12, "first >> x", "<<DiaData=SZ[19];B[aa]>>\r\n"), 1);
    EXPECT_EQ(AddBoardComment(log, 30, "second", "<<DiaData=SZ[9]AB[cc]>>\r\n"), 2);
    EXPECT_EQ(log.logText, "{棋譜ログ}\r\n" + kBlanks + "\r\n[ 12 ]：first ＞＞ x\r\n{ 碁盤 1 }\r\n" + kBlanks +
                               "\r\n[ 30 ]：second\r\n{ 碁盤 2 }\r\n" + kBlanks + "\r\n");
    EXPECT_EQ(log.diagramStore, "{1}<<DiaData=SZ[19];B[aa]>>\r\n{2}<<DiaData=SZ[9]AB[cc]>>\r\n");
    EXPECT_TRUE(log.present);
    EXPECT_EQ(StoredDiagram(log, 2), "SZ[9]AB[cc]");
    EXPECT_EQ(StoredDiagram(log, 3), "");
    // Numbers are never reused.
    EXPECT_TRUE(RemoveStoredDiagram(log, 1));
    EXPECT_FALSE(RemoveStoredDiagram(log, 1));
    EXPECT_EQ(AddBoardComment(log, 31, "third", "<<DiaData=SZ[9]>>\r\n"), 3);
    EXPECT_EQ(log.diagramStore, "{2}<<DiaData=SZ[9]AB[cc]>>\r\n{3}<<DiaData=SZ[9]>>\r\n");
}

TEST(ChatLog, CommentLinesCannotForgeTheLogsStructure) {
    EXPECT_EQ(NeutraliseComment("a >> b\r\n[ 3 ]：fake\r\n{ 碁盤 9 }\r\n\r\n     x\r\n{9}<<DiaData=\r\n"),
              "a ＞＞ b\r\n　[ 3 ]：fake\r\n｛ 碁盤 9 }\r\n　\r\n　     x\r\n　{9}<<DiaData=");
    EXPECT_EQ(NeutraliseComment("---碁盤データ---"), "－－－碁盤データ－－－");
    // "{" as the second byte of 本 is no reference: the kanji stays whole.
    EXPECT_EQ(NeutraliseComment("日本 碁盤の見方 >> x"), "日本 碁盤の見方 ＞＞ x");
}

TEST(ChatLog, TheChatFileReadsBackAndEditsReplaceTheirEntries) {
    ChatLog log;
    AddBoardComment(log, 12, "first", "<<DiaData=SZ[19];B[aa]>>\r\n");
    AddBoardComment(log, 30, "second", "<<DiaData=SZ[9]AB[cc]>>\r\n");
    const std::string file = ChatFileText(log);
    const std::string head = "Oskelt - Oskelt - チャットログ\r\n\r\n";
    EXPECT_EQ(file.substr(0, head.size()), head);
    ChatLog back = ChatLogFromFileText(file);
    EXPECT_EQ(back.logText, log.logText);
    EXPECT_EQ(back.diagramCounter, 2);
    EXPECT_EQ(StoredDiagram(back, 1), "SZ[19];B[aa]");
    EXPECT_EQ(ChatFileText(back), file);  // the store's extra line break goes again on writing
    // A log without diagrams has no marker.
    ChatLog plain = ChatLogFromFileText("Oskelt\r\n\r\n{棋譜ログ}\r\n" + kBlanks + "\r\n[ 5 ]：hi\r\n" + kBlanks + "\r\n");
    EXPECT_EQ(plain.diagramCounter, 0);
    EXPECT_EQ(ChatFileText(plain).find("---碁盤データ---"), std::string::npos);

    // The second entry edited: its diagram keeps its number and its store line is renewed.
    const std::size_t second = log.logText.find("[ 30 ]");
    const std::size_t end = log.logText.find("\r\n" + kBlanks + "\r\n", second) + 19;
    ASSERT_TRUE(EditLogComment(log, second, end - second, 2, "[ 30 ]：changed", "<<DiaData=SZ[9]AB[dd]>>\r\n"));
    EXPECT_EQ(log.logText.substr(second), "[ 30 ]：changed\r\n{ 碁盤 2 }\r\n" + kBlanks + "\r\n");
    EXPECT_EQ(StoredDiagram(log, 2), "SZ[9]AB[dd]");
    EXPECT_EQ(log.diagramCounter, 2);
    // A new comment after the first separator, without a diagram.
    const std::size_t separator = log.logText.find(kBlanks);
    ASSERT_TRUE(EditLogComment(log, separator, 0, 0, "new one", ""));
    EXPECT_EQ(log.logText.substr(separator + 17, 22), "[ Zarn5 ]：new one\r\n" + kBlanks.substr(0, 2));
    EXPECT_FALSE(EditLogComment(log, separator, 0, 0, "", ""));
}

TEST_F(DiagramTextTest, DiagramsWithMarksLeaveNothingBehindWhenDeletedOrEdited) {
    OpenOn("(;SZ[9]AB[cc]AW[gg]SQ[cc]CR[gg]LB[ee:A])");
    ASSERT_TRUE(PlaySecondaryMove(s, S("dd")));
    const std::string marked = DiagramText(s);
    ASSERT_NE(marked.find("\r\nCR[gg]"), std::string::npos);
    const std::string plain = "<<DiaData=SZ[9];B[ee]>>\r\n";
    ChatLog log;
    AddBoardComment(log, 1, "marked", marked);
    AddBoardComment(log, 2, "plain", plain);
    AddBoardComment(log, 3, "marked again", marked);
    EXPECT_EQ(StoredDiagram(log, 3), marked.substr(10, marked.size() - 14));

    // Deleting the first entry takes all the lines of its diagram.
    DeleteLogEntry(log, SelectLogEntry(log.logText, log.logText.find("marked")));
    EXPECT_EQ(log.diagramStore, "{2}" + plain + "{3}" + marked);
    // Editing the third with a diagram of other marks renews every line of it.
    OpenOn("(;SZ[9]AB[bb]TR[bb])");
    const std::string other = DiagramText(s);
    const std::size_t third = log.logText.find("[ 3 ]");
    const std::size_t end = log.logText.find("\r\n" + kBlanks + "\r\n", third) + 19;
    ASSERT_TRUE(EditLogComment(log, third, end - third, 3, "[ 3 ]：edited", other));
    EXPECT_EQ(log.diagramStore, "{2}" + plain + "{3}" + other);
    // Without a diagram any more: the edit removes it whole.
    const std::size_t again = log.logText.find("[ 3 ]");
    const std::size_t againEnd = log.logText.find("\r\n" + kBlanks + "\r\n", again) + 19;
    ASSERT_TRUE(EditLogComment(log, again, againEnd - again, 3, "[ 3 ]：no board", ""));
    EXPECT_EQ(log.diagramStore, "{2}" + plain);
    // The file written now reads back to the same store.
    EXPECT_EQ(ChatLogFromFileText(ChatFileText(log)).diagramStore, log.diagramStore + "\r\n");
    // A store line that never closes goes to its line end only: the next diagram stays.
    log.diagramStore = "{5}<<DiaData=SZ[9]AB[cc]\r\n{6}" + plain;
    EXPECT_TRUE(RemoveStoredDiagram(log, 5));
    EXPECT_EQ(log.diagramStore, "{6}" + plain);
}

}  // namespace
}  // namespace quorvel::test
