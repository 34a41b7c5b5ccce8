// The board window's computations that need no window: which stones carry which numbers, the number
// fonts, the click areas, the coordinate labels and the program folder's paths.
#include "core/board_areas.h"
#include "core/coordinate_labels.h"
#include "core/move_numbers.h"
#include "core/program_files.h"
#include "engine_fixture.h"

namespace quorvel::test {
namespace {

class StonesToDrawTest : public EngineTest {
protected:
    const DrawnStone* Find(const std::vector<DrawnStone>& list, const char* letters) {
        for (const DrawnStone& s : list) {
            if (s.point == P(letters)) return &s;
        }
        return nullptr;
    }
    int CountAt(const std::vector<DrawnStone>& list, const char* letters) {
        int n = 0;
        for (const DrawnStone& s : list) n += s.point == P(letters) ? 1 : 0;
        return n;
    }
};

TEST_F(StonesToDrawTest, CapturedThenReplacedPointShowsOnlyTheNewerStoneAndNumber) {
    // Black 1 in the corner is captured by white 4; white 6 then plays on the emptied corner point.
    MakeMainLine("aa ba cc ab dd aa");
    e.GoToEnd();
    ASSERT_EQ(e.board[P("aa")], kWhite);
    const StonesOnBoard s = StonesToDraw(e, false);
    EXPECT_EQ(CountAt(s.numbered, "aa"), 1);
    const DrawnStone* corner = Find(s.numbered, "aa");
    ASSERT_NE(corner, nullptr);
    EXPECT_EQ(corner->colour, kWhite);
    EXPECT_EQ(corner->number, 6);
    EXPECT_EQ(s.numbered.size(), 5u);  // 1 was captured
    // Back before the capture the old stone is there again with its own number.
    e.BackTen();
    e.StepForward();
    const StonesOnBoard before = StonesToDraw(e, false);
    ASSERT_NE(Find(before.numbered, "aa"), nullptr);
    EXPECT_EQ(Find(before.numbered, "aa")->number, 1);
    EXPECT_EQ(Find(before.numbered, "aa")->colour, kBlack);
}

TEST_F(StonesToDrawTest, NumbersOffLeavesOnlyTheLastMoveNumberedAndPassesAreSkipped) {
    MakeMainLine("dd pp -- dp pd");
    e.GoToEnd();
    e.settings.number = false;
    StonesOnBoard s = StonesToDraw(e, false);
    ASSERT_EQ(s.numbered.size(), 4u);
    EXPECT_EQ(s.numbered[0].point, P("pd"));
    EXPECT_EQ(s.numbered[0].number, 5);
    for (size_t i = 1; i < s.numbered.size(); ++i) EXPECT_EQ(s.numbered[i].number, 0);

    // The last entry a pass: no stone carries a number.
    e.StepBack();
    e.StepBack();
    s = StonesToDraw(e, false);
    for (const DrawnStone& d : s.numbered) EXPECT_EQ(d.number, 0);
}

TEST_F(StonesToDrawTest, NumbersCountFromTheFirstMoveNumberAfterTheBackground) {
    MakeMainLine("dd pp dp pd qq");
    const int b = AddBranch(MakeOrigin(2, 0, 2), 1, "cc ee", 1);
    e.StepForward();
    e.StepForward();
    e.EnterBranch(b);
    e.StepForward();
    const StonesOnBoard s = StonesToDraw(e, false);
    ASSERT_EQ(s.background.size(), 2u);
    for (const DrawnStone& d : s.background) EXPECT_EQ(d.number, 0);
    ASSERT_EQ(s.numbered.size(), 2u);
    EXPECT_EQ(Find(s.numbered, "ee")->number, 2);
    EXPECT_EQ(Find(s.numbered, "cc")->number, 1);
    e.firstMoveNumber = 51;
    EXPECT_EQ(Find(StonesToDraw(e, false).numbered, "ee")->number, 52);
}

TEST_F(StonesToDrawTest, MarkedBranchingMovesAreHighlightedOrSigned) {
    MakeMainLine("dd pp dp pd");
    AddBranch(MakeOrigin(0, 0, 2), 1, "qq", 1);  // an alternative to move 3: branches start after move 2
    e.GoToEnd();
    StonesOnBoard s = StonesToDraw(e, true);
    EXPECT_TRUE(Find(s.numbered, "pp")->highlighted);
    EXPECT_FALSE(Find(s.numbered, "dd")->highlighted);
    EXPECT_FALSE(Find(StonesToDraw(e, false).numbered, "pp")->highlighted);

    e.settings.number = false;
    s = StonesToDraw(e, true);
    EXPECT_TRUE(Find(s.numbered, "pp")->branchSign);
    EXPECT_EQ(Find(s.numbered, "pp")->number, 0);
    EXPECT_FALSE(Find(s.numbered, "dp")->branchSign);
}

TEST(MoveNumberPlacement, FontSizeFollowsBoardSizeAndDigits) {
    EXPECT_EQ(MoveNumberPlacement(19, 7, kBlack).size, 13);
    EXPECT_EQ(MoveNumberPlacement(19, 42, kBlack).size, 10);
    EXPECT_EQ(MoveNumberPlacement(19, 100, kWhite).size, 8);
    EXPECT_EQ(MoveNumberPlacement(19, 1234, kWhite).size, 8);
    EXPECT_EQ(MoveNumberPlacement(13, 9, kWhite).size, 20);
    EXPECT_EQ(MoveNumberPlacement(13, 10, kWhite).size, 17);
    EXPECT_EQ(MoveNumberPlacement(13, 250, kWhite).size, 13);
    for (int size : {9, 7, 6}) {
        EXPECT_EQ(MoveNumberPlacement(size, 3, kBlack).size, 28);
        EXPECT_EQ(MoveNumberPlacement(size, 30, kBlack).size, 24);
        EXPECT_EQ(MoveNumberPlacement(size, 300, kBlack).size, 13);
    }
    // On 19 lines a one-digit number on a black stone sits one pixel left of the same on a white stone.
    EXPECT_EQ(MoveNumberPlacement(19, 5, kBlack).dx, -3);
    EXPECT_EQ(MoveNumberPlacement(19, 5, kWhite).dx, -2);
    EXPECT_EQ(MoveNumberPlacement(19, 55, kBlack).dy, -6);
}

TEST(BoardAreas, NavigationStripButtonsAndTheirEdges) {
    EXPECT_EQ(AreaAt(230, 398, true, true), BoardArea::GoToStart);
    EXPECT_EQ(AreaAt(256, 417, true, true), BoardArea::GoToStart);
    EXPECT_EQ(AreaAt(257, 405, true, true), BoardArea::None);  // the gap between two buttons
    EXPECT_EQ(AreaAt(258, 405, true, true), BoardArea::BackTen);
    EXPECT_EQ(AreaAt(314, 405, true, true), BoardArea::StepForward);
    EXPECT_EQ(AreaAt(396, 405, true, true), BoardArea::GoToEnd);
    EXPECT_EQ(AreaAt(397, 405, true, true), BoardArea::None);
    EXPECT_EQ(AreaAt(300, 418, true, true), BoardArea::None);
    // Creation mode has its own strip in place of the navigation strip.
    EXPECT_EQ(AreaAt(300, 405, true, false), BoardArea::MoveInput);
    EXPECT_EQ(AreaAt(270, 405, true, false), BoardArea::None);
}

TEST(BoardAreas, BoardSwitchesAndToolColumn) {
    EXPECT_EQ(AreaAt(380, 380, true, true), BoardArea::Board);
    EXPECT_EQ(AreaAt(381, 100, true, true), BoardArea::None);
    EXPECT_EQ(AreaAt(48, 430, true, true), BoardArea::PrisonerBox);
    EXPECT_EQ(AreaAt(48, 430, false, false), BoardArea::PrisonerBox);
    EXPECT_EQ(AreaAt(405, 346, true, false), BoardArea::MoveNumberBox);
    EXPECT_EQ(AreaAt(166, 419, true, true), BoardArea::HintBox);
    EXPECT_EQ(AreaAt(224, 398, true, true), BoardArea::HintBox);
    EXPECT_EQ(AreaAt(420, 120, true, true), BoardArea::None);  // between "+" and "-"
    EXPECT_EQ(AreaAt(428, 140, true, true), BoardArea::None);  // between backward and forward
    EXPECT_EQ(AreaAt(453, 171, true, true), BoardArea::AutoStop);
    EXPECT_EQ(AreaAt(440, 315, true, true), BoardArea::ToolPass);
    EXPECT_EQ(AreaAt(433, 315, true, true), BoardArea::ToolSgf);
    // The replay-mode rows of the tool column are not there in creation mode, nor with the information
    // panel.
    EXPECT_EQ(AreaAt(420, 160, true, false), BoardArea::None);
    EXPECT_EQ(AreaAt(420, 160, false, true), BoardArea::None);
    EXPECT_EQ(AreaAt(480, 100, false, true), BoardArea::WhitePlayerPicture);
    EXPECT_EQ(AreaAt(480, 100, true, true), BoardArea::None);
}

TEST(CoordinateLabels, StylesOnNineteenLinesAndTheSmallBoards) {
    const CoordinateStyle standard;
    EXPECT_EQ(CoordinateLabel(19, standard, 1, 1), " A-19");
    EXPECT_EQ(CoordinateLabel(19, standard, 9, 19), " J-1 ");
    EXPECT_EQ(CoordinateLabel(19, standard, 16, 4), " Q-16");
    CoordinateStyle withI{101, 1, true};
    EXPECT_EQ(CoordinateLabel(19, withI, 9, 1), " I-1 ");
    EXPECT_EQ(CoordinateLabel(19, withI, 19, 19), " S-19");
    CoordinateStyle numbers{1, 101, false};
    EXPECT_EQ(CoordinateLabel(19, numbers, 12, 9), "12-J ");
    CoordinateStyle fromRight{19, 19, false};
    EXPECT_EQ(CoordinateLabel(19, fromRight, 1, 10), "19-10");
    EXPECT_EQ(CoordinateLabel(19, fromRight, 11, 11), " 9-9 ");
    // Small boards ignore the style: letters without I, their own row numbers.
    EXPECT_EQ(CoordinateLabel(13, withI, 9, 1), " J-13");
    EXPECT_EQ(CoordinateLabel(13, numbers, 13, 13), " N-1 ");
    EXPECT_EQ(CoordinateLabel(9, standard, 5, 5), " E-5 ");
    EXPECT_EQ(CoordinateLabel(7, standard, 7, 1), " G-7 ");
    EXPECT_EQ(CoordinateLabel(6, standard, 1, 6), " A-1 ");
}

TEST(ProgramFiles, BackslashPathsLieInTheProgramFolder) {
    EXPECT_EQ(ProgramFilePath("/opt/quorvel", "bmp\\GoBan19.bmp"), "/opt/quorvel/bmp/GoBan19.bmp");
    EXPECT_EQ(ProgramFilePath("/opt/quorvel/", "stone.wav"), "/opt/quorvel/stone.wav");
    EXPECT_EQ(ProgramFilePath("", "bmp\\bar.bmp"), "bmp/bar.bmp");
}

}  // namespace
}  // namespace quorvel::test
