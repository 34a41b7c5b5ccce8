#include "engine_fixture.h"
#include "formats/sgf_reader.h"
#include "formats/sgf_writer.h"

namespace quorvel::test {
namespace {

class SgfWriterTest : public EngineTest {
protected:
    std::string Nested() {
        e.settings.zarnStyle = false;
        return WholeRecordText(e);
    }
    std::string Inline() {
        e.settings.zarnStyle = true;
        return WholeRecordText(e);
    }
    const std::string head = "(;GM[1]FF[1]SZ[19]\r\n";
};

TEST_F(SgfWriterTest, ARecordWithoutBranchesIsTheSameInBothLayouts) {
    MakeMainLine("pd dp pp dd --");
    const std::string expected = head + ";B[pd];W[dp];B[pp];W[dd];B[tt])";
    EXPECT_EQ(Nested(), expected);
    EXPECT_EQ(Inline(), expected);
}

TEST_F(SgfWriterTest, OneVariationAfterMoveTwo) {
    MakeMainLine("pd dp pp dd");
    AddBranch(MakeOrigin(2, 0, 2), kBlack, "dc");
    EXPECT_EQ(Nested(), head + ";B[pd];W[dp]\r\n(;B[pp];W[dd])\r\n(;B[dc])\r\n)");
    EXPECT_EQ(Inline(), head + ";B[pd];W[dp]\r\n(;B[dc])\r\n;B[pp];W[dd])");
}

TEST_F(SgfWriterTest, NestedVariationsAndAlternativesToTheFirstMove) {
    MakeMainLine("pd dp pp dd");
    AddBranch(MakeOrigin(0, 0, 0), kBlack, "qd dd");         // 1: instead of the first move
    AddBranch(MakeOrigin(1, 0, 1), kWhite, "dq qp", 1);      // 2: instead of move 2
    AddBranch(MakeOrigin(2, 2, 1), kBlack, "cc", 2);         // 3: inside 2, instead of its move 2
    AddBranch(MakeOrigin(1, 0, 1), kWhite, "pp", 1);         // 4: a second variation at move 2
    // Table order must be depth-first: move the first-move alternative to the end.
    std::swap(e.branchOrigin[1], e.branchOrigin[4]);
    std::swap(e.branchMoves[1], e.branchMoves[4]);
    // Now 1 = "pp" at move 2, 2 = "dq qp", 3 = "cc" in 2, 4 = the alternative "qd dd". 3's parent is 2.
    e.ReturnToMainLine();
    ASSERT_EQ(CheckBranchTable(e), "");
    EXPECT_EQ(Nested(), head +
                            "(;B[pd]\r\n"
                            "(;W[dp];B[pp];W[dd])\r\n"
                            "(;W[pp])\r\n"
                            "\r\n(;W[dq]\r\n(;B[qp])\r\n(;B[cc])\r\n)\r\n"
                            ")\r\n\r\n(;B[qd];W[dd]))");
    EXPECT_EQ(Inline(), head +
                            ";B[pd]\r\n"
                            "(;W[pp])\r\n"
                            "(;W[dq]\r\n(;B[cc])\r\n;B[qp])\r\n"
                            ";W[dp];B[pp];W[dd])\r\n\r\n(;B[qd];W[dd])");
}

TEST_F(SgfWriterTest, LinesBreakAfterEveryTenthMove) {
    std::string moves;
    for (int i = 0; i < 25; ++i) moves += std::string{static_cast<char>('a' + i % 19), static_cast<char>('a' + i / 19)} + " ";
    MakeMainLine(moves);
    const std::string text = Nested();
    const std::string body = text.substr(head.size());
    // Two line breaks in the moves: after the 10th and the 20th, none after the last.
    EXPECT_EQ(body.find("\r\n"), 10 * 6u);
    EXPECT_EQ(body.find("\r\n", 61), 20 * 6u + 2);
    EXPECT_EQ(body.find("\r\n", 123), std::string::npos);
    EXPECT_EQ(body.back(), ')');
}

TEST_F(SgfWriterTest, CommentsFlattenTheirLineBreaksOnlyInTheWholeRecord) {
    MakeMainLine("pd dp");
    e.StepForward();
    e.StoreComment("first line\r\nsecond (line)");
    e.gameComment = "game\r\nnotes";
    EXPECT_EQ(Nested(), "(;GM[1]FF[1]SZ[19]\r\nGC[game___notes]\r\n;B[pd]C[first line___second （line）];W[dp])");
    e.StepForward();
    EXPECT_EQ(CurrentLineText(e), "(;GM[1]FF[1]SZ[19]\r\n;B[pd]C[first line\r\nsecond （line）];W[dp])");

    // A record from another program that broke its comments' lines as line breaks keeps them so; one with
    // the program's codes keeps the codes.
    const std::pair<const char*, const char*> records[] = {
        {"(;SZ[19]C[a\r\nb]\r\n;B[pd]C[c\r\nd];W[dp]C[\r\n\r\ne])",
         "(;SZ[19]\r\nGC[a\r\nb]\r\n;B[pd]C[c\r\nd];W[dp]C[\r\n\r\ne])"},
        {"(;SZ[19]C[a___b];B[pd]C[c\r\nd])", "(;SZ[19]\r\nGC[a___b]\r\n;B[pd]C[c___d])"},
    };
    for (const auto& [text, written] : records) {
        LoadRecordText(e, text);
        EXPECT_EQ(WholeRecordText(e), written) << text;
    }

    // A record of another encoding gets its comments' SGF characters back, its own full-width forms stay.
    const std::string utf8 = u8"(;SZ[19]CA[UTF-8]PB[（株）];B[aa]C[alert(1) a \\\\ b [x\\] （真）];W[bb])";
    LoadRecordText(e, utf8);
    EXPECT_EQ(SavedBytes(e, WholeRecordText(e)),
              u8"(;SZ[19]CA[UTF-8]PB[（株）]\r\n;B[aa]C[alert(1) a \\\\ b [x\\] （真）];W[bb])");
}

TEST_F(SgfWriterTest, BackslashesAreEscapedButShiftJisSecondBytesAreNot) {
    MakeMainLine("pd");
    e.StepForward();
    e.StoreComment("C:\\dir 表ソ");
    EXPECT_EQ(Nested(), head + ";B[pd]C[C:\\\\dir 表ソ])");
}

TEST_F(SgfWriterTest, TheHeadKeepsItsPropertiesAndGainsMissingOnes) {
    MakeMainLine("pd");
    e.headerText = "junk(;GM[1]PB[Old name]";
    e.info.blackPlayer = "New name";
    e.info.whitePlayer = "白番";
    e.info.event = "Event";  // never added
    CompleteHeaderText(e);
    EXPECT_EQ(e.headerText, "(;SZ[19]GM[1]PB[Old name]\r\nPW[白番]");
    CompleteHeaderText(e);  // a second run adds nothing
    EXPECT_EQ(e.headerText, "(;SZ[19]GM[1]PB[Old name]\r\nPW[白番]");
}

TEST_F(SgfWriterTest, TheCurrentLineAtTheStartWithWhiteToPlay) {
    e.NewRecord();
    e.replayMode = false;
    for (const char* p : {"dd", "pp"}) {
        ASSERT_TRUE(e.IsPlayable(P(p)));
        e.board[P(p)] = kBlack;
        e.lineMoves[++e.currentIndex] = P(p);
        e.editSetupList[e.currentIndex] = MakeStone(kBlack, P(p));
    }
    e.baseIndex = e.currentIndex;
    e.blackFirst = 0;
    e.markGrid[P("cc")] = 3;
    e.markGrid[P("dd")] = MakeMark(kBlack, 9);
    EXPECT_EQ(CurrentLineText(e), "(;GM[1]FF[1]SZ[19]NE[W]\r\nAB[pp][dd]\r\nCR[cc]\r\nLB[dd:A])");
    e.currentIndex = 0;
    EXPECT_EQ(CurrentLineText(e), "");
}

TEST_F(SgfWriterTest, TheCurrentLineInsideAVariationKeepsItsBackground) {
    MakeMainLine("pd dp pp dd");
    AddBranch(MakeOrigin(2, 0, 2), kBlack, "dc qq");
    e.ReturnToMainLine();
    e.info.blackPlayer = "黒";
    e.StepForward();
    e.StepForward();
    ASSERT_TRUE(e.FollowPoint(P("dc")));
    // With AS the whole line is written as moves from the start, the variation's own moves after it.
    EXPECT_EQ(CurrentLineText(e), "(;GM[1]FF[1]SZ[19]AS[2,1]\r\nPB[黒]\r\n;B[pd];W[dp];B[dc])");
    // Without AS the moves before the variation become setup stones in their colours.
    e.settings.asOption = false;
    EXPECT_EQ(CurrentLineText(e), "(;GM[1]FF[1]SZ[19]\r\nPB[黒]\r\nAB[pd]\r\nAW[dp]\r\n;B[dc])");
}

TEST_F(SgfWriterTest, AddingAVariationWritesTheRecordToTheTextWindowAndClipboard) {
    MemoryClipboard clipboard;
    e.SetClipboard(clipboard);
    MakeMainLine("pd dp pp");
    e.StepForward();
    PlayTrial("dd");
    AddVariationCommand(e);
    EXPECT_EQ(messages.Text(), head + ";B[pd]\r\n(;W[dp];B[pp])\r\n(;W[dd])\r\n)");
    EXPECT_EQ(clipboard.Text(), messages.Text());
}

}  // namespace
}  // namespace quorvel::test
