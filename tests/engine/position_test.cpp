#include "engine_fixture.h"

#include "core/board_geometry.h"

namespace quorvel::test {
namespace {

class PositionTest : public EngineTest {
protected:
    void SetUp() override {
        e.ChangeBoardSize(9);
        e.NewRecord();
        e.lineEnd = 0;
    }
};

TEST_F(PositionTest, SingleStonesAreCapturedInTheCornerOnTheEdgeAndInTheMiddle) {
    SetUpBoard({"O..XOX...",
                "X........",
                ".........",
                "....X....",
                "...XOX..."},
               kBlack);
    PlayAll("ba");  // the corner
    EXPECT_EQ(e.board[P("aa")], kEmpty);
    EXPECT_EQ(e.whiteCaptured, 1);
    PlayAll("-- eb");  // the edge
    EXPECT_EQ(e.board[P("ea")], kEmpty);
    EXPECT_EQ(e.whiteCaptured, 2);
    PlayAll("-- ef");  // the middle
    EXPECT_EQ(e.board[P("ee")], kEmpty);
    EXPECT_EQ(e.whiteCaptured, 3);
    EXPECT_EQ(e.blackCaptured, 0);
    ExpectConsistent();
}

TEST_F(PositionTest, GroupsAreCapturedWholeAndTakingBackRestoresThem) {
    SetUpBoard({"OOO......",
                "XXX......"},
               kBlack);
    PlayAll("da");
    EXPECT_EQ(Diagram().substr(0, 20),
              "...X.....\n"
              "XXX......\n");
    EXPECT_EQ(e.whiteCaptured, 3);
    ExpectConsistent();

    e.TakeBack();
    EXPECT_EQ(Diagram().substr(0, 20),
              "OOO......\n"
              "XXX......\n");
    EXPECT_EQ(e.whiteCaptured, 0);
    EXPECT_EQ(e.captureCount(), 0);
    ExpectConsistent();
}

TEST_F(PositionTest, PrisonerCountsFollowTakeBacks) {
    // White captures two black stones in the corner, then black a white stone on the edge.
    PlayAll("aa ab ba bb ee ca ga ha ia -- hb");
    EXPECT_EQ(e.blackCaptured, 2);
    EXPECT_EQ(e.whiteCaptured, 1);
    ExpectConsistent();
    e.TakeBack();
    EXPECT_EQ(e.blackCaptured, 2);
    EXPECT_EQ(e.whiteCaptured, 0);
    EXPECT_EQ(e.board[P("ha")], kWhite);
    while (e.currentIndex > 0) {
        e.TakeBack();
        ExpectConsistent();
    }
    EXPECT_EQ(e.blackCaptured, 0);
    EXPECT_EQ(e.whiteCaptured, 0);
    EXPECT_EQ(e.captureCount(), 0);
}

// Black takes white cc at dc, and white could take back at once.
const std::vector<std::string> kKoShape = {".........",
                                           "..XO.....",
                                           ".XO.O....",
                                           "..XO....."};

TEST_F(PositionTest, KoIsMarkedAndClearsAfterAnyOtherMove) {
    SetUpBoard(kKoShape, kBlack);
    PlayAll("dc");
    EXPECT_EQ(Diagram().substr(0, 40),
              ".........\n"
              "..XO.....\n"
              ".XkXO....\n"
              "..XO.....\n");
    EXPECT_FALSE(e.IsPlayable(P("cc")));
    EXPECT_EQ(messages.Text(), "そこは打てません。");
    // A ko threat elsewhere lifts the mark.
    PlayAll("gh");
    EXPECT_EQ(e.groupGrid[P("cc")], 0);
    ExpectConsistent();
}

TEST_F(PositionTest, KoMarkReturnsAfterTakeBackAndStepForward) {
    SetUpBoard(kKoShape, kBlack);
    PlayAll("dc gh");
    e.lineEnd = e.currentIndex;
    e.TakeBack();  // gh
    EXPECT_EQ(e.groupGrid[P("cc")], kKoMark);
    e.TakeBack();  // dc: the white stone comes back, no ko stands
    EXPECT_EQ(e.board[P("cc")], kWhite);
    ExpectConsistent();
    e.StepForward();
    EXPECT_EQ(e.groupGrid[P("cc")], kKoMark);
    ExpectConsistent();
}

TEST_F(PositionTest, CapturingTwoStonesIsNoKo) {
    SetUpBoard({".X.......",
                "XOX......",
                ".OX......",
                ".X......."},
               kBlack);
    PlayAll("ac");
    EXPECT_EQ(e.board[P("bb")], kEmpty);
    EXPECT_EQ(e.board[P("bc")], kEmpty);
    EXPECT_NE(e.groupGrid[P("bb")], kKoMark);
    EXPECT_NE(e.groupGrid[P("bc")], kKoMark);
}

TEST_F(PositionTest, SuicidePointsAreForbiddenButCapturesWithoutLibertiesAreAllowed) {
    SetUpBoard({".X.......",
                "X........"},
               kWhite);
    EXPECT_EQ(e.groupGrid[P("aa")], kSuicideMark);
    EXPECT_FALSE(e.IsPlayable(P("aa")));

    // Black ab and ba each have aa as their last liberty: aa has no empty neighbour, but white may fill it
    // and capture both.
    SetUpBoard({".XO......",
                "XO.......",
                "O........"},
               kWhite);
    EXPECT_EQ(e.ColourToMove(), kWhite);
    EXPECT_NE(e.groupGrid[P("aa")], kSuicideMark);
    ASSERT_TRUE(Play("aa"));
    EXPECT_EQ(e.board[P("ab")], kEmpty);
    EXPECT_EQ(e.board[P("ba")], kEmpty);
    EXPECT_EQ(e.blackCaptured, 2);
    ExpectConsistent();
}

TEST_F(PositionTest, PassesShiftTheColourAndTakingBackAPassSaysSo) {
    PlayAll("ee --");
    EXPECT_EQ(e.ColourToMove(), kBlack);
    EXPECT_EQ(e.lastPoint, 0);
    e.TakeBack();
    EXPECT_EQ(messages.Text(), " PASS！");
    EXPECT_EQ(e.ColourToMove(), kWhite);
    ExpectConsistent();
}

TEST_F(PositionTest, OccupiedAndBorderPointsAreNotPlayable) {
    PlayAll("ee");
    EXPECT_FALSE(e.IsPlayable(P("ee")));
    EXPECT_FALSE(e.IsPlayable(MakePoint(10, 1)));  // the border of a 9-line board
    EXPECT_FALSE(e.IsPlayable(0));
}

TEST_F(PositionTest, TheLineStopsAt499Entries) {
    for (int i = 0; i < kMaxLineEntries; ++i) ASSERT_TRUE(e.Pass(e.ColourToMove()));
    EXPECT_FALSE(e.Pass(e.ColourToMove()));
    ASSERT_TRUE(e.IsPlayable(P("ee")));
    EXPECT_FALSE(e.PlayColour(e.ColourToMove()));
    EXPECT_EQ(e.currentIndex, kMaxLineEntries);
}

TEST_F(PositionTest, ColourToMoveFollowsBaseIndexAndFirstColour) {
    e.baseIndex = 3;
    e.currentIndex = 3;
    e.blackFirst = 0;
    EXPECT_EQ(e.ColourToMove(), kWhite);
    e.currentIndex = 4;
    EXPECT_EQ(e.ColourToMove(), kBlack);
    e.blackFirst = 1;
    EXPECT_EQ(e.ColourToMove(), kWhite);
}

TEST(SgfLetters, DecodeOn19And13Lines) {
    EXPECT_EQ(SgfLettersToPoint('t', 't', 19), kPass);
    EXPECT_EQ(SgfLettersToPoint('a', 'a', 19), 22);
    EXPECT_EQ(SgfLettersToPoint('s', 's', 19), MakePoint(19, 19));
    EXPECT_EQ(SgfLettersToPoint('a', 'a', 13), 22);
    EXPECT_EQ(SgfLettersToPoint('m', 'm', 13), 13 * 21 + 13);
    // Off a 13-line board, in either letter.
    EXPECT_EQ(SgfLettersToPoint('n', 'a', 13), kPass);
    EXPECT_EQ(SgfLettersToPoint('a', 's', 13), kPass);
    // Upper case and other bytes are no coordinates.
    EXPECT_EQ(SgfLettersToPoint('A', 'A', 19), kPass);
    EXPECT_EQ(SgfPointText(MakePoint(4, 16)), "dp");
    EXPECT_EQ(SgfPointText(kPass), "tt");
}

TEST(SgfLetters, EveryPairOfBytesReadsAsTheSumRuleSays) {
    // The rule: v = y + 21 x over the byte values is a point v - 2112 when it lies on the board.
    for (const int size : {19, 13, 9, 7, 6}) {
        for (int x = 0; x < 256; ++x) {
            for (int y = 0; y < 256; ++y) {
                const int v = y + 21 * x;
                const int p = v - 2112;
                const bool on = v >= 2134 && p <= size * 22 && PointCol(p) >= 1 && PointCol(p) <= size &&
                                PointRow(p) >= 1 && PointRow(p) <= size;
                ASSERT_EQ(SgfLettersToPoint(static_cast<char>(x), static_cast<char>(y), size), on ? p : kPass)
                    << size << " " << x << " " << y;
            }
        }
    }
}

TEST(Geometry, TheTableOfSizes) {
    EXPECT_EQ(GeometryFor(19)->FirstLine(), 11);
    EXPECT_EQ(GeometryFor(13)->FirstLine(), 18);
    EXPECT_EQ(GeometryFor(9)->FirstLine(), 24);
    EXPECT_EQ(GeometryFor(7)->FirstLine(), 34);
    EXPECT_EQ(GeometryFor(6)->FirstLine(), 38);
    EXPECT_EQ(GeometryFor(15), nullptr);
    EXPECT_EQ(GeometryFor(19)->CentreX(MakePoint(4, 4)), 71);
}

TEST(Geometry, HoverSnapsAtTheZoneBorders) {
    const BoardGeometry& g = *GeometryFor(19);
    const HoverPoint start{11, 11};
    // Line i = 2 lies at 40 - 9 = 31; its zone is (40 - 19, 40 + 1] = (21, 41].
    EXPECT_EQ(SnapHover(g, start, 21, 11).x, 11);  // 21 still belongs to line 1's zone (1, 21]
    EXPECT_EQ(SnapHover(g, start, 22, 11).x, 31);
    EXPECT_EQ(SnapHover(g, start, 41, 11).x, 31);
    EXPECT_EQ(SnapHover(g, start, 42, 11).x, 51);
    // Below 9 counts as 9, which is in line 1's zone.
    EXPECT_EQ(SnapHover(g, {31, 31}, 0, 0).x, 11);
    // Beyond 381 on either axis nothing changes.
    EXPECT_EQ(SnapHover(g, {31, 31}, 382, 100).x, 31);
    EXPECT_EQ(SnapHover(g, {31, 31}, 100, 382).y, 31);
    // The last line's zone reaches 380 + 1.
    EXPECT_EQ(SnapHover(g, {31, 31}, 381, 100).x, 371);
    // On 13 lines the last zone ends at 377 + 3: 381 lies in no zone and keeps the old value.
    const BoardGeometry& g13 = *GeometryFor(13);
    EXPECT_EQ(SnapHover(g13, {47, 47}, 380, 381).x, 366);
    EXPECT_EQ(SnapHover(g13, {47, 47}, 380, 381).y, 47);

    const BoardGeometry& g9 = *GeometryFor(9);
    // Line 1 at 42 - 18 = 24, zone (3, 45]; line 2 at 66, zone (45, 87].
    EXPECT_EQ(SnapHover(g9, {24, 24}, 45, 46).x, 24);
    EXPECT_EQ(SnapHover(g9, {24, 24}, 45, 46).y, 66);
    EXPECT_EQ(HoverToPoint(g9, {66, 24}), MakePoint(2, 1));
    EXPECT_EQ(HoverToPoint(*GeometryFor(19), {371, 11}), MakePoint(19, 1));
}

TEST(Geometry, ChangeBoardSizeClearsTheRecordsComments) {
    MemoryMessageArea m;
    MemoryDialogs d;
    Engine e(m, d);
    e.branchComments[0][1] = e.AppendComment("x");
    e.ChangeBoardSize(13);
    EXPECT_EQ(e.boardSize, 13);
    EXPECT_EQ(e.hover.x, 18);
    EXPECT_FALSE(e.branchComments[0][1].IsSet());
    EXPECT_TRUE(e.commentPool.empty());
    EXPECT_EQ(e.headerText, "(;GM[1]FF[1]SZ[13]");
    EXPECT_EQ(e.board[MakePoint(14, 1)], kBorder);
    e.ChangeBoardSize(15);
    EXPECT_EQ(e.boardSize, 13);
}

}  // namespace
}  // namespace quorvel::test
