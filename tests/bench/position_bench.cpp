// Cost of playing and taking back one entry of a full 499-entry line with many captures.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "core/engine.h"

namespace quorvel {
namespace {

// A 499-entry line on 9 lines, where stones are captured again and again.
std::vector<PointCode> CaptureHeavyLine(Engine& e) {
    e.ChangeBoardSize(9);
    e.NewRecord();
    std::mt19937 random(42);
    while (e.currentIndex < kMaxLineEntries) {
        PointCode p = 0;
        for (int tries = 0; tries < 200 && p == 0; ++tries) {
            const PointCode q = MakePoint(1 + random() % 9, 1 + random() % 9);
            if (e.board[q] == kEmpty && e.groupGrid[q] != kKoMark && e.groupGrid[q] != kSuicideMark) p = q;
        }
        if (p != 0 && e.IsPlayable(p)) {
            e.PlayColour(e.ColourToMove());
        } else {
            e.Pass(e.ColourToMove());
        }
    }
    return std::vector<PointCode>(e.lineMoves.begin() + 1, e.lineMoves.begin() + 1 + kMaxLineEntries);
}

void BM_PlayAndTakeBackFullLine(benchmark::State& state) {
    MemoryMessageArea messages;
    MemoryDialogs dialogs;
    Engine e(messages, dialogs);
    const std::vector<PointCode> line = CaptureHeavyLine(e);
    const int captured = e.blackCaptured + e.whiteCaptured;
    e.ChangeBoardSize(9);
    e.NewRecord();
    for (auto _ : state) {
        for (PointCode p : line) {
            if (p == kPass) {
                e.Pass(e.ColourToMove());
            } else {
                e.lastPoint = p;
                e.PlayColour(e.ColourToMove());
            }
        }
        while (e.currentIndex > 0) e.TakeBack();
    }
    state.counters["captures"] = captured;
    state.counters["per_entry"] = benchmark::Counter(static_cast<double>(state.iterations()) * 2 * kMaxLineEntries,
                                                     benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PlayAndTakeBackFullLine)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quorvel
