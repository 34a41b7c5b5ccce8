#include "core/keys.h"
#include "engine_fixture.h"

namespace quorvel::test {
namespace {

class NavigationTest : public EngineTest {
protected:
    void SetUp() override { e.SetRequests(requests); }

    // A main line of `moves` with `branches` branches that replace its first move, each starting on a
    // different point of the third line.
    void MakeFan(const std::string& moves, int branches) {
        MakeMainLine(moves);
        for (int b = 1; b <= branches; ++b) {
            std::string point = {static_cast<char>('a' + b), 'c'};
            AddBranch(MakeOrigin(0, 0, 0), kBlack, point);
        }
        e.ReturnToMainLine();
    }
    std::string Letters() const {
        std::string s;
        for (const auto& h : e.hintLetters) s += h.letter;
        return s;
    }

    MemoryBoardRequests requests;
};

TEST_F(NavigationTest, NoMarkStandsAfterARecordedPass) {
    // Black captures a single stone (a ko); then a recorded pass follows.
    MakeMainLine("cb db bc ec cd dd gg cc dc --");
    e.GoToEnd();
    EXPECT_EQ(messages.Text(), " No more moves.");
    for (PointCode p = 0; p < kGridCells; ++p) {
        EXPECT_NE(e.groupGrid[p], kKoMark);
        EXPECT_NE(e.groupGrid[p], kSuicideMark);
    }
    EXPECT_TRUE(e.PassSignShown());
    e.StepBack();
    EXPECT_FALSE(e.PassSignShown());
    EXPECT_EQ(e.groupGrid[P("cc")], kKoMark);  // the ko stands again before the pass
    ExpectConsistent();
}

TEST_F(NavigationTest, StepsOfTenStopAtTheEnds) {
    MakeMainLine("aa bb cc dd ee ff gg hh jj kk ll mm nn");
    e.ForwardTen();
    EXPECT_EQ(e.currentIndex, 10);
    e.ForwardTen();  // three left
    EXPECT_EQ(e.currentIndex, 13);
    e.BackTen();
    EXPECT_EQ(e.currentIndex, 3);
    e.BackTen();
    EXPECT_EQ(e.currentIndex, 0);
    EXPECT_EQ(messages.Text(), e.summaryText);
    e.GoToEnd();
    EXPECT_EQ(e.currentIndex, 13);
    e.GoToStart();
    EXPECT_EQ(e.currentIndex, 0);
    ExpectConsistent();
}

TEST_F(NavigationTest, BackToStoneStopsAfterTheNewestMoveOnThePoint) {
    // aa is captured and played again: the newer entry counts.
    MakeMainLine("ba aa ab jj cc kk aa ll");
    e.GoToEnd();
    ASSERT_EQ(e.board[P("aa")], kBlack);
    e.BackToStone(P("aa"));
    EXPECT_EQ(e.currentIndex, 7);
    e.StepBack();
    e.BackToStone(P("ab"));
    EXPECT_EQ(e.currentIndex, 3);
    e.BackToStone(P("qq"));  // not on the line: nothing
    EXPECT_EQ(e.currentIndex, 3);
    ExpectConsistent();
}

TEST_F(NavigationTest, NineBranchesAreLetteredWithoutIAndJEntersTheEighth) {
    MakeFan("dd pp", 9);
    EXPECT_EQ(e.hintCount, 9);
    EXPECT_EQ(Letters(), "BCDEFGHJKA");
    EXPECT_EQ(e.hintLetters.back().point, P("dd"));
    EXPECT_TRUE(e.KeyDown('I', false));  // consumed, but no branch has running number 9
    EXPECT_EQ(e.currentIndex, 0);
    EXPECT_TRUE(e.KeyDown('J', false));
    EXPECT_EQ(e.currentBranch, 8);
    EXPECT_EQ(e.board[P("ic")], kBlack);
}

TEST_F(NavigationTest, TheNextMoveLetterAndItsKey) {
    MakeFan("dd pp", 1);
    EXPECT_EQ(Letters(), "BA");
    EXPECT_TRUE(e.KeyDown('A', false));
    EXPECT_EQ(e.currentIndex, 1);
    EXPECT_EQ(e.currentBranch, 0);
    // No branch here: with NoZarnNoHint the next move has no letter and the letter keys do nothing.
    EXPECT_EQ(Letters(), "");
    EXPECT_TRUE(e.KeyDown('A', false));
    EXPECT_EQ(e.currentIndex, 1);
    e.settings.noZarnNoHint = false;
    e.RecountHints();
    EXPECT_EQ(Letters(), "A");
    // The numeric pad follows as well, and is consumed.
    e.StepBack();
    EXPECT_TRUE(e.KeyDown(kKeyNumpad1 + 1, false));
    EXPECT_EQ(e.currentBranch, 1);
}

TEST_F(NavigationTest, ShuffledLettersDealAAndBInEitherOrder) {
    MakeFan("dd pp", 1);
    e.settings.salala = true;
    std::string seen;
    for (unsigned seed = 0; seed < 2; ++seed) {
        e.random = [seed]() { return seed; };
        e.RecountHints();
        ASSERT_EQ(e.hintLetters.size(), 2u);
        // Both letters are dealt once each.
        EXPECT_NE(e.hintLetters[0].letter, e.hintLetters[1].letter);
        seen += e.hintLetters[1].letter;  // the letter on the next move
    }
    // r = 0 gives number 2 to the branch and 1 to the next move; r = 1 the other way round.
    EXPECT_EQ(seen, "AB");
}

TEST_F(NavigationTest, PassContinuationsGoToTheHintBox) {
    MakeMainLine("dd -- pp");
    AddBranch(MakeOrigin(1, 0, 1), kWhite, "-- pd");
    e.ReturnToMainLine();
    e.StepForward();
    EXPECT_TRUE(e.passHint);
    EXPECT_EQ(e.selectedHint, MakeAlongLineHint(0));  // the line's own pass comes last and wins
    e.HintBoxClick();
    EXPECT_EQ(e.currentIndex, 2);
    EXPECT_EQ(messages.Text(), " PASS！");
    EXPECT_FALSE(e.passHint);
    EXPECT_EQ(e.selectedHint, 0);

    e.StepBack();
    e.settings.noZarnNoHint = true;
    e.branchMoves[0][2] = P("qq");  // the line itself continues on a point now
    e.LeaveToParent();
    e.ReturnToMainLine();
    e.StepForward();
    EXPECT_EQ(e.selectedHint, 1);
    e.HintBoxClick();
    EXPECT_EQ(e.currentBranch, 1);
}

TEST_F(NavigationTest, WithHintsOffTheHintBoxOpensTheChooser) {
    MakeFan("dd pp", 2);
    e.ToggleHints();
    EXPECT_FALSE(requests.hintsChecked);
    EXPECT_EQ(Letters(), "");
    EXPECT_EQ(e.hintCount, 2);
    requests.chosenVariation = P("cc");
    e.HintBoxClick();
    EXPECT_EQ(requests.chooserShown, 1);
    EXPECT_EQ(e.currentBranch, 2);
    e.ReturnToMainLine();
    requests.chosenVariation = kChosenNextMove;
    e.HintBoxClick();
    EXPECT_EQ(e.currentBranch, 0);
    EXPECT_EQ(e.currentIndex, 1);
    // Switching the hints on switches the coordinate display off.
    e.settings.showXY = true;
    e.KeyDown(kKeyF1, false);
    EXPECT_TRUE(e.hintsShown);
    EXPECT_FALSE(e.settings.showXY);
    EXPECT_FALSE(requests.showXYChecked);
}

TEST_F(NavigationTest, AutoplayRunsToTheEndAndGivesTheCommandsBack) {
    MakeMainLine("aa bb cc");
    e.settings.stoneSound = true;
    ASSERT_TRUE(e.StartAutoplayForward());
    EXPECT_FALSE(requests.navigationEnabled);
    e.AutoplayTick();
    EXPECT_EQ(messages.Text(), "自動再生中");
    e.AutoplayTick();
    e.AutoplayTick();
    EXPECT_EQ(e.autoplayState, 0);
    EXPECT_TRUE(requests.navigationEnabled);
    EXPECT_EQ(requests.stoneSounds, 3);
    EXPECT_EQ(messages.Text(), " No more moves.");
    // At the end forward autoplay does not start; backward runs to the start.
    EXPECT_FALSE(e.StartAutoplayForward());
    ASSERT_TRUE(e.StartAutoplayBackward());
    e.AutoplayTick();
    EXPECT_EQ(messages.Text(), "自動後退中");
    // Stopping clears the autoplay message.
    e.KeyDown(kKeyNumpad5, false);
    EXPECT_EQ(e.autoplayState, 0);
    EXPECT_EQ(messages.Text(), "");
    EXPECT_TRUE(requests.navigationEnabled);
}

TEST_F(NavigationTest, WhileAutoplayRunsOnlyItsOwnKeysAct) {
    MakeMainLine("aa bb cc dd");
    ASSERT_TRUE(e.StartAutoplayForward());
    EXPECT_FALSE(e.KeyDown(kKeyRight, false));
    EXPECT_FALSE(e.KeyDown(kKeyEnd, false));
    EXPECT_FALSE(e.KeyDown('A', false));
    e.Wheel(true);
    EXPECT_EQ(e.currentIndex, 0);
    EXPECT_TRUE(e.KeyDown(kKeyNumpadPlus, false));
    EXPECT_EQ(e.autoplayInterval, 2000);
    EXPECT_EQ(requests.intervalShown, 2);
    e.AutoplayTick();
    EXPECT_EQ(e.currentIndex, 1);
    EXPECT_TRUE(e.KeyDown(kKeyNumpad4, false));  // turns round
    EXPECT_EQ(e.autoplayState, 2);
}

TEST_F(NavigationTest, TheIntervalStaysBetweenOneAndNineSeconds) {
    for (int i = 0; i < 12; ++i) e.AutoplayIntervalUp();
    EXPECT_EQ(e.autoplayInterval, 9000);
    for (int i = 0; i < 12; ++i) e.AutoplayIntervalDown();
    EXPECT_EQ(e.autoplayInterval, 1000);
    EXPECT_EQ(requests.intervalShown, 1);
}

TEST_F(NavigationTest, IdleNumericPadDigitsAreHintKeysNotAutoplay) {
    MakeFan("dd pp", 0);
    EXPECT_TRUE(e.KeyDown(kKeyNumpad6, false));
    EXPECT_EQ(e.autoplayState, 0);
    e.replayMode = false;
    EXPECT_TRUE(e.KeyDown(kKeyNumpad6, false));
    EXPECT_EQ(e.autoplayState, 1);
}

TEST_F(NavigationTest, KeysOfTheTreeAndCtrl) {
    MakeMainLine("dd pp dp pd cc");
    AddBranch(MakeOrigin(1, 0, 1), kWhite, "qd qq", 1);
    AddBranch(MakeOrigin(2, 1, 1), kBlack, "oq", 2);
    e.ReturnToMainLine();
    e.KeyDown(kKeyRight, false);
    e.KeyDown('B', false);
    e.KeyDown('B', false);
    EXPECT_EQ(e.currentBranch, 2);
    EXPECT_EQ(e.variationDepth, 2);
    e.KeyDown(kKeyPageUp, false);
    EXPECT_EQ(e.currentBranch, 1);
    e.KeyDown(kKeyPageUp, false);
    EXPECT_EQ(e.currentBranch, 0);
    EXPECT_EQ(e.currentIndex, 1);
    // With Ctrl held, only Ctrl+Tab acts.
    EXPECT_TRUE(e.KeyDown(kKeyRight, true));
    EXPECT_EQ(e.currentIndex, 1);
    EXPECT_TRUE(e.KeyDown(kKeyTab, true));
    EXPECT_EQ(requests.netLogActivations, 1);
    // The wheel steps both ways.
    e.Wheel(true);
    EXPECT_EQ(e.currentIndex, 2);
    e.Wheel(false);
    e.Wheel(false);
    EXPECT_EQ(e.currentIndex, 0);
    ExpectConsistent();
}

}  // namespace
}  // namespace quorvel::test

namespace quorvel::test {
namespace {

class RotateTest : public EngineTest {};

TEST_F(RotateTest, TheRecordTurnsAndTheSamePositionIsShownAgain) {
    MakeMainLine("ab aa ba dd pq");  // black captures white aa with ba
    AddBranch(MakeOrigin(3, 0, 3), kWhite, "qq rr");
    e.setupList[1] = 0;
    e.markGrid[P("cc")] = 3;
    e.ReturnToMainLine();
    e.StepForward();
    e.StepForward();
    e.StepForward();
    ASSERT_TRUE(e.FollowPoint(P("qq")));
    e.StepForward();
    ASSERT_EQ(e.whiteCaptured, 1);
    const int shown = e.currentIndex;

    e.RotateRecord();
    ExpectConsistent();
    EXPECT_EQ(e.currentIndex, shown);
    EXPECT_EQ(e.currentBranch, 1);
    EXPECT_EQ(e.board[P("ss")], kEmpty);  // aa was captured; it turns to ss
    EXPECT_EQ(e.board[P("sr")], kBlack);  // ab
    EXPECT_EQ(e.board[P("rs")], kBlack);  // ba
    EXPECT_EQ(e.board[P("cc")], kWhite);  // qq
    EXPECT_EQ(e.board[P("bb")], kBlack);  // rr
    EXPECT_EQ(e.branchMoves[0][5], P("dc"));  // pq
    EXPECT_EQ(e.markGrid[P("qq")], 3);
    EXPECT_EQ(e.whiteCaptured, 1);

    e.RotateRecord();
    EXPECT_EQ(e.board[P("qq")], kWhite);
    EXPECT_EQ(e.branchMoves[0][5], P("pq"));
    EXPECT_EQ(e.markGrid[P("cc")], 3);
    ExpectConsistent();
}

}  // namespace
}  // namespace quorvel::test
