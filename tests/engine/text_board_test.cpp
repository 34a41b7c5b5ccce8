// Text boards out and in: the diagrams against golden files (Shift-JIS, CR LF) and against an independent
// reading of the record, footnotes for kos and passes, the range board, and the text-board reader on its
// own output, on corner diagrams and on hostile text.
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "engine_fixture.h"
#include "formats/sgf_reader.h"
#include "formats/text_board.h"
#include "formats/text_board_reader.h"
#include "platform/file_io.h"
#include "sgf_oracle.h"

namespace quorvel::test {
namespace {

namespace fs = std::filesystem;

const fs::path kGoldenDir = fs::path(QUORVEL_TEST_DATA) / "text_board";

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Compares with a golden file; QUORVEL_WRITE_GOLDEN=1 writes the file instead (to be read and checked by
// hand before it is committed).
void ExpectGolden(const std::string& text, const std::string& name) {
    const fs::path path = kGoldenDir / name;
    if (std::getenv("QUORVEL_WRITE_GOLDEN")) {
        fs::create_directories(kGoldenDir);
        std::ofstream(path, std::ios::binary) << text;
    }
    EXPECT_EQ(text, ReadBytes(path)) << name;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t end = text.find("\r\n", at);
        lines.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
        if (end == std::string::npos) break;
        at = end + 2;
    }
    return lines;
}

const char* const kHeader19 = "**ＡＢＣＤＥＦＧＨＪＫＬＭＮＯＰＱＲＳＴ**";

class TextBoardTest : public EngineTest {
protected:
    MemoryClipboard clipboard;

    void Load(const std::string& sgf) {
        e.SetClipboard(clipboard);
        ASSERT_TRUE(LoadRecordText(e, sgf));
    }
    void LoadFile(const std::string& name) {
        std::string bytes;
        std::string error;
        ASSERT_TRUE(ReadWholeFile((fs::path(QUORVEL_TEST_DATA) / "corpus" / name).string(), bytes, error)) << error;
        Load(bytes);
    }
    void StepTo(int move) {
        while (e.currentIndex - e.baseIndex < move && e.currentIndex < e.lineEnd) e.StepForward();
    }
};

TEST_F(TextBoardTest, EmptyBoardIsHeaderRowsHeaderAndTheClosingLine) {
    e.SetClipboard(clipboard);
    WriteTextBoard(e);
    const std::vector<std::string> lines = Lines(messages.Text());
    ASSERT_EQ(lines.size(), 23u);  // header, 19 rows, header, empty line, closing
    EXPECT_EQ(lines[0], kHeader19);
    EXPECT_EQ(lines[1], "19┌┬┬┬┬┬┬┬┬┬┬┬┬┬┬┬┬┬┐19");
    EXPECT_EQ(lines[4], "16├┼┼・┼┼┼┼┼・┼┼┼┼┼・┼┼┤16");
    EXPECT_EQ(lines[19], "01└┴┴┴┴┴┴┴┴┴┴┴┴┴┴┴┴┴┘01");
    EXPECT_EQ(lines[20], kHeader19);
    EXPECT_EQ(lines[21], "");
    EXPECT_EQ(lines[22], kTextBoardClosing);
    EXPECT_EQ(clipboard.Text(), messages.Text());
}

TEST_F(TextBoardTest, SmallBoardsHaveTheirHeadersStarsAndLabels) {
    struct Case {
        int size;
        const char* header;
        const char* starRow;  // the first row with a star point
        int starRowIndex;
    };
    const Case cases[] = {
        {13, "**ＡＢＣＤＥＦＧＨＪＫＬＭＮ**", "10├┼┼・┼┼┼┼┼・┼┼┤10", 4},
        {9, "**ＡＢＣＤＥＦＧＨＪ**", "07├┼・┼┼┼・┼┤07", 3},
        {7, "**ＡＢＣＤＥＦＧ**", "04├┼┼・┼┼┤04", 4},
        {6, "**ＡＢＣＤＥＦ**", "04├┼┼┼┼┤04", 3},
    };
    for (const Case& c : cases) {
        e.ChangeBoardSize(c.size);
        const std::vector<std::string> lines = Lines(TextBoardText(e));
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(c.size + 4)) << c.size;
        EXPECT_EQ(lines[0], c.header);
        EXPECT_EQ(lines[static_cast<std::size_t>(c.starRowIndex)], c.starRow) << c.size;
        EXPECT_EQ(lines[static_cast<std::size_t>(c.size)].substr(0, 2), "01");
    }
}

TEST_F(TextBoardTest, CoordinateStylesChangeTheHeaderAndTheRowLabels) {
    ASSERT_TRUE(SetCoordinateSystem(e.settings, "1-1"));
    std::vector<std::string> lines = Lines(TextBoardText(e));
    EXPECT_EQ(lines[0], "**１２３４５６７８９10111213141516171819**");
    EXPECT_EQ(lines[1].substr(0, 2), "１");
    EXPECT_EQ(lines[19].substr(lines[19].size() - 2), "19");
    ASSERT_TRUE(SetCoordinateSystem(e.settings, "A(I)-19"));
    lines = Lines(TextBoardText(e));
    EXPECT_EQ(lines[0], "**ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳ**");
    EXPECT_EQ(lines[1].substr(0, 2), "19");
}

// The AlphaGo game to move 150: two diagrams of 99 and 51 moves.
TEST_F(TextBoardTest, HundredFiftyMovesMakeTwoDiagramsAsTheGoldenFiles) {
    LoadFile("katrain-alphago-lee-long-commentary.sgf");
    StepTo(150);
    ExpectGolden(TextBoardText(e), "alphago_150.txt");
    e.settings.textUseColor = true;
    e.settings.textAddPre = true;
    ExpectGolden(TextBoardText(e), "alphago_150_colour_pre.txt");
    e.settings.textUseColor = false;
    e.settings.textAddPre = false;
    e.settings.textUseNew = true;
    const std::string renumbered = TextBoardText(e);
    EXPECT_NE(renumbered.find("Board <2> (100-150)"), std::string::npos);
    // Move 150 is the 51st of the second diagram.
    EXPECT_NE(renumbered.find("51"), std::string::npos);
}

// Every number of the golden diagrams names the move the record plays on that point, in the colour of its
// font tag, read with the tests' own SGF reader.
TEST_F(TextBoardTest, GoldenNumbersAreTheRecordsMovesByAnIndependentReading) {
    std::string bytes;
    std::string error;
    ASSERT_TRUE(ReadWholeFile((fs::path(QUORVEL_TEST_DATA) / "corpus" / "katrain-alphago-lee-long-commentary.sgf").string(),
                              bytes, error));
    const std::optional<oracle::Record> record = oracle::ReadRecord(bytes);
    ASSERT_TRUE(record);
    const std::vector<std::string> lines = Lines(ReadBytes(kGoldenDir / "alphago_150_colour_pre.txt"));
    int diagram = 0;
    int row = 0;
    int numbers = 0;
    for (const std::string& line : lines) {
        if (line.compare(0, 7, "Board <") == 0) {
            ++diagram;
            row = 0;
            continue;
        }
        if (diagram == 0 || line.size() < 4 || !std::isdigit(static_cast<unsigned char>(line[0]))) continue;
        ++row;
        // Cells after the two-byte label; a number cell may stand in a font tag.
        std::size_t at = 2;
        for (int col = 1; col <= 19; ++col) {
            bool tagged = line.compare(at, 12, "<font color=") == 0;
            bool black = false;
            if (tagged) {
                black = line.compare(at + 12, 5, "blue>") == 0;
                at = line.find('>', at) + 1;
            }
            const std::string cell = line.substr(at, 2);
            at += 2;
            if (tagged) {
                at = line.find("</font>", at) + 7;
                const int shown = DecodeBoardCell(cell.c_str());
                const int n = cell == "０" ? 0 : shown;
                const int move = (diagram - 1) * 99 + ((n - (diagram - 1) * 99) % 100 + 100) % 100;
                const int k = move == 0 ? 100 : move;
                ASSERT_LE(k, static_cast<int>(record->main.moves.size()));
                const oracle::Move& m = record->main.moves[static_cast<std::size_t>(k - 1)];
                EXPECT_EQ(m.point, MakePoint(col, row)) << "move " << k;
                EXPECT_EQ(m.black, black) << "move " << k;
                ++numbers;
            }
        }
    }
    EXPECT_EQ(diagram, 2);
    EXPECT_EQ(numbers, 150);  // no move of these 150 needs a footnote
}

// A ko taken back and forth: the retaking moves show no number, only a footnote.
TEST_F(TextBoardTest, KoRecapturesAreFootnoted) {
    Load("(;SZ[9]AB[cb][bc][cd]AW[db][cc][ec][dd];B[dc];W[ha];B[hb];W[cc];B[hc];W[hd];B[dc])");
    e.GoToEnd();
    const std::vector<std::string> lines = Lines(TextBoardText(e));
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[0], "Board <1> (1-7)");
    EXPECT_EQ(lines[1], "**ＡＢＣＤＥＦＧＨＪ**");
    EXPECT_EQ(lines[2], "09┌┬┬┬┬┬┬２┐09");
    EXPECT_EQ(lines[3], "08├┼●○┼┼┼３┤08");
    // C7 keeps the white stone it started with, D7 the first move there.
    EXPECT_EQ(lines[4], "07├●○１○┼・５┤07");
    EXPECT_EQ(lines[5], "06├┼●○┼┼┼６┤06");
    EXPECT_EQ(lines[13], " [４==C7] [７==D7]");
    EXPECT_EQ(lines[15], kTextBoardClosing);
}

TEST_F(TextBoardTest, PassesAreFootnotedInAsciiDigitsWithTheNumbersOfTheGrid) {
    Load("(;SZ[9];B[ee];W[];B[dd];W[ff];B[tt];W[gg])");
    e.GoToEnd();
    std::string text = TextBoardText(e);
    EXPECT_NE(text.find("\r\n [2 パス] [5 パス]\r\n"), std::string::npos) << text;
    e.settings.textBMoves = 3;
    text = TextBoardText(e);
    EXPECT_NE(text.find("Board <2> (4-6)"), std::string::npos);
    // Without TextUseNew the grid's numbers run on through the diagrams, so the pass keeps its 5: the second
    // move of diagram 2 would read as move 2, which the first diagram shows.
    EXPECT_NE(text.find(" [5 パス]\r\n\r\nText GoBoard"), std::string::npos) << text;
    e.settings.textUseNew = true;
    text = TextBoardText(e);
    // Counted within the diagram: the second move of diagram 2.
    EXPECT_NE(text.find(" [2 パス]\r\n\r\nText GoBoard"), std::string::npos) << text;
    // Beyond 9 the number has two digits as everywhere else.
    e.settings.textBMoves = 99;
    Load("(;SZ[9];B[aa];W[cc];B[ae];W[ce];B[ag];W[cg];B[ai];W[ci];B[ea];W[ga];B[];W[gi])");
    e.GoToEnd();
    text = TextBoardText(e);
    EXPECT_NE(text.find("\r\n [11 パス]\r\n"), std::string::npos) << text;
}

// AS hides the first moves as background; in a text board they are moves like the others, shown once.
TEST_F(TextBoardTest, MovesHiddenByAsAreNumberedOnceAndNotDrawnAsStones) {
    Load("(;SZ[9]AS[4,1]AB[aa];B[ee];W[dd];B[cc];W[gg])");
    ASSERT_EQ(e.mainLineOffset, 3);
    const std::string text = TextBoardText(e);
    EXPECT_NE(text.find("Board <1> (1-3)"), std::string::npos) << text;
    EXPECT_EQ(text.find(" ["), std::string::npos) << text;  // no footnote
    EXPECT_NE(text.find("09●┬┬"), std::string::npos);       // the AB stone
    EXPECT_NE(text.find("07├┼３"), std::string::npos) << text;
    EXPECT_EQ(text.find("○"), std::string::npos) << text;
}

// In a variation the diagrams start at the line's first move too, and reach the position shown.
TEST_F(TextBoardTest, AVariationIsWrittenFromTheFirstMoveToThePositionShown) {
    Load("(;SZ[9];B[ee];W[dd](;B[cc];W[gg])(;B[gc];W[cg]))");
    e.StepForward();
    e.StepForward();
    e.settings.textBMoves = 3;
    ASSERT_TRUE(e.FollowHint(2));
    e.StepForward();
    ASSERT_EQ(e.currentIndex, 4);
    const std::string text = TextBoardText(e);
    EXPECT_NE(text.find("Board <1> (1-3)"), std::string::npos) << text;
    EXPECT_NE(text.find("Board <2> (4-4)"), std::string::npos) << text;
    EXPECT_NE(text.find("03├┼４"), std::string::npos) << text;  // W C3 of the variation
}

TEST_F(TextBoardTest, CreationModeWritesTheSetupStonesAndTheMovesBuilt) {
    e.ChangeBoardSize(9);
    e.SwitchToCreationMode();
    e.SetInputMode(3);
    ASSERT_TRUE(e.SetupStoneClick(P("cc"), kWhite));
    ASSERT_TRUE(e.SetupStoneClick(P("gg"), kBlack));
    e.SetInputMode(1);
    ASSERT_TRUE(Play("ee"));
    ASSERT_TRUE(Play("dd"));
    const std::string text = TextBoardText(e);
    EXPECT_NE(text.find("Board <1> (1-2)"), std::string::npos) << text;
    EXPECT_NE(text.find("07├┼○┼┼┼・┼┤07"), std::string::npos) << text;
    EXPECT_NE(text.find("06├┼┼２┼┼┼┼┤06"), std::string::npos) << text;
    EXPECT_NE(text.find("03├┼・┼┼┼●┼┤03"), std::string::npos) << text;
}

// Setup stones stand as placed, even without a liberty, as the board shows them (found by fuzzing: the
// text board of such a position lost stones).
TEST_F(TextBoardTest, SetupStonesWithoutLibertiesStayOnTheBoard) {
    Load("(;SZ[9]AB[aa]AW[ba][ab];B[ee])");
    e.GoToEnd();
    const std::vector<std::string> lines = Lines(TextBoardText(e));
    EXPECT_EQ(lines[2], "09●○┬┬┬┬┬┬┐09");
    EXPECT_EQ(lines[3], "08○┼┼┼┼┼┼┼┤08");
}

TEST_F(TextBoardTest, EveryMarkKindHasItsStoneGlyph) {
    Load("(;SZ[9]AB[aa][ba][ca][da][ea][fa][ga][ha]AW[ab][bb][cb][db][eb][fb][gb][hb]"
         "SQ[ba][bb]ST[ca][cb]CR[da][db]RT[ea][eb]TR[fa][fb]LO[ga][gb]MA[ha]LB[hb:A])");
    ExpectGolden(TextBoardText(e), "marks_9.txt");
    const std::vector<std::string> lines = Lines(TextBoardText(e));
    EXPECT_EQ(lines[1], "09●■★●▼▲◆●┐09");
    EXPECT_EQ(lines[2], "08○□☆◎▽△◇○┤08");
}

TEST_F(TextBoardTest, RangeBoardsCoverTheirCornerOnly) {
    Load("(;SZ[9]AB[aa]AW[ii];B[bb];W[hh];B[ba];W[ih])");
    e.GoToEnd();
    // Top-left corner to C7: three columns, three rows.
    EXPECT_EQ(TextBoardRangeText(e, MakePoint(1, 1), MakePoint(3, 3)),
              "●３┬\r\n├１┼\r\n├┼・\r\n\r\nText GoBoard (by Quorvel)");
    // The bottom-right corner, picked with the far point G3.
    EXPECT_EQ(TextBoardRangeText(e, MakePoint(9, 9), MakePoint(7, 7)),
              "・┼┤\r\n┼２４\r\n┴┴○\r\n\r\nText GoBoard (by Quorvel)");
    e.settings.textAddPre = true;
    e.settings.textUseColor = true;
    e.SetClipboard(clipboard);
    WriteTextBoardRange(e, MakePoint(9, 1), MakePoint(8, 2));
    EXPECT_EQ(messages.Text(), "<pre><tt>\r\n┬┐\r\n┼┤\r\n\r\nText GoBoard (by Quorvel)\r\n</tt></pre>");
    EXPECT_EQ(clipboard.Text(), messages.Text());
    e.settings.textAddPre = false;
    e.settings.textUseColor = false;
    LoadFile("katrain-alphago-lee-long-commentary.sgf");
    StepTo(60);
    ExpectGolden(TextBoardRangeText(e, MakePoint(19, 19), MakePoint(10, 12)), "alphago_60_range.txt");
}

// ---- Reading text boards ----

TEST_F(TextBoardTest, WrittenBoardReadsBackToTheSamePosition) {
    Load("(;SZ[19]AB[dd][pp]AW[dp][pd]SQ[dd]TR[pd]LO[dp];B[qf];W[nc];B[rd];W[qc];B[qi];W[cn];B[fq];W[bp])");
    e.GoToEnd();
    const std::string before = Diagram();
    for (bool colour : {false, true}) {
        e.settings.textUseColor = colour;
        e.settings.textAddPre = colour;
        const std::string text = TextBoardText(e);
        EXPECT_EQ(LoadPastedText(e, text, true), PastedKind::TextBoard);
        EXPECT_EQ(e.setupCount, 4);
        EXPECT_EQ(e.lineEnd, 12);
        EXPECT_EQ(MarkKind(e.markGrid[P("dd")]), 1);
        EXPECT_EQ(MarkKind(e.markGrid[P("pd")]), 5);
        EXPECT_EQ(MarkKind(e.markGrid[P("dp")]), 6);
        EXPECT_EQ(e.lineMoves[5], P("qf"));
        EXPECT_EQ(e.lineMoves[12], P("bp"));
        EXPECT_EQ(messages.Text(), "++ ● ++ | AdvanceMoves：4 | MainMoves：8\r\n");
        e.GoToEnd();
        EXPECT_EQ(Diagram(), before);
        ExpectConsistent();
        Load("(;SZ[19]AB[dd][pp]AW[dp][pd]SQ[dd]TR[pd]LO[dp];B[qf];W[nc];B[rd];W[qc];B[qi];W[cn];B[fq];W[bp])");
        e.GoToEnd();
    }
}

TEST_F(TextBoardTest, CornerDiagramsLandInTheirCornerOfA19LineBoard) {
    Load("(;SZ[9];B[ee])");  // the previous record is smaller
    // First cell "┼": the bottom-right corner.
    e.recordText = "┼┼●┤\r\n┼１○┤\r\n┴┴┴┘";
    ReadTextBoard(e, true);
    EXPECT_EQ(e.boardSize, 19);
    EXPECT_EQ(e.board[MakePoint(18, 17)], kBlack);
    EXPECT_EQ(e.board[MakePoint(18, 18)], kWhite);
    EXPECT_EQ(e.lineMoves[e.setupCount + 1], MakePoint(17, 18));
    // Thirteen rows of a corner (the last row starts with "┼"): the top-right corner, never the border.
    std::string rows;
    for (int r = 0; r < 13; ++r) rows += std::string(r == 0 ? "┬┬┬●┐" : "┼┼○┼┤") + "\r\n";
    e.recordText = rows;
    ReadTextBoard(e, true);
    EXPECT_EQ(e.boardSize, 19);
    EXPECT_EQ(e.board[MakePoint(18, 1)], kBlack);
    EXPECT_EQ(e.board[MakePoint(17, 13)], kWhite);
    ExpectConsistent();
    // A whole 13-line board with labels selects 13 lines.
    Load("(;SZ[13];B[dd])");
    e.GoToEnd();
    const std::string thirteen = TextBoardText(e);
    Load("(;SZ[9];B[ee])");
    ASSERT_EQ(LoadPastedText(e, thirteen, true), PastedKind::TextBoard);
    EXPECT_EQ(e.boardSize, 13);
}

TEST_F(TextBoardTest, FirstColourNotesAndSummaries) {
    // Black stones only: White moves first, as after handicap stones, unless the text says "kurosaki".
    e.recordText = "01●１┼┤01\r\n";
    ReadTextBoard(e, true);
    EXPECT_FALSE(e.blackFirst);
    e.recordText = "01●１┼┤01 kurosaki\r\n";
    ReadTextBoard(e, true);
    EXPECT_TRUE(e.blackFirst);
    EXPECT_EQ(messages.Text(), "++ ● ++ | AdvanceMoves：1 | MainMoves：1\r\n\r\nkurosaki");
    EXPECT_EQ(e.summaryText, messages.Text());
    e.recordText = "┌１┬２┐ the first two moves\r\n├┼┼┼┤\r\n";
    ReadTextBoard(e, true);
    EXPECT_EQ(messages.Text(), " MainMoves：2\r\n\r\nthe first two moves");
    e.recordText = "┌１┬２┐　sirosaki\r\n";
    ReadTextBoard(e, true);
    EXPECT_FALSE(e.blackFirst);
}

TEST_F(TextBoardTest, ClipboardTextsChooseTheirReader) {
    Load("(;SZ[19];B[pd])");
    EXPECT_EQ(LoadPastedText(e, "hello", true), PastedKind::Unreadable);
    EXPECT_EQ(messages.Text(), kNoDatasToRead);
    EXPECT_EQ(e.lineEnd, 1);  // the record stays
    EXPECT_EQ(LoadPastedText(e, "(;SZ[9];B[ee];W[dd])", true), PastedKind::Sgf);
    EXPECT_EQ(e.boardSize, 9);
    // A diagram text is read as the SGF it stands for, White first included.
    EXPECT_EQ(LoadPastedText(e, "<<DiaData=SZ[13]/<SiroSaki>/AB[dd]\r\nSQ[dd];W[jj];B[cc]>>\r\n", true), PastedKind::Sgf);
    EXPECT_EQ(e.boardSize, 13);
    EXPECT_EQ(e.setupCount, 1);
    EXPECT_EQ(e.lineEnd, 3);
    EXPECT_FALSE(e.blackFirst);
    EXPECT_EQ(MarkKind(e.markGrid[P("dd")]), 1);
    // Lines from other programs end in LF alone.
    EXPECT_EQ(LoadPastedText(e, "┌１┬●┐\n├┼┼┼┤\n", true), PastedKind::TextBoard);
    EXPECT_EQ(e.setupCount, 1);
}

TEST_F(TextBoardTest, HostileTextBoardsStayInsideTheBoard) {
    // 30 rows of 40 stones each: at most 19 rows of 19 cells are read.
    std::string many;
    for (int r = 0; r < 30; ++r) {
        for (int c = 0; c < 40; ++c) many += (r + c) % 2 ? "●" : "○";
        many += "\r\n";
    }
    EXPECT_EQ(LoadPastedText(e, many, true), PastedKind::TextBoard);
    EXPECT_LE(e.setupCount, 361);
    ExpectConsistent();
    // Labels without cells, half cells, tags and titles left open.
    EXPECT_EQ(LoadPastedText(e, "(;SZ[19]AB[az][zz]LB[dd:Z];B[aa]", true), PastedKind::Sgf);
    ExpectConsistent();
    EXPECT_EQ(LoadPastedText(e, "<<DiaData=SZ[19]AB[az][zz]LB[dd:Z];B[aa]", true), PastedKind::Sgf);
    ExpectConsistent();
    for (const char* text : {"01\r\n01", "**●", "●<font (", "1", "１\r\n9\r\n99\r\n", "01１2345678901234567890123456789\r\n"}) {
        LoadPastedText(e, text, true);
        ExpectConsistent();
    }
}

TEST(ChatBoardData, PointCodesBecomeLettersOnlyOnTheBoard) {
    EXPECT_EQ(ConvertChatBoardData("x [86]\r\n---碁盤データ---\r\n{1}[86][440][20][999][1234][ab][07]"),
              "x [86]\r\n---碁盤データ---\r\n{1}[db][440][20][999][1234][ab][07]");
    EXPECT_EQ(ConvertChatBoardData("---碁盤データ---[418][400]"), "---碁盤データ---[ss][sa]");
    // A store that already has SZ[, or no store at all, stays as it is.
    EXPECT_EQ(ConvertChatBoardData("---碁盤データ---SZ[19][86]"), "---碁盤データ---SZ[19][86]");
    EXPECT_EQ(ConvertChatBoardData("[86]"), "[86]");
    EXPECT_EQ(ConvertChatBoardData("---碁盤データ---[8"), "---碁盤データ---[8");
}

TEST(TextBoardCells, DecodeAndRowTests) {
    EXPECT_EQ(DecodeBoardCell("１"), 1);
    EXPECT_EQ(DecodeBoardCell("９"), 9);
    EXPECT_EQ(DecodeBoardCell("10"), 10);
    EXPECT_EQ(DecodeBoardCell("99"), 99);
    EXPECT_EQ(DecodeBoardCell("07"), 0);
    EXPECT_EQ(DecodeBoardCell("◎"), 5003);
    EXPECT_EQ(DecodeBoardCell("▲"), 1005);
    EXPECT_EQ(DecodeBoardCell("┼"), 0);
    EXPECT_TRUE(IsBoardRow("├┼┼┤"));
    EXPECT_TRUE(IsBoardRow("┌┬┐"));
    EXPECT_FALSE(IsBoardRow("**ＡＢＣ**"));
    EXPECT_FALSE(IsBoardRow("Text GoBoard "));
}

}  // namespace
}  // namespace quorvel::test
