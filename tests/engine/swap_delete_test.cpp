// Replay-mode changes to the record: Swap, deleting moves and variations, relocating stones, replacing a
// pass, making a position the start; and a seeded random editing session saved and read back at each step.
#include <algorithm>
#include <functional>
#include <random>

#include "engine_fixture.h"
#include "formats/sgf_reader.h"
#include "formats/sgf_writer.h"

namespace quorvel::test {
namespace {

class ReplayEditingTest : public EngineTest {
  protected:
    void Load(const std::string& text) { LoadRecordText(e, text); }
    std::string Saved() {
        e.settings.zarnStyle = false;
        return WholeRecordText(e);
    }
    void Forward(int n) {
        for (int k = 0; k < n; ++k) e.StepForward();
    }
};

TEST_F(ReplayEditingTest, SwappingTheDiagramWithTheMainLineAndBackGivesTheSameRecord) {
    Load("(;GM[1]SZ[19](;B[pd]C[p];W[dp](;B[qq])(;B[cc]))(;B[dd]C[d];W[pp];B[jj]))");
    const std::string before = Saved();
    ASSERT_EQ(e.branchCount, 2);
    e.EnterBranch(2);  // the alternative to the first move: the diagram
    ASSERT_EQ(e.variationDepth, 0);
    dialogs.nextAnswer = Answer::Yes;
    ASSERT_TRUE(e.SwapVariation());
    EXPECT_EQ(dialogs.asked.back(), " 今の子手順を親手順に置換えますか？");
    EXPECT_EQ(dialogs.askedCaptions.back(), " Quorvel : 置換えの確認");
    EXPECT_EQ(e.currentBranch, 0);
    EXPECT_EQ(e.diagramBranch, 0);
    EXPECT_EQ(e.branchMoves[0][1], P("dd"));
    EXPECT_EQ(e.BranchLength(0), 3);
    EXPECT_EQ(e.CommentText(e.branchComments[0][1]), "d");
    // The former main line is an alternative now, with its own variation still after its move 2.
    EXPECT_EQ(e.branchMoves[1][1], P("pd"));
    EXPECT_EQ(e.branchOrigin[1], e.branchOrigin[0]);
    EXPECT_EQ(OriginParent(e.branchOrigin[2]), 1);
    EXPECT_EQ(e.branchMoves[2][1], P("cc"));
    ExpectConsistent();

    e.ReturnToMainLine();
    e.EnterBranch(1);
    ASSERT_TRUE(e.SwapVariation());
    EXPECT_EQ(Saved(), before);
}

TEST_F(ReplayEditingTest, SwappingAVariationWithItsParentMovesTheBranchesWithTheirMoves) {
    Load(
        "(;GM[1]SZ[19];B[aa];W[bb](;B[cc]C[c];W[dd];B[ee](;W[ff])(;W[gg]))(;B[hh]C[h];W[ii](;B[jj])(;B[kk]))"
        ")");
    const std::string before = Saved();
    // Main: aa bb cc dd ee ff; gg after ee; the variation hh ii jj with kk after ii.
    Forward(2);
    ASSERT_TRUE(e.FollowPoint(P("hh")));
    ASSERT_EQ(e.variationDepth, 1);
    const int c = e.currentBranch;
    dialogs.nextAnswer = Answer::No;
    EXPECT_FALSE(e.SwapVariation());
    dialogs.nextAnswer = Answer::Yes;
    ASSERT_TRUE(e.SwapVariation());
    EXPECT_EQ(e.currentBranch, 0);
    EXPECT_EQ(e.variationDepth, 0);
    EXPECT_EQ(e.currentIndex, 3);
    EXPECT_EQ(e.BranchLength(0), 5);  // aa bb hh ii jj
    EXPECT_EQ(e.branchMoves[0][3], P("hh"));
    EXPECT_EQ(e.CommentText(e.branchComments[0][3]), "h");
    EXPECT_EQ(e.branchMoves[c][1], P("cc"));
    EXPECT_EQ(e.BranchLength(c), 4);  // cc dd ee ff
    EXPECT_EQ(e.CommentText(e.branchComments[c][1]), "c");
    ExpectConsistent();
    // gg hung on the main line after ee (move 5): now on the swapped-out line after its move 3.
    bool found = false;
    for (int j = 1; j <= e.branchCount; ++j) {
        if (e.branchMoves[j][1] == P("gg")) {
            found = true;
            EXPECT_EQ(OriginParent(e.branchOrigin[j]), c);
            EXPECT_EQ(OriginMove(e.branchOrigin[j]), 3);
            EXPECT_EQ(HeaderDepth(e.branchMoves[j][0]), 2);
        }
        if (e.branchMoves[j][1] == P("kk")) {
            EXPECT_EQ(OriginParent(e.branchOrigin[j]), 0);
            EXPECT_EQ(OriginMove(e.branchOrigin[j]), 4);
        }
    }
    EXPECT_TRUE(found);
    // Swapping back restores the record byte for byte.
    e.StepBack();
    ASSERT_TRUE(e.FollowPoint(P("cc")));
    ASSERT_TRUE(e.SwapVariation());
    EXPECT_EQ(Saved(), before);
}

TEST_F(ReplayEditingTest, SwapRefusesWhatItCannotDo) {
    // A variation with a child, its parent with a branch after the branch point, and a later sibling.
    MakeMainLine("aa bb cc dd");
    AddBranch(MakeOrigin(1, 0, 1), kWhite, "ee ff");
    AddBranch(MakeOrigin(2, 1, 1), kBlack, "gg", 2);
    AddBranch(MakeOrigin(1, 0, 1), kWhite, "hh");
    AddBranch(MakeOrigin(3, 0, 3), kWhite, "ii");
    ASSERT_EQ(CheckBranchTable(e), "");
    e.StepForward();
    e.EnterBranch(1);
    dialogs.nextAnswer = Answer::Yes;
    EXPECT_FALSE(e.SwapVariation());
    EXPECT_EQ(messages.Text(), "Can not change.");
    EXPECT_EQ(e.currentBranch, 1);

    // A full table has no room for the moved block.
    MakeMainLine("aa bb");
    for (int j = 1; j <= kLastBranch; ++j)
        AddBranch(MakeOrigin(0, 0, 0), kBlack, SgfPointText(MakePoint(j % 19 + 1, j / 19 + 3)));
    e.EnterBranch(1);
    EXPECT_FALSE(e.SwapVariation());
    EXPECT_EQ(dialogs.shown.back(), "メモリーオーバーのため、置換えできません");
    EXPECT_EQ(e.branchMoves[0][1], P("aa"));
}

class DeleteTest : public ReplayEditingTest {
  protected:
    // Main aa bb cc dd; ff gg after move 2 with hh after ff; ee after move 3.
    void MakeTree() {
        MakeMainLine("aa bb cc dd");
        AddBranch(MakeOrigin(2, 0, 2), kBlack, "ff gg");
        AddBranch(MakeOrigin(3, 1, 1), kWhite, "hh", 2);
        AddBranch(MakeOrigin(3, 0, 3), kWhite, "ee");
        ASSERT_EQ(CheckBranchTable(e), "");
    }
};

TEST_F(DeleteTest, DeletingLastMovesTakesTheBranchesHangingOnThem) {
    MakeTree();
    e.StepForward();
    ASSERT_TRUE(e.BeginDeleteMoves());
    EXPECT_EQ(e.currentIndex, 4);
    EXPECT_EQ(e.DeleteClick(P("cc")), Engine::DeleteResult::Nothing);  // not the last stone
    EXPECT_EQ(e.DeleteClick(P("dd")), Engine::DeleteResult::LastMove);
    EXPECT_EQ(e.branchCount, 2);  // ee, the alternative to dd, went with it
    EXPECT_EQ(e.branchMoves[1][1], P("ff"));
    EXPECT_EQ(e.DeleteClick(P("cc")), Engine::DeleteResult::LastMove);
    EXPECT_EQ(e.branchCount, 0);  // ff gg with hh after ff
    EXPECT_EQ(e.lineEnd, 2);
    EXPECT_EQ(e.BranchLength(0), 2);
    EXPECT_EQ(e.summaryText, "\r\n MainMoves : 2");
    ExpectConsistent();
    e.EndDeleteMoves(Engine::DeleteResult::LastMove);
    EXPECT_EQ(e.currentIndex, 1);
    EXPECT_FALSE(e.deletingMoves);
}

TEST_F(DeleteTest, TheRememberedPositionPastTheNewEndGoesToTheEnd) {
    MakeTree();
    Forward(4);
    ASSERT_TRUE(e.BeginDeleteMoves());
    e.DeleteClick(P("dd"));
    e.DeleteClick(P("cc"));
    e.EndDeleteMoves(Engine::DeleteResult::LastMove);
    EXPECT_EQ(e.currentIndex, 2);
    ExpectConsistent();
}

TEST_F(DeleteTest, TheFirstStoneOfAVariationDeletesItWithItsDescendants) {
    MakeTree();
    Forward(2);
    ASSERT_TRUE(e.FollowPoint(P("ff")));
    ASSERT_TRUE(e.BeginDeleteMoves());
    EXPECT_EQ(e.DeleteClick(P("ff")), Engine::DeleteResult::Variation);
    e.EndDeleteMoves(Engine::DeleteResult::Variation);
    EXPECT_EQ(e.branchCount, 1);
    EXPECT_EQ(e.branchMoves[1][1], P("ee"));
    EXPECT_EQ(e.branchOrigin[1], MakeOrigin(3, 0, 3));
    EXPECT_EQ(e.currentBranch, 0);
    EXPECT_EQ(e.currentIndex, 2);
    ExpectConsistent();
}

TEST_F(DeleteTest, SetupStonesAreNeverDeleted) {
    Load("(;GM[1]SZ[19]AB[aa][bb])");
    EXPECT_FALSE(e.BeginDeleteMoves());
}

TEST_F(ReplayEditingTest, AVariationsOpeningCommentGoesWithItsMovesIntoTheParentLine) {
    Load("(;GM[1]SZ[19];B[pd]C[one];W[dp](;B[pp])(;C[opening];B[qq];W[cc]))");
    ASSERT_EQ(e.branchCount, 1);
    ASSERT_EQ(e.CommentText(e.branchComments[1][0]), "opening");
    Forward(2);
    ASSERT_TRUE(e.FollowPoint(P("qq")));
    ASSERT_EQ(e.variationDepth, 1);
    dialogs.nextAnswer = Answer::Yes;
    ASSERT_TRUE(e.SwapVariation());
    EXPECT_EQ(e.CommentText(e.branchComments[0][2]), "opening");
    EXPECT_FALSE(e.branchComments[1][0].IsSet());
    const std::string text = Saved();
    EXPECT_EQ(text, "(;GM[1]SZ[19]\r\n;B[pd]C[one];W[dp]C[opening]\r\n(;B[qq];W[cc])\r\n(;B[pp])\r\n)");
    Load(text);
    EXPECT_EQ(e.CommentText(e.branchComments[0][2]), "opening");
    ExpectConsistent();
}

// What a move's node keeps beyond the move (times, marks, names) goes with the move through every edit
// that moves it, and goes only with the moves an edit deletes.
TEST_F(ReplayEditingTest, WhatANodeKeepsGoesWithItsMoveThroughEdits) {
    const char* const record =
        "(;GM[1]SZ[19];B[pd]BL[10];W[dp]WL[9]N[w](;B[pp]TR[pp];W[dd]LB[dd:A])(;C[alt]SQ[cc];B[qq]BL[8];W[cc]))";
    struct Case {
        const char* name;
        std::function<void()> edit;
        std::vector<std::string> kept;  // each once in the saved record
        std::vector<std::string> gone;
    };
    const std::vector<std::string> all = {";B[pd]BL[10]", ";W[dp]WL[9]N[w]", ";B[pp]TR[pp]", ";W[dd]LB[dd:A]",
                                          "SQ[cc]", ";B[qq]BL[8]"};
    const Case cases[] = {
        {"nothing", [] {}, all, {}},
        {"swap",
         [&] {
             Forward(2);
             ASSERT_TRUE(e.FollowPoint(P("qq")));
             dialogs.nextAnswer = Answer::Yes;
             ASSERT_TRUE(e.SwapVariation());
         },
         // The variation's opening node follows the move before it, after that move's comment.
         {";B[pd]BL[10]", "WL[9]N[w];SQ[cc]", ";B[pp]TR[pp]", ";W[dd]LB[dd:A]", ";B[qq]BL[8]"}, {}},
        {"reset", [&] { ResetRecord(e); }, all, {}},
        {"Make and Show", [&] {
             Forward(1);
             e.SwitchToCreationMode();
             e.SwitchToReplayMode();
         },
         {";W[dp]WL[9]N[w]", ";B[pp]TR[pp]", ";W[dd]LB[dd:A]"}, {}},
        {"a position made the start", [&] {
             Forward(2);
             ASSERT_TRUE(e.MakePositionTheStart(P("dp")));
         },
         {";B[pp]TR[pp]", ";W[dd]LB[dd:A]"}, {"SQ[cc]"}},
        {"the last move deleted", [&] {
             e.GoToEnd();
             ASSERT_TRUE(e.DeleteLastMove());
         },
         {";B[pd]BL[10]", ";B[pp]TR[pp]", "SQ[cc]"}, {"LB[dd:A]"}},
        {"a stone relocated", [&] {
             Forward(3);
             ASSERT_TRUE(e.RelocateStone(3, P("jj")));
         },
         {";B[jj]TR[pp]", ";W[dd]LB[dd:A]"}, {}},
    };
    for (const Case& c : cases) {
        Load(record);
        c.edit();
        const std::string saved = Saved();
        for (const std::string& k : c.kept) {
            const std::size_t at = saved.find(k);
            EXPECT_NE(at, std::string::npos) << c.name << ": " << k << "\n" << saved;
            if (at != std::string::npos) {
                EXPECT_EQ(saved.find(k, at + 1), std::string::npos) << c.name << ": " << k;
            }
        }
        for (const std::string& g : c.gone) EXPECT_EQ(saved.find(g), std::string::npos) << c.name << ": " << g;
        ExpectConsistent();
    }
}

TEST_F(ReplayEditingTest, RelocatedStonesArePlayedThroughTheRules) {
    MakeMainLine("ac ab bb pp qq");
    Forward(5);
    // Black's qq moves to aa: it takes white's ab.
    ASSERT_EQ(e.NumberedEntryAt(P("qq")), 5);
    ASSERT_TRUE(e.RelocateStone(5, P("aa")));
    EXPECT_EQ(e.board[P("ab")], kEmpty);
    EXPECT_EQ(e.board[P("qq")], kEmpty);
    EXPECT_EQ(e.whiteCaptured, 1);
    EXPECT_EQ(e.branchMoves[0][5], P("aa"));
    ExpectConsistent();
    e.StepBack();
    EXPECT_EQ(e.board[P("ab")], kWhite);
    ExpectConsistent();
}

TEST_F(ReplayEditingTest, ASuicideTargetIsRefused) {
    MakeMainLine("ab pp ba qq");
    Forward(4);
    EXPECT_FALSE(e.RelocateStone(4, P("aa")));
    EXPECT_EQ(messages.Text(), "そこは打てません。");
    EXPECT_EQ(e.board[P("qq")], kWhite);
    EXPECT_EQ(e.lineMoves[4], P("qq"));
    EXPECT_EQ(e.currentIndex, 4);
    ExpectConsistent();
}

// A stone moved (or a pass replaced) onto a point that a later move of the line plays on would leave the
// record with two moves on one point.
TEST_F(ReplayEditingTest, ATargetALaterMoveOfTheLinePlaysOnIsRefused) {
    struct Case {
        const char* name;
        const char* record;
        int forward;
        const char* trial;  // a trial move first, or nullptr
        bool pass;          // replace the pass shown, else relocate entry 1
        const char* target;
    };
    const Case cases[] = {
        {"relocated onto a later move", "(;GM[1]SZ[19];B[aa];W[bb];B[cc];W[dd])", 2, nullptr, false, "cc"},
        {"pass replaced by a later move", "(;GM[1]SZ[19];B[aa];W[];B[cc];W[dd])", 2, nullptr, true, "dd"},
        {"onto a stored move beyond trial moves", "(;GM[1]SZ[19];B[aa];W[bb];B[cc];W[dd])", 1, "ee", false,
         "cc"},
    };
    for (const Case& c : cases) {
        Load(c.record);
        Forward(c.forward);
        if (c.trial) {
            ASSERT_TRUE(e.PlayTrialMove(P(c.trial))) << c.name;
        }
        const std::string before = Saved();
        const int shown = e.currentIndex;
        messages.Clear();
        EXPECT_FALSE(c.pass ? e.ReplacePass(P(c.target)) : e.RelocateStone(1, P(c.target))) << c.name;
        EXPECT_EQ(messages.Text(), "そこは打てません。") << c.name;
        EXPECT_EQ(Saved(), before) << c.name;
        EXPECT_EQ(e.currentIndex, shown) << c.name;
        EXPECT_EQ(e.board[P(c.target)], kEmpty) << c.name;
        ExpectConsistent();
    }
}

TEST_F(ReplayEditingTest, RelocationCountsTheMovesAnAsPropertyHides) {
    Load("(;GM[1]SZ[19]AS[2,1];B[aa];W[bb];B[cc];W[dd])");
    ASSERT_EQ(e.mainLineOffset, 2);
    Forward(2);
    ASSERT_TRUE(e.RelocateStone(e.NumberedEntryAt(P("dd")), P("jj")));
    EXPECT_EQ(e.branchMoves[0][4], P("jj"));
    EXPECT_EQ(e.branchMoves[0][2], P("bb"));
    ExpectConsistent();
}

TEST_F(ReplayEditingTest, AReplacedPassBecomesAStoneThatCaptures) {
    MakeMainLine("ab ba bb --");
    Forward(4);
    ASSERT_TRUE(e.PassSignShown());
    EXPECT_FALSE(e.ReplacePass(P("ab")));  // occupied
    EXPECT_EQ(messages.Text(), "そこは打てません。");
    ASSERT_TRUE(e.ReplacePass(P("aa")));   // white's stone takes nothing; ab and ba have other liberties
    EXPECT_EQ(e.board[P("aa")], kWhite);
    EXPECT_EQ(e.branchMoves[0][4], P("aa"));
    ExpectConsistent();
    MakeMainLine("ab aa --");
    Forward(3);
    ASSERT_TRUE(e.ReplacePass(P("ba")));  // black's stone now takes white's aa
    EXPECT_EQ(e.board[P("ba")], kBlack);
    EXPECT_EQ(e.board[P("aa")], kEmpty);
    EXPECT_EQ(e.whiteCaptured, 1);
    ExpectConsistent();
}

TEST_F(ReplayEditingTest, APositionOfTheMainLineBecomesTheStart) {
    Load("(;GM[1]SZ[19]PB[x];B[ac];W[ab];B[bb];W[pp];B[aa]C[takes];W[qq]C[six];B[rr](;W[cc])(;W[dd]))");
    Forward(7);
    ASSERT_TRUE(e.MakePositionTheStart(P("aa")));  // entry 5: black's capture of ab
    EXPECT_EQ(e.setupCount, 4);                    // ac, bb, pp, aa; ab was taken
    EXPECT_EQ(e.baseIndex, 4);
    EXPECT_EQ(e.blackFirst, 0);
    EXPECT_EQ(e.branchCount, 0);
    EXPECT_EQ(e.BranchLength(0), 3);  // qq rr cc
    EXPECT_EQ(e.CommentText(e.branchComments[0][1]), "six");
    EXPECT_EQ(e.currentIndex, 6);
    EXPECT_EQ(e.blackCaptured + e.whiteCaptured, 0);
    EXPECT_NE(e.summaryText.find("\r\n++ ○ ++ | AdvanceMoves：4 | MainMoves：3"), std::string::npos);
    const std::string text = Saved();
    EXPECT_NE(text.find("AB[aa][ac][bb]"), std::string::npos) << text;
    EXPECT_NE(text.find("AW[pp]"), std::string::npos) << text;
    EXPECT_EQ(text.find("AB[", text.find("AB[aa][ac][bb]") + 1), std::string::npos) << text;
    ExpectConsistent();
}

TEST_F(ReplayEditingTest, APositionAfterMovesAnAsPropertyHidesBecomesTheStartOfAWholeRecord) {
    Load("(;GM[1]SZ[9]AS[2,1];B[aa]C[h1];W[bb]C[h2];B[cc]C[m3];W[dd]C[m4];B[ee]C[m5];W[ff])");
    ASSERT_EQ(e.mainLineOffset, 2);
    Forward(2);
    ASSERT_TRUE(e.MakePositionTheStart(P("dd")));
    EXPECT_EQ(e.setupCount, 4);
    EXPECT_EQ(e.BranchLength(0), 2);  // ee ff
    EXPECT_EQ(e.lineEnd, 6);
    EXPECT_EQ(e.CommentText(e.branchComments[0][1]), "m5");
    ExpectConsistent();
    // The head keeps its root alone: no AS, none of the moves it hid, the new setup lists in the root.
    const std::string text = Saved();
    EXPECT_EQ(text, "(;GM[1]SZ[9]\r\nAB[aa][cc]\r\nAW[bb][dd]\r\n;B[ee]C[m5];W[ff])");
    Load(text);
    EXPECT_EQ(e.mainLineOffset, 0);
    EXPECT_EQ(e.setupCount, 4);
    EXPECT_EQ(e.BranchLength(0), 2);
}

// Trial moves are not the record's: changing one leaves the stored move at its place, and a position made
// the start goes on with the stored moves.
TEST_F(ReplayEditingTest, ChangesBesideTrialMovesKeepTheRecordsOwnMoves) {
    const char* const record = "(;GM[1]SZ[19];B[pd];W[dp];B[pp]C[three];W[dd];B[jj])";
    Load(record);
    Forward(2);
    ASSERT_TRUE(e.PlayTrialMove(P("cc")));
    ASSERT_TRUE(e.RelocateStone(3, P("qq")));
    EXPECT_EQ(e.board[P("qq")], kBlack);
    EXPECT_EQ(e.branchMoves[0][3], P("pp"));
    ExpectConsistent();

    Load(record);
    Forward(2);
    ASSERT_TRUE(e.PassCommand());
    ASSERT_TRUE(e.ReplacePass(P("qq")));
    EXPECT_EQ(e.board[P("qq")], kBlack);
    EXPECT_EQ(e.branchMoves[0][3], P("pp"));
    ExpectConsistent();

    Load(record);
    Forward(2);
    ASSERT_TRUE(e.PlayTrialMove(P("cc")));
    ASSERT_TRUE(e.MakePositionTheStart(P("dp")));
    EXPECT_EQ(e.BranchLength(0), 3);  // pp dd jj
    EXPECT_EQ(e.CommentText(e.branchComments[0][1]), "three");
    const std::string text = Saved();
    EXPECT_NE(text.find(";B[pp]C[three];W[dd];B[jj]"), std::string::npos) << text;
    EXPECT_EQ(text.find("cc"), std::string::npos) << text;
    e.StepForward();
    EXPECT_EQ(e.board[P("pp")], kBlack);
    ExpectConsistent();
}

// A seeded random session: moves, passes, setup stones and marks in creation mode, Show, then trial moves
// with ADD, Swap and deleting the last move in replay mode; after every change the record is saved and
// read back, and the reading must hold the same branch table.
TEST_F(ReplayEditingTest, RandomEditingSessionsSaveAndReadBackTheSameRecord) {
    // The record as a reading leaves it: the branch table with comment texts, the setup stones by point (a
    // record lists them by colour, whatever order they were put in) and the marks. Passes at the end of the
    // main line without a comment are not kept by a reading.
    const auto table = [](const Engine& x) {
        std::string out = std::to_string(x.branchCount) + "\n";
        for (int b = 0; b <= x.branchCount; ++b) {
            int length = x.BranchLength(b);
            while (b == 0 && length > 0 && x.branchMoves[0][length] == kPass &&
                   !x.branchComments[0][length].IsSet()) {
                --length;
            }
            out += std::to_string(x.branchOrigin[b]) + ":" +
                   std::to_string(HeaderFirstColour(x.branchMoves[b][0])) + "/" + std::to_string(length);
            for (int k = 1; k <= length; ++k) {
                out +=
                    " " + std::to_string(x.branchMoves[b][k]) + "/" + x.CommentText(x.branchComments[b][k]);
            }
            out += "\n";
        }
        std::vector<int> stones(x.setupList.begin() + 1, x.setupList.begin() + 1 + x.setupCount);
        std::sort(stones.begin(), stones.end());
        out += "setup";
        for (int stone : stones) out += " " + std::to_string(stone);
        out += "\nmarks";
        for (PointCode p = 0; p < kGridCells; ++p) {
            if (x.markGrid[p] != 0)
                out += " " + std::to_string(p) + "=" + std::to_string(MarkKind(x.markGrid[p]));
        }
        return out;
    };
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 rng(seed);
        const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
        const auto point = [&] { return MakePoint(pick(9) + 1, pick(9) + 1); };
        e.NewRecord();
        e.SwitchToCreationMode();
        for (int step = 0; step < 40; ++step) {
            switch (pick(8)) {
                case 0:
                case 1:
                    e.SetInputMode(1);
                    e.PutStone(point());
                    break;
                case 2:
                    e.SetInputMode(3);
                    e.SelectMark(pick(3) == 0 ? 1 + pick(7) : 0);
                    e.SetupStoneClick(point(), pick(2) ? kBlack : kWhite);
                    break;
                case 3:
                    e.SetInputMode(3);
                    e.SelectMark(9 + pick(7));
                    e.SpaceBarDown();
                    e.ToggleMark(point());
                    e.MarkKeyReleased();
                    break;
                case 4:
                    e.StepBack();
                    break;
                case 5:
                    e.SetInputMode(1);
                    e.PassCommand();
                    break;
                default:
                    e.SetInputMode(1);
                    e.PutStone(point());
                    break;
            }
            ASSERT_EQ(CheckPosition(e), "") << "seed " << seed << " step " << step;
        }
        e.SwitchToReplayMode();
        ASSERT_EQ(CheckPosition(e), "") << seed;
        dialogs.nextAnswer = Answer::Yes;
        for (int step = 0; step < 30; ++step) {
            switch (pick(5)) {
                case 0: {
                    e.GoToStart();
                    Forward(pick(std::max(1, e.lineEnd - e.baseIndex + 1)));
                    for (int t = 0; t < 1 + pick(3); ++t) e.PlayTrialMove(point());
                    AddVariationCommand(e);
                    break;
                }
                case 1:
                    if (e.currentBranch != 0) e.SwapVariation();
                    break;
                case 2:
                    if (e.BeginDeleteMoves()) {
                        e.EndDeleteMoves(e.DeleteClick(e.lineMoves[e.lineEnd]));
                    }
                    break;
                case 3:
                    e.ReturnToMainLine();
                    break;
                default:
                    Forward(1 + pick(3));
                    break;
            }
            ASSERT_EQ(CheckPosition(e), "") << "seed " << seed << " replay step " << step;
            ASSERT_EQ(CheckBranchTable(e), "") << "seed " << seed << " replay step " << step;
            const std::string text = WholeRecordText(e);
            MemoryMessageArea backMessages;
            Engine back(backMessages, dialogs);
            LoadRecordText(back, text);
            ASSERT_EQ(table(back), table(e)) << "seed " << seed << " step " << step << "\n" << text;
        }
    }
}

}  // namespace
}  // namespace quorvel::test
