#include "engine_fixture.h"

namespace quorvel::test {
namespace {

class RecordTreeTest : public EngineTest {
protected:
    // Main line dd pp dp pd cc; branch 1 replaces move 2 (pp) with qd qq; branch 2, inside branch 1,
    // replaces its second move (qq) with oq; branch 3 replaces move 4 (pd) with qc.
    void MakeTree() {
        MakeMainLine("dd pp dp pd cc");
        AddBranch(MakeOrigin(1, 0, 1), kWhite, "qd qq", 1);
        AddBranch(MakeOrigin(2, 1, 1), kBlack, "oq", 2);
        AddBranch(MakeOrigin(3, 0, 3), kWhite, "qc", 1);
        e.ReturnToMainLine();
        ASSERT_EQ(CheckBranchTable(e), "");
    }
    void StepTo(int index) {
        while (e.currentIndex < index) e.StepForward();
        while (e.currentIndex > index) e.StepBack();
    }
};

TEST_F(RecordTreeTest, ANewRecordIsEmptyAndUnknown) {
    e.info.blackPlayer = "x";
    e.branchCount = 3;
    e.NewRecord();
    EXPECT_EQ(e.info.blackPlayer, "不明");
    EXPECT_EQ(e.info.resultText, "不明");
    EXPECT_EQ(e.summaryText, "G");
    EXPECT_EQ(e.gameComment, "G");
    EXPECT_EQ(e.headerText, "(;GM[1]FF[1]SZ[19]");
    EXPECT_EQ(e.branchCount, 0);
    EXPECT_EQ(e.branchOrigin[0], 0);
    EXPECT_EQ(e.moveLimit, 500);
    EXPECT_EQ(e.blackFirst, 1);
    ExpectConsistent();
}

TEST_F(RecordTreeTest, BranchesAreFoundByTheirOrigin) {
    MakeTree();
    EXPECT_EQ(e.BranchesAt(0), 0);
    EXPECT_EQ(e.BranchesAt(1), 1);
    EXPECT_EQ(e.BranchesAt(3), 1);
    EXPECT_EQ(OriginParent(e.branchOrigin[2]), 1);
    EXPECT_EQ(OriginMove(e.branchOrigin[2]), 1);
    EXPECT_EQ(OriginBase(e.branchOrigin[2]), 2);

    // With three main-line moves in the background, the start of the line finds the branches at move 3.
    e.mainLineOffset = 3;
    e.setupCount = 3;
    e.baseIndex = 3;
    e.currentIndex = 3;
    EXPECT_EQ(e.BranchesAt(3), 1);
    EXPECT_EQ(e.BranchesAt(4), 0);
}

TEST_F(RecordTreeTest, EnteringAndLeavingNestedBranches) {
    MakeTree();
    StepTo(1);
    ASSERT_TRUE(e.FollowPoint(P("qd")));  // the letter of branch 1
    EXPECT_EQ(e.currentBranch, 1);
    EXPECT_EQ(e.variationDepth, 1);
    EXPECT_EQ(e.diagramBranch, 0);
    EXPECT_EQ(e.currentIndex, 2);
    EXPECT_EQ(e.lineEnd, 3);
    EXPECT_EQ(e.board[P("qd")], kWhite);
    EXPECT_EQ(e.board[P("pp")], kEmpty);
    ExpectConsistent();

    e.StepForward();  // qq
    e.StepBack();
    EXPECT_EQ(e.BranchesAt(e.currentIndex), 1);
    ASSERT_TRUE(e.FollowPoint(P("oq")));
    EXPECT_EQ(e.currentBranch, 2);
    EXPECT_EQ(e.variationDepth, 2);
    EXPECT_EQ(e.board[P("oq")], kBlack);
    EXPECT_EQ(messages.Text(), " No more moves.");
    ExpectConsistent();

    e.LeaveToParent();
    EXPECT_EQ(e.currentBranch, 1);
    EXPECT_EQ(e.variationDepth, 1);
    EXPECT_EQ(e.currentIndex, 2);  // where branch 2 began
    EXPECT_EQ(e.board[P("oq")], kEmpty);
    EXPECT_EQ(e.lineMoves[3], P("qq"));
    ExpectConsistent();

    e.ReturnToDiagram();
    EXPECT_EQ(e.currentBranch, 0);
    EXPECT_EQ(e.variationDepth, 0);
    EXPECT_EQ(e.currentIndex, 1);  // the main-line position last reached
    EXPECT_EQ(e.lineEnd, 5);
    ExpectConsistent();

    StepTo(4);
    e.ReturnToMainLine();
    EXPECT_EQ(e.currentIndex, 0);
    EXPECT_EQ(messages.Text(), e.summaryText);
    ExpectConsistent();
}

TEST_F(RecordTreeTest, ABranchEnteredAtTheStartBecomesTheDiagram) {
    MakeMainLine("dd pp");
    AddBranch(MakeOrigin(0, 0, 0), kBlack, "pd dp pp");
    e.ReturnToMainLine();
    ASSERT_TRUE(e.FollowPoint(P("pd")));
    EXPECT_EQ(e.variationDepth, 0);
    EXPECT_EQ(e.diagramBranch, 1);
    EXPECT_EQ(e.mainLinePosition, 1);
    e.StepForward();
    EXPECT_EQ(e.currentIndex, 2);
    EXPECT_EQ(e.mainLinePosition, 2);
    e.ReturnToDiagram();  // stays on branch 1 at its last position
    EXPECT_EQ(e.currentBranch, 1);
    EXPECT_EQ(e.currentIndex, 2);
    ExpectConsistent();
}

TEST_F(RecordTreeTest, AllShowPlaysTheWholeBranch) {
    MakeTree();
    e.settings.allShow = true;
    StepTo(1);
    e.EnterBranch(1);
    EXPECT_EQ(e.currentIndex, e.lineEnd);
    ExpectConsistent();
}

TEST_F(RecordTreeTest, TrialMovesBecomeANewSiblingOnTheDiagram) {
    MakeTree();
    PlayTrial("qp");  // instead of dd
    PlayTrial("dc");
    e.AddTrialMovesAsVariation();
    EXPECT_EQ(e.branchCount, 4);
    EXPECT_EQ(e.currentBranch, 4);
    EXPECT_EQ(e.diagramBranch, 4);
    EXPECT_EQ(e.branchOrigin[4], MakeOrigin(0, 0, 0));
    EXPECT_EQ(e.branchMoves[4][0], MakeHeader(1, kBlack, 2));
    EXPECT_EQ(e.lineEnd, 2);
    EXPECT_EQ(e.moveLimit, 500);
    ExpectConsistent();

    e.ReturnToMainLine();
    EXPECT_EQ(e.BranchesAt(0), 1);
    ASSERT_TRUE(e.FollowPoint(P("qp")));
    EXPECT_EQ(e.currentBranch, 4);
}

TEST_F(RecordTreeTest, TrialMovesBecomeANewChildAheadOfLaterChildren) {
    MakeTree();
    StepTo(2);
    PlayTrial("cq");  // instead of dp, move 3
    PlayTrial("qc");
    e.settings.number = false;
    EXPECT_TRUE(e.AddTrialMovesAsVariation());
    EXPECT_TRUE(e.settings.number);  // a new child variation is shown with its move numbers
    // Children of the main line: branch 1 at move 1, the new one at move 2, the old branch 3 at move 3.
    EXPECT_EQ(e.branchCount, 4);
    EXPECT_EQ(e.currentBranch, 3);
    EXPECT_EQ(e.branchOrigin[3], MakeOrigin(2, 0, 2));
    EXPECT_EQ(e.branchMoves[3][0], MakeHeader(1, kBlack, 2));
    EXPECT_EQ(e.branchOrigin[4], MakeOrigin(3, 0, 3));
    EXPECT_EQ(e.branchMoves[4][1], P("qc"));
    EXPECT_EQ(e.baseIndex, 2);
    EXPECT_EQ(e.variationDepth, 1);
    EXPECT_EQ(e.lineEnd, 4);
    ExpectConsistent();

    e.ReturnToMainLine();
    StepTo(2);
    EXPECT_EQ(e.BranchesAt(2), 1);
    ASSERT_TRUE(e.FollowPoint(P("cq")));
    EXPECT_EQ(e.currentBranch, 3);
    ExpectConsistent();
}

TEST_F(RecordTreeTest, TrialMovesBeyondTheEndExtendTheBranch) {
    MakeTree();
    StepTo(1);
    ASSERT_TRUE(e.FollowPoint(P("qd")));
    e.StepForward();  // qq, the end of branch 1
    PlayTrial("cc");
    PlayTrial("ee");
    e.AddTrialMovesAsVariation();
    EXPECT_EQ(e.branchCount, 3);
    EXPECT_EQ(e.BranchLength(1), 4);
    EXPECT_EQ(e.branchMoves[1][3], P("cc"));
    EXPECT_EQ(e.branchMoves[1][4], P("ee"));
    EXPECT_EQ(e.lineEnd, 5);
    ExpectConsistent();
}

TEST_F(RecordTreeTest, ASiblingInsideAVariationTakesTheSlotAndTheOldBranchKeepsItsComments) {
    MakeTree();
    e.branchComments[3][0] = e.AppendComment("before qc");
    e.branchComments[3][1] = e.AppendComment("on qc");
    StepTo(3);
    ASSERT_TRUE(e.FollowPoint(P("qc")));
    EXPECT_EQ(e.variationDepth, 1);
    e.StepBack();
    PlayTrial("ed");
    e.AddTrialMovesAsVariation();
    EXPECT_EQ(e.branchCount, 4);
    EXPECT_EQ(e.currentBranch, 3);
    EXPECT_EQ(e.branchMoves[3][1], P("ed"));
    EXPECT_EQ(e.branchOrigin[3], MakeOrigin(3, 0, 3));
    EXPECT_EQ(e.branchMoves[4][1], P("qc"));
    EXPECT_EQ(e.CommentText(e.branchComments[4][0]), "before qc");
    EXPECT_EQ(e.CommentText(e.branchComments[4][1]), "on qc");
    EXPECT_FALSE(e.branchComments[3][0].IsSet());
    ExpectConsistent();
}

TEST_F(RecordTreeTest, AVariationThatAlreadyExistsIsRefused) {
    MakeTree();
    StepTo(1);
    // Put the stone of branch 1 directly, as a trial move past the move limit would.
    ASSERT_TRUE(e.IsPlayable(P("qd")));
    e.PlayColour(e.ColourToMove());
    e.moveLimit = e.currentIndex;
    EXPECT_FALSE(e.AddTrialMovesAsVariation());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0], "この棋譜データを保存できません");
    EXPECT_EQ(e.branchCount, 3);
    EXPECT_EQ(e.currentIndex, 1);  // the stored line, replayed to the move before the divergence
    EXPECT_EQ(e.lineMoves[2], P("pp"));
    EXPECT_EQ(e.board[P("qd")], kEmpty);
    EXPECT_EQ(e.moveLimit, 500);
    ExpectConsistent();
}

TEST_F(RecordTreeTest, TheTableRefusesAVariationWhenFull) {
    MakeMainLine("dd pp");
    for (int b = 1; b <= kLastBranch; ++b) AddBranch(MakeOrigin(1, 0, 1), kWhite, "aa");
    e.ReturnToMainLine();
    StepTo(1);
    PlayTrial("bb");
    EXPECT_FALSE(e.AddTrialMovesAsVariation());
    EXPECT_EQ(e.branchCount, kLastBranch);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0], kBranchTableFull);
    ExpectConsistent();
}

TEST_F(RecordTreeTest, CommentsAreEscapedAndTheRootCommentIsTheGameComment) {
    MakeTree();
    e.summaryPrefix = "● 黒 | ○ 白";
    e.StoreComment("root [note]");
    EXPECT_EQ(e.gameComment, "root ［note］");
    EXPECT_EQ(e.summaryText, "● 黒 | ○ 白\r\nroot ［note］");

    StepTo(2);
    e.StoreComment("a)b;c]ゾ");
    EXPECT_EQ(e.CommentText(e.branchComments[0][2]), "a）b；c］ゾ");
    e.StepBack();
    e.StepForward();
    EXPECT_EQ(messages.Text(), "a）b；c］ゾ");

    e.StoreComment("");
    EXPECT_FALSE(e.branchComments[0][2].IsSet());
}

TEST_F(RecordTreeTest, LongCommentsInAPoolOfMegabytesStayWhole) {
    MakeTree();
    // Past 214 KB of pool and past 10,000 bytes of comment, a packed offset * 10000 + length would break.
    const std::string filler(3 * 1024 * 1024, 'x');
    e.AppendComment(filler);
    std::string longComment;
    for (int i = 0; i < 2000; ++i) longComment += "長い解説 ";
    ASSERT_GT(longComment.size(), 10000u);
    StepTo(3);
    e.StoreComment(longComment);
    const CommentRef r = e.branchComments[0][3];
    EXPECT_EQ(r.offset, filler.size());
    EXPECT_EQ(e.CommentText(r), longComment);
    e.StepBack();
    e.StepForward();
    EXPECT_EQ(messages.Text(), longComment);
}

TEST_F(RecordTreeTest, TimeIsShownAfterTheCommentOnTheMainLine) {
    MakeTree();
    e.timeUsed[1] = 75;
    e.timeLeft[1] = 3000 * 100 + 5;
    e.timeUsed[2] = 42;
    e.StepForward();
    EXPECT_EQ(messages.Text(), "消費時間：1分15秒  |  残り時間：50分0秒 / 5手");
    e.StepForward();
    EXPECT_EQ(messages.Text(), "消費時間：42秒");
}

}  // namespace
}  // namespace quorvel::test
