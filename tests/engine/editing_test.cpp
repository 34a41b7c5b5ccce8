// Creation mode and its switches: stones, passes, setup stones between moves, marks, handicap stones,
// "Make" / "CALL" / "Show", and comments written while a record is built.
#include <algorithm>
#include <set>

#include "engine_fixture.h"
#include "formats/sgf_reader.h"
#include "formats/sgf_writer.h"

namespace quorvel::test {
namespace {

class EditingTest : public EngineTest {
  protected:
    void Load(const std::string& text) { LoadRecordText(e, text); }
    // Creation mode on an empty board, as a new record starts.
    void StartCreation() {
        e.NewRecord();
        e.SwitchToCreationMode();
    }
    void Put(const char* letters) { ASSERT_TRUE(e.PutStone(P(letters))) << letters; }
    void Setup(const char* letters, int colour) {
        ASSERT_TRUE(e.SetupStoneClick(P(letters), colour)) << letters;
    }
    std::string Saved() { return WholeRecordText(e); }
};

TEST_F(EditingTest, CreatedMovesBecomeTheMainLineAndSaveAsExactlyThoseMoves) {
    StartCreation();
    EXPECT_FALSE(e.replayMode);
    EXPECT_TRUE(e.firstColourOpen);
    Put("pd");
    EXPECT_FALSE(e.firstColourOpen);
    Put("dp");
    EXPECT_TRUE(e.recordModified);
    ExpectConsistent();
    e.SwitchToReplayMode();
    EXPECT_TRUE(e.replayMode);
    EXPECT_EQ(e.branchCount, 0);
    EXPECT_EQ(e.lineEnd, 2);
    EXPECT_EQ(e.branchMoves[0][0], MakeHeader(0, kBlack, 2));
    EXPECT_EQ(e.branchMoves[0][1], P("pd"));
    EXPECT_EQ(e.branchMoves[0][2], P("dp"));
    EXPECT_EQ(messages.Text(), "\r\n MainMoves : 2");
    const std::string text = Saved();
    EXPECT_EQ(text, "(;SZ[19]GM[1]FF[1]\r\n;B[pd];W[dp])");
    ExpectConsistent();
}

TEST_F(EditingTest, IllegalPointsAndTheFirstColour) {
    StartCreation();
    e.SwitchFirstColour();
    EXPECT_EQ(e.blackFirst, 0);
    Put("aa");
    EXPECT_EQ(e.board[P("aa")], kWhite);
    EXPECT_FALSE(e.PutStone(P("aa")));
    EXPECT_EQ(messages.Text(), "そこは打てません。");
    e.SwitchFirstColour();  // closed after the first move
    EXPECT_EQ(e.blackFirst, 0);
    // Taking back to the start opens it again.
    e.StepBack();
    EXPECT_TRUE(e.firstColourOpen);
}

TEST_F(EditingTest, PassesNameTheirColourAndExtendTheLine) {
    StartCreation();
    ASSERT_TRUE(e.PassCommand());
    EXPECT_EQ(messages.Text(), " 黒 が パ ス !");
    ASSERT_TRUE(e.PassCommand());
    EXPECT_EQ(messages.Text(), " 白 が パ ス !");
    EXPECT_EQ(e.lineEnd, 2);
    e.SetInputMode(3);
    EXPECT_FALSE(e.PassCommand());  // not while setup stones are entered
    EXPECT_EQ(e.currentIndex, 2);
}

TEST_F(EditingTest, ClearToStartStepsBackThenEmptiesTheSetupStones) {
    StartCreation();
    e.SetInputMode(3);
    Setup("cc", kBlack);
    e.SetInputMode(1);
    Put("dd");
    e.ClearToStart();
    EXPECT_EQ(e.currentIndex, 1);
    EXPECT_EQ(e.board[P("cc")], kBlack);
    e.ClearToStart();
    EXPECT_EQ(e.currentIndex, 0);
    EXPECT_EQ(e.baseIndex, 0);
    EXPECT_EQ(e.board[P("cc")], kEmpty);
    EXPECT_TRUE(e.firstColourOpen);
}

TEST_F(EditingTest, SetupClicksAddRecolourAndRemoveAndCarryThePaletteMark) {
    StartCreation();
    e.SetInputMode(3);
    e.SelectMark(5);
    Setup("cc", kBlack);
    EXPECT_EQ(e.markGrid[P("cc")], MakeMark(kBlack, 5));
    Setup("cc", kWhite);
    EXPECT_EQ(e.board[P("cc")], kWhite);
    EXPECT_EQ(e.editSetupList[1], MakeStone(kWhite, P("cc")));
    EXPECT_EQ(e.markGrid[P("cc")], MakeMark(kWhite, 5));
    e.SelectMark(0);
    Setup("dd", kBlack);
    EXPECT_EQ(e.markGrid[P("dd")], 0);
    Setup("cc", kWhite);  // the same colour again removes it, with its mark
    EXPECT_EQ(e.board[P("cc")], kEmpty);
    EXPECT_EQ(e.markGrid[P("cc")], 0);
    EXPECT_EQ(e.baseIndex, 1);
    EXPECT_EQ(e.editSetupList[1], MakeStone(kBlack, P("dd")));
    ExpectConsistent();
}

// A white group is captured by black's third move; setup stones go in and out before and between the moves,
// and every take-back still returns the captured stones.
TEST_F(EditingTest, SetupStonesBetweenMovesWithCapturesKeepTheLineConsistent) {
    StartCreation();
    e.SetInputMode(3);
    Setup("bb", kWhite);
    e.SetInputMode(1);
    PlayAll("ab ba qq cb");  // black ab, white ba ... black captures? (bb has liberties bc)
    e.SetInputMode(3);
    Setup("bc", kBlack);  // fills the last liberty: the later moves are played through again
    ExpectConsistent();
    EXPECT_EQ(e.baseIndex, 2);
    EXPECT_EQ(e.currentIndex, 6);
    EXPECT_EQ(e.lineMoves[3], P("ab"));
    e.SetInputMode(1);
    PlayAll("pp");
    Setup("qp", kWhite);  // recolouring is refused on numbered moves: qp is empty, so it is added
    e.SetInputMode(3);
    EXPECT_FALSE(e.SetupStoneClick(P("ab"), kBlack));  // a numbered move is left alone
    Setup("qp", kWhite);                               // removed again
    ExpectConsistent();
    const int prisoners = e.whiteCaptured + e.blackCaptured;
    for (int k = e.currentIndex; k > e.baseIndex; --k) {
        e.StepBack();
        ExpectConsistent();
    }
    EXPECT_EQ(e.blackCaptured + e.whiteCaptured, 0);
    EXPECT_GE(prisoners, 0);
}

// A setup stone taken by a later move leaves its point empty on the board, but the setup position still
// holds it: a setup stone put there again recolours it instead of adding a second stone on the point, so the
// saved record reads back to the same board.
TEST_F(EditingTest, ASetupStoneOnThePointOfACapturedOneRecoloursIt) {
    StartCreation();
    e.SetInputMode(3);
    Setup("aa", kWhite);
    e.SetInputMode(1);
    PlayAll("ab ee ba");  // black takes aa
    ASSERT_EQ(e.board[P("aa")], kEmpty);
    e.SetInputMode(3);
    EXPECT_FALSE(e.SetupStoneClick(P("aa"), kWhite));  // already a white setup stone
    Setup("aa", kBlack);
    EXPECT_EQ(e.baseIndex, 1);
    EXPECT_EQ(e.board[P("aa")], kBlack);  // and no longer taken
    ExpectConsistent();
    e.SwitchToReplayMode();
    const std::string text = Saved();
    EXPECT_EQ(text.find("AW["), std::string::npos) << text;
    LoadRecordText(e, text);
    while (e.currentIndex < e.lineEnd) e.StepForward();
    EXPECT_EQ(e.board[P("aa")], kBlack);
}

TEST_F(EditingTest, NoSetupStoneGoesWhereANumberedMoveOfTheLineIsPlayed) {
    StartCreation();
    for (const char* p : {"ba", "aa", "ab"}) Put(p);  // black's ab takes white's aa
    ASSERT_EQ(e.board[P("aa")], kEmpty);
    e.SetInputMode(3);
    EXPECT_FALSE(e.SetupStoneClick(P("aa"), kBlack));
    EXPECT_EQ(messages.Text(), "そこは打てません。");
    // Nor on the point of a move taken back, which stepping forward plays again.
    e.StepBack();
    EXPECT_FALSE(e.SetupStoneClick(P("ab"), kWhite));
    EXPECT_EQ(e.baseIndex, 0);
    EXPECT_EQ(e.lineEnd, 3);
    Setup("cc", kWhite);
    e.StepForward();
    EXPECT_EQ(CurrentLineText(e), "(;GM[1]FF[1]SZ[19]\r\nAW[cc]\r\n;B[ba];W[aa];B[ab])");
    ExpectConsistent();
}

TEST_F(EditingTest, ASetupStoneThatCapturesLaterChangesTheCaptureLogEntries) {
    StartCreation();
    // White stone on aa, black plays ab: the capture needs ba as well.
    e.SwitchFirstColour();  // white first
    PlayAll("aa ab");
    e.SetInputMode(3);
    Setup("ba", kBlack);
    // Played again with ba on the board from the start, black's ab now fills aa's last liberty.
    EXPECT_EQ(e.board[P("aa")], kEmpty);
    EXPECT_EQ(e.whiteCaptured, 1);
    ASSERT_EQ(e.captureCount(), 1);
    EXPECT_EQ(CaptureEntryIndex(e.captureLog[0]), 3);
    e.SetInputMode(1);
    ExpectConsistent();
    e.StepBack();
    EXPECT_EQ(e.board[P("aa")], kWhite);  // the take-back returns it
    e.StepForward();
    e.StepBack();
    e.StepBack();
    ExpectConsistent();
    EXPECT_EQ(e.board[P("ba")], kBlack);
    EXPECT_EQ(e.board[P("aa")], kEmpty);
}

TEST_F(EditingTest, AFarSetupStoneKeepsTheCapturesAndRenumbersTheirEntries) {
    StartCreation();
    PlayAll("ab aa ba");  // black's ba takes white's aa
    ASSERT_EQ(e.whiteCaptured, 1);
    PlayAll("pp");  // white elsewhere
    e.SetInputMode(3);
    Setup("jj", kBlack);  // far from every stone of the line
    EXPECT_EQ(e.baseIndex, 1);
    EXPECT_EQ(e.currentIndex, 5);
    ASSERT_EQ(e.captureCount(), 1);
    EXPECT_EQ(CaptureEntryIndex(e.captureLog[0]), 4);
    ExpectConsistent();
    Setup("qq", kWhite);
    Setup("jj", kBlack);  // and out again
    EXPECT_EQ(CaptureEntryIndex(e.captureLog[0]), 4);
    for (int k = 0; k < 4; ++k) {
        e.StepBack();
        ExpectConsistent();
    }
    EXPECT_EQ(e.whiteCaptured, 0);
    EXPECT_EQ(e.board[P("qq")], kWhite);
}

// A line with a ko and captures all over; a setup stone put next to its stones makes the line be played
// again. The result must be that of the same record entered from scratch with the stone in place.
TEST_F(EditingTest, ASetupStoneNextToTheLineGivesTheLineOfARecordBuiltWithIt) {
    // White's bb in black's eye, taken by black's cb: a ko at bb for white.
    const std::string moves = "ba ca ab db bc cc pp bb cb";
    StartCreation();
    PlayAll(moves);
    ASSERT_EQ(e.groupGrid[P("bb")], kKoMark);
    e.SetInputMode(3);
    Setup("ee", kWhite);  // away from the line's stones: only renumbered
    Setup("dc", kBlack);  // next to white's cc and db: played again
    ExpectConsistent();

    MemoryMessageArea otherMessages;
    Engine fresh(otherMessages, dialogs);
    fresh.SwitchToCreationMode();
    fresh.SetInputMode(3);
    ASSERT_TRUE(fresh.SetupStoneClick(P("ee"), kWhite));
    ASSERT_TRUE(fresh.SetupStoneClick(P("dc"), kBlack));
    fresh.SetInputMode(1);
    for (const std::string& m : SplitMoves(moves)) {
        ASSERT_TRUE(fresh.IsPlayable(P(m.c_str())) && fresh.PlayColour(fresh.ColourToMove())) << m;
    }
    EXPECT_EQ(e.captureLog, fresh.captureLog);
    EXPECT_EQ(e.board, fresh.board);
    EXPECT_EQ(e.groupGrid, fresh.groupGrid);
    EXPECT_EQ(e.libertyGrid, fresh.libertyGrid);
    EXPECT_EQ(e.blackCaptured, fresh.blackCaptured);
    EXPECT_EQ(e.whiteCaptured, fresh.whiteCaptured);
    for (int k = 0; k < 6; ++k) {
        e.StepBack();
        fresh.StepBack();
        EXPECT_EQ(e.board, fresh.board) << k;
        EXPECT_EQ(e.groupGrid, fresh.groupGrid) << k;
    }
    EXPECT_EQ(e.groupGrid[P("bb")], fresh.groupGrid[P("bb")]);
}

TEST_F(EditingTest, TheLineLimitRefusesASetupStoneWithAMessage) {
    StartCreation();
    for (int k = 1; k <= kMaxLineEntries; ++k) ASSERT_TRUE(e.Pass(e.ColourToMove()));
    e.lineEnd = e.currentIndex;
    e.SetInputMode(3);
    EXPECT_FALSE(e.SetupStoneClick(P("cc"), kBlack));
    EXPECT_EQ(messages.Text(), " 手順数が上限 ( 499 ) に達しています。");
    EXPECT_EQ(e.lineMoves[kMaxLineEntries], kPass);
    EXPECT_EQ(e.baseIndex, 0);
}

TEST_F(EditingTest, MarksToggleOnEmptyPointsOnlyInMarkMode) {
    StartCreation();
    e.SetInputMode(3);
    e.SpaceBarDown();
    EXPECT_FALSE(e.editing.markMode);  // no mark selected
    e.SelectMark(2);
    e.SpaceBarDown();
    EXPECT_TRUE(e.editing.markMode);
    e.recordModified = false;
    EXPECT_TRUE(e.ToggleMark(P("dd")));
    EXPECT_EQ(e.markGrid[P("dd")], 2);
    EXPECT_TRUE(e.recordModified);  // a mark alone is a change to save
    EXPECT_TRUE(e.ToggleMark(P("dd")));
    EXPECT_EQ(e.markGrid[P("dd")], 0);
    e.MarkKeyReleased();
    EXPECT_FALSE(e.ToggleMark(P("dd")));
    e.SelectMark(8);  // there is no kind 8
    EXPECT_EQ(e.editing.selectedMark, 0);
}

// Expected points written out from the placing order of 19-line handicaps, as (column, row).
TEST_F(EditingTest, HandicapStonesFollowTheirOrder) {
    const auto points = [&](std::initializer_list<std::pair<int, int>> list) {
        std::set<PointCode> out;
        for (auto [c, r] : list) out.insert(MakePoint(c, r));
        return out;
    };
    const std::set<PointCode> corners = points({{4, 16}, {16, 4}, {4, 4}, {16, 16}});
    struct Case {
        int n;
        std::set<PointCode> expected;
    };
    std::vector<Case> cases = {
        {2, points({{4, 16}, {16, 4}})},
        {3, points({{4, 16}, {16, 4}, {4, 4}})},
        {4, corners},
        {5, points({{4, 16}, {16, 4}, {4, 4}, {16, 16}, {10, 10}})},
        {6, points({{4, 16}, {16, 4}, {4, 4}, {16, 16}, {4, 10}, {16, 10}})},
        {8, points({{4, 16}, {16, 4}, {4, 4}, {16, 16}, {4, 10}, {16, 10}, {10, 4}, {10, 16}})},
        {11, points({{4, 16},
                     {16, 4},
                     {4, 4},
                     {16, 16},
                     {4, 10},
                     {16, 10},
                     {10, 4},
                     {10, 16},
                     {10, 10},
                     {7, 7},
                     {7, 13}})},
    };
    for (const Case& c : cases) {
        StartCreation();
        ASSERT_TRUE(e.PlaceHandicapStones(c.n)) << c.n;
        std::set<PointCode> placed;
        for (int k = 1; k <= e.baseIndex; ++k) {
            placed.insert(e.lineMoves[k]);
            EXPECT_EQ(e.editSetupList[k], MakeStone(kBlack, e.lineMoves[k]));
        }
        EXPECT_EQ(placed, c.expected) << c.n;
        EXPECT_EQ(e.blackFirst, 0);
        EXPECT_EQ(e.ColourToMove(), kWhite);
    }
    for (int n = 2; n <= 29; ++n) {
        StartCreation();
        ASSERT_TRUE(e.PlaceHandicapStones(n));
        std::set<PointCode> distinct(e.lineMoves.begin() + 1, e.lineMoves.begin() + 1 + e.baseIndex);
        EXPECT_EQ(e.baseIndex, n);
        EXPECT_EQ(static_cast<int>(distinct.size()), n) << n;
        ExpectConsistent();
    }
    EXPECT_FALSE(e.PlaceHandicapStones(30));
}

TEST_F(EditingTest, SmallBoardsUseTheirOwnStarPointsOrRefuse) {
    e.ChangeBoardSize(9);
    StartCreation();
    ASSERT_TRUE(e.PlaceHandicapStones(5));
    std::set<PointCode> placed(e.lineMoves.begin() + 1, e.lineMoves.begin() + 6);
    EXPECT_EQ(placed, (std::set<PointCode>{MakePoint(3, 7), MakePoint(7, 3), MakePoint(3, 3), MakePoint(7, 7),
                                           MakePoint(5, 5)}));
    StartCreation();
    EXPECT_FALSE(e.PlaceHandicapStones(10));
    EXPECT_EQ(messages.Text(), " この碁盤には、その数の置石を置けません。");
    EXPECT_EQ(e.baseIndex, 0);
    e.ChangeBoardSize(7);
    StartCreation();
    EXPECT_FALSE(e.PlaceHandicapStones(2));
}

TEST_F(EditingTest, MakeCallShowGivesTheRecordBackWithItsComments) {
    Load("(;GM[1]SZ[19]PB[Kuro];B[pd]C[first];W[dp];B[pp]C[third];W[dd]C[fourth])");
    e.StepForward();
    e.StepForward();
    e.markGrid[P("jj")] = 3;
    ASSERT_FALSE(e.memos.blackName.empty());
    e.SwitchToCreationMode();
    EXPECT_TRUE(e.memos.blackName.empty());
    EXPECT_EQ(e.markGrid[P("jj")], 0);
    EXPECT_EQ(e.storedStoneCount, 2);
    EXPECT_EQ(e.storedMoveCount, 2);
    EXPECT_EQ(e.board[P("pd")], kEmpty);
    e.recordModified = false;
    e.CallStoredPosition();
    EXPECT_TRUE(e.recordModified);
    EXPECT_EQ(e.baseIndex, 2);
    EXPECT_EQ(e.board[P("pd")], kBlack);
    EXPECT_EQ(e.board[P("dp")], kWhite);
    EXPECT_EQ(e.markGrid[P("jj")], 3);
    e.CallStoredPosition();
    EXPECT_EQ(messages.Text(), "CALL NG ( You have to clear the board )");
    ExpectConsistent();
    e.SwitchToReplayMode();
    EXPECT_EQ(e.setupCount, 2);
    EXPECT_EQ(e.lineEnd, 4);
    EXPECT_EQ(e.branchMoves[0][1], P("pp"));
    EXPECT_EQ(e.CommentText(e.branchComments[0][1]), "third");
    EXPECT_EQ(e.CommentText(e.branchComments[0][2]), "fourth");
    const std::string text = Saved();
    EXPECT_NE(text.find("AB[pd]"), std::string::npos) << text;
    EXPECT_NE(text.find("AW[dp]"), std::string::npos) << text;
    EXPECT_NE(text.find(";B[pp]C[third];W[dd]C[fourth]"), std::string::npos) << text;
    EXPECT_NE(text.find("CR[jj]"), std::string::npos) << text;
    // Read back, the record shows the same position and moves.
    Engine back(messages, dialogs);
    LoadRecordText(back, text);
    // The branch table and times, after the head (whose line breaks the reader tidies).
    const auto table = [](const Engine& x) {
        const std::string d = DescribeRecord(x);
        return d.substr(d.rfind("\n" + std::to_string(x.branchOrigin[0]) + ":"));
    };
    EXPECT_EQ(table(back), table(e));
    EXPECT_EQ(back.setupCount, 2);
}

TEST_F(EditingTest, ShowWithoutCreatingRestoresTheRecordItsMarksAndMemos) {
    Load("(;GM[1]SZ[19]PB[Kuro]TR[cc];B[pd];W[dp](;B[pp])(;B[qq]))");
    const std::string before = DescribeRecord(e);
    const std::string black = e.memos.blackName;
    e.SwitchToCreationMode();
    e.SwitchToReplayMode();
    EXPECT_EQ(DescribeRecord(e), before);
    EXPECT_EQ(e.markGrid[P("cc")], 5);
    EXPECT_EQ(e.memos.blackName, black);
    EXPECT_EQ(e.currentIndex, 0);
    ExpectConsistent();
}

TEST_F(EditingTest, CommentsWrittenInCreationModeSurviveShow) {
    StartCreation();
    Put("pd");
    std::string text;
    ASSERT_TRUE(e.BeginCommentEdit(text));
    EXPECT_EQ(text, "");
    e.FinishCommentEdit("a [good] move");
    Put("dp");
    e.SwitchToReplayMode();
    EXPECT_EQ(e.CommentText(e.branchComments[0][1]), "a ［good］ move");
    EXPECT_NE(Saved().find(";B[pd]C[a ［good］ move];W[dp]"), std::string::npos);
}

TEST_F(EditingTest, TheWholeRecordOfCreationModeIsTheBuiltLineWithItsSetupMarksAndComments) {
    // The branch table still holds the record shown before "Make"; "ADD" must neither write it nor
    // compare the built line with it.
    Load("(;GM[1]SZ[19];B[aa];W[bb]C[old])");
    e.SwitchToCreationMode();
    std::string text;
    ASSERT_TRUE(e.BeginCommentEdit(text));
    e.FinishCommentEdit("before the moves");
    e.SetInputMode(3);
    e.SelectMark(5);  // the triangle
    Setup("cc", kBlack);
    e.SetInputMode(1);
    for (const char* p : {"pd", "dp"}) Put(p);
    ASSERT_TRUE(e.BeginCommentEdit(text));
    e.FinishCommentEdit("second");
    MemoryClipboard clipboard;
    e.SetClipboard(clipboard);
    AddVariationCommand(e);
    EXPECT_EQ(messages.Text(),
              "(;GM[1]FF[1]SZ[19]\r\nGC[before the moves]\r\nAB[cc]\r\nTR[cc]\r\n;B[pd];W[dp]C[second])");
    EXPECT_EQ(clipboard.Text(), messages.Text());
    EXPECT_EQ(e.branchCount, 0);
    EXPECT_EQ(e.BranchLength(0), 2);
    EXPECT_EQ(e.branchMoves[0][1], P("aa"));
    EXPECT_EQ(e.lineEnd, 3);
    EXPECT_EQ(e.lineMoves[3], P("dp"));

    // Read back, the record is the one that was built.
    Load(clipboard.Text());
    EXPECT_EQ(e.gameComment, "before the moves");
    EXPECT_EQ(e.setupCount, 1);
    EXPECT_EQ(e.setupList[1], MakeStone(kBlack, P("cc")));
    EXPECT_EQ(e.markGrid[P("cc")] % 1000, 5);
    EXPECT_EQ(e.BranchLength(0), 2);
    EXPECT_EQ(e.CommentText(e.branchComments[0][2]), "second");
}

TEST_F(EditingTest, CommentsOfTakenBackMovesGoWhenOtherMovesReplaceThem) {
    StartCreation();
    std::string text;
    const auto comment = [&](const char* c) {
        ASSERT_TRUE(e.BeginCommentEdit(text));
        e.FinishCommentEdit(c);
    };
    comment("root");
    Put("pd");
    comment("first");
    Put("dp");
    comment("second");
    // Taken back and played again, a move keeps its comment.
    e.StepBack();
    e.StepForward();
    EXPECT_NE(CurrentLineText(e).find(";W[dp]C[second]"), std::string::npos);
    // Another move in its place does not take it over, nor do later ones.
    e.StepBack();
    Put("qq");
    Put("cc");
    EXPECT_EQ(CurrentLineText(e), "(;GM[1]FF[1]SZ[19]\r\nGC[root]\r\n;B[pd]C[first];W[qq];B[cc])");
    // Back to the start and a new first move: the line's comments go, the root comment stays.
    e.ClearToStart();
    Put("dd");
    Put("ee");
    EXPECT_EQ(CurrentLineText(e), "(;GM[1]FF[1]SZ[19]\r\nGC[root]\r\n;B[dd];W[ee])");
    // An emptied board (only setup stones were left) starts a new line too.
    e.ClearToStart();
    e.SetInputMode(3);
    Setup("aa", kWhite);
    comment("on the setup");
    e.SetInputMode(1);
    Put("bb");
    comment("kept");
    e.ClearToStart();
    e.ClearToStart();
    Put("ss");
    e.SwitchToReplayMode();
    EXPECT_FALSE(e.branchComments[0][1].IsSet());
    EXPECT_EQ(e.gameComment, "on the setup");
}

TEST_F(EditingTest, ANewRecordForgetsTheCommentsOfTheOneBeingBuilt) {
    StartCreation();
    Put("pd");
    std::string text;
    ASSERT_TRUE(e.BeginCommentEdit(text));
    e.FinishCommentEdit("old");
    e.NewRecord();  // creation mode goes on with an empty line
    Put("dp");
    e.SwitchToReplayMode();
    EXPECT_FALSE(e.branchComments[0][1].IsSet());
}

TEST_F(EditingTest, CommentsOfABuiltLineFollowItsMovesToANewStart) {
    StartCreation();
    std::string text;
    ASSERT_TRUE(e.BeginCommentEdit(text));
    e.FinishCommentEdit("at the start");
    for (const char* p : {"pd", "dp", "pp"}) Put(p);
    ASSERT_TRUE(e.BeginCommentEdit(text));
    e.FinishCommentEdit("third");
    ASSERT_TRUE(e.MakePositionTheStart(P("dp")));  // entry 2: pd and dp become setup stones
    EXPECT_EQ(e.baseIndex, 2);
    EXPECT_EQ(e.currentIndex, 3);
    e.SwitchToReplayMode();
    EXPECT_EQ(e.CommentText(e.branchComments[0][1]), "third");
    EXPECT_EQ(e.gameComment, "at the start");
    ExpectConsistent();
}

TEST_F(EditingTest, EditCInReplayModeStoresAtTheRootAndOnMoves) {
    Load("(;GM[1]SZ[19];B[pd];W[dp])");
    std::string text;
    ASSERT_TRUE(e.BeginCommentEdit(text));
    e.FinishCommentEdit("root");
    EXPECT_EQ(e.gameComment, "root");
    e.StepForward();
    ASSERT_TRUE(e.BeginCommentEdit(text));
    e.FinishCommentEdit("move one");
    EXPECT_EQ(messages.Text(), "move one");
    e.StepBack();
    e.StepForward();
    EXPECT_EQ(messages.Text(), "move one");
    EXPECT_TRUE(e.recordModified);
}

TEST_F(EditingTest, TrialMovesInReplayModeStopSteppingAtTheirEntry) {
    Load("(;GM[1]SZ[19];B[pd];W[dp];B[pp])");
    e.StepForward();
    ASSERT_TRUE(e.PlayTrialMove(P("dp")));  // follows the record
    EXPECT_EQ(e.moveLimit, kNormalMoveLimit);
    ASSERT_TRUE(e.PlayTrialMove(P("cc")));
    EXPECT_EQ(e.moveLimit, 3);
    EXPECT_EQ(e.hintPosition, 2);
    EXPECT_EQ(e.board[P("cc")], kBlack);
    e.StepBack();
    e.StepForward();
    EXPECT_EQ(e.currentIndex, 2);  // the stored move 3 was overwritten by the trial move
    e.hintsShown = false;
    EXPECT_FALSE(e.PlayTrialMove(P("ee")));
}

}  // namespace
}  // namespace quorvel::test
