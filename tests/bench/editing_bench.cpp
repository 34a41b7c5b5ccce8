// Cost of one editing operation at the sizes the limits allow: a setup stone put in and taken out of a
// 499-entry line, and Swap of the largest block the table can move.
#include <benchmark/benchmark.h>

#include "core/engine.h"

namespace quorvel {
namespace {

// Answers every question with Yes and keeps nothing, so that a long run stays the same size.
class YesDialogs : public UserDialogs {
  public:
    void ShowMessage(const std::string&) override {}
    Answer AskYesNoCancel(const std::string&, const std::string&) override { return Answer::Yes; }
};

PointCode NthPoint(int n) {
    return MakePoint(n % 19 + 1, n / 19 + 1);
}

// Creation mode with `setup` setup stones, then stones and passes up to entry 498;
// `applied` of the entries stand on the board, the rest were taken back.
void BuildLine(Engine& e, int setup, int applied) {
    e.NewRecord();
    e.SwitchToCreationMode();
    e.SetInputMode(3);
    for (int k = 0; k < setup; ++k) e.SetupStoneClick(NthPoint(k * 5 % 361), k % 2 ? kWhite : kBlack);
    e.SetInputMode(1);
    // Every third entry a stone, so that the board keeps room; the others pass.
    for (int n = 0; e.currentIndex < kMaxLineEntries - 1; ++n) {
        if (n % 3 != 0 || !e.PutStone(NthPoint(n * 7 % 361))) e.PassCommand();
    }
    while (e.currentIndex > e.baseIndex + applied) e.StepBack();
}

// An empty point where no entry of the line stood, next to a stone of the line (touching) or away from all.
PointCode PointFor(Engine& e, bool touching) {
    for (PointCode p = MakePoint(1, 1); p <= MakePoint(19, 19); ++p) {
        if (!e.IsOnBoard(p) || e.board[p] != kEmpty) continue;
        bool near = false;
        bool used = false;
        for (int k = 1; k <= e.currentIndex; ++k) {
            const int d = e.lineMoves[k] - p;
            used |= d == 0;
            near |= e.lineMoves[k] != kPass && (d == 1 || d == -1 || d == 21 || d == -21);
        }
        if (used || near != touching) continue;
        // The stone must stay on the board when the line is played with it, so that a second click
        // takes it out again.
        const int base = e.baseIndex;
        e.SetupStoneClick(p, kBlack);
        const bool stays = e.board[p] == kBlack;
        if (e.baseIndex > base && e.board[p] == kBlack) e.SetupStoneClick(p, kBlack);
        if (stays && e.baseIndex == base) return p;
        if (e.baseIndex != base) return kPass;
    }
    return kPass;
}

// The setup stone goes in before the numbered entries and comes out again: two operations. Away from the
// line's stones it only renumbers the entries; next to them (range(1) = 1) the line is played again.
void SetupStoneInLongLine(benchmark::State& state) {
    MemoryMessageArea messages;
    YesDialogs dialogs;
    Engine e(messages, dialogs);
    BuildLine(e, state.range(0) == 0 ? 200 : 40, static_cast<int>(state.range(0)));
    e.SetInputMode(3);
    const PointCode p = PointFor(e, state.range(1) != 0);
    if (p == kPass) state.SkipWithError("no point for the setup stone");
    for (auto _ : state) {
        e.SetupStoneClick(p, kBlack);
        e.SetupStoneClick(p, kBlack);
        benchmark::DoNotOptimize(e.baseIndex);
    }
    if (e.board[p] != kEmpty) state.SkipWithError("the setup stone did not come out again");
    state.SetItemsProcessed(state.iterations() * 2);
}
// range(0) 0: 200 setup stones and the rest of the line taken back; 458: 40 setup stones and 458 entries
// applied (about 150 stones, with their captures, and passes), the setup stone next to them.
BENCHMARK(SetupStoneInLongLine)->Args({0, 0})->Args({458, 1});

// The diagram with 73 descendants (the largest block that fits beside the table's copy) changes places
// with the main line, and back: two swaps.
void SwapLargestBlock(benchmark::State& state) {
    MemoryMessageArea messages;
    YesDialogs dialogs;
    Engine e(messages, dialogs);
    e.NewRecord();
    constexpr int kMoves = 80;
    e.branchMoves[0][0] = MakeHeader(0, kBlack, kMoves);
    for (int k = 1; k <= kMoves; ++k) e.branchMoves[0][k] = NthPoint(k);
    e.branchCount = 1;
    e.branchOrigin[1] = MakeOrigin(0, 0, 0);
    e.branchMoves[1][0] = MakeHeader(1, kBlack, kMoves);
    for (int k = 1; k <= kMoves; ++k) e.branchMoves[1][k] = NthPoint(k + 100);
    for (int j = 2; j <= 74; ++j) {
        e.branchCount = j;
        e.branchOrigin[j] = MakeOrigin(j - 1, 1, j - 1);
        e.branchMoves[j][0] = MakeHeader(2, (j - 1) % 2 ? kWhite : kBlack, 3);
        for (int k = 1; k <= 3; ++k) e.branchMoves[j][k] = NthPoint(200 + k);
    }
    e.ReturnToMainLine();
    for (auto _ : state) {
        e.ReturnToMainLine();
        e.EnterBranch(1);
        e.SwapVariation();
        e.ReturnToMainLine();
        e.EnterBranch(e.branchCount);
        e.SwapVariation();
        benchmark::DoNotOptimize(e.branchMoves[0][1]);
    }
    if (e.branchMoves[0][1] != NthPoint(1) || e.branchCount != 74)
        state.SkipWithError("swaps did not return");
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(SwapLargestBlock);

// A variation at move 1 of the main line changes places with it, taking the 140 branches that hang on
// the main line's later moves along: and back.
void SwapWithParentLargeBlock(benchmark::State& state) {
    MemoryMessageArea messages;
    YesDialogs dialogs;
    Engine e(messages, dialogs);
    e.NewRecord();
    constexpr int kMoves = 150;
    e.branchMoves[0][0] = MakeHeader(0, kBlack, kMoves);
    for (int k = 1; k <= kMoves; ++k) e.branchMoves[0][k] = NthPoint(k);
    e.branchCount = 1;
    e.branchOrigin[1] = MakeOrigin(1, 0, 1);
    e.branchMoves[1][0] = MakeHeader(1, kWhite, 5);
    for (int k = 1; k <= 5; ++k) e.branchMoves[1][k] = NthPoint(300 + k);
    for (int j = 2; j <= 141; ++j) {
        e.branchCount = j;
        e.branchOrigin[j] = MakeOrigin(j, 0, j);
        e.branchMoves[j][0] = MakeHeader(1, j % 2 ? kBlack : kWhite, 2);
        e.branchMoves[j][1] = NthPoint(340);
        e.branchMoves[j][2] = NthPoint(341);
    }
    e.ReturnToMainLine();
    for (auto _ : state) {
        e.ReturnToMainLine();
        e.StepForward();
        e.EnterBranch(1);
        e.SwapVariation();
        e.ReturnToMainLine();
        e.StepForward();
        e.EnterBranch(1);
        e.SwapVariation();
        benchmark::DoNotOptimize(e.branchMoves[0][2]);
    }
    if (e.branchMoves[0][2] != NthPoint(2) || e.BranchLength(0) != kMoves)
        state.SkipWithError("swaps did not return");
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(SwapWithParentLargeBlock);

}  // namespace
}  // namespace quorvel
