// Stepping while the engine analyses: one step back and one forward, each followed by the board window's
// Redraw, with GNU Go (default level) analysing every position the window shows, beside the same steps
// with the analysis off. The step must stay under 0.1 ms: the window only queues the position.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>

#include "core/gui/board_window.h"
#include "gtp/gui/board_analysis.h"
#include "platform/gui/qt_net_ports.h"

namespace {

using namespace quorvel;

// 250 moves of a game that captures nothing: black and white fill their own sides of the board.
void FillBoard(Engine& e) {
    int placed = 0;
    for (int row = 1; row <= 19 && placed < 250; ++row) {
        for (int col = 1; col <= 7 && placed < 250; ++col) {
            e.branchMoves[0][++placed] = MakePoint(col, row);
            e.branchMoves[0][++placed] = MakePoint(20 - col, row);
        }
    }
    e.branchMoves[0][0] = MakeHeader(0, kBlack, placed);
    e.ReturnToMainLine();
    e.GoToEnd();
}

struct Window {
    MemoryMessageArea messages;
    MemoryDialogs dialogs;
    TForm2 w{messages, dialogs, QStringLiteral(QUORVEL_PROGRAM_DIR)};
    QtEventPort events{&w};
    gtp::EngineWorker worker{events, "gnugo --mode gtp"};
    gtp::BoardAnalysis analysis{w, worker};
    Window() { FillBoard(w.engine()); }
};

void Steps(benchmark::State& state, bool analysing) {
    Window win;
    Engine& e = win.w.engine();
    if (e.currentIndex != 250) state.SkipWithError("the record does not hold 250 moves");
    win.analysis.SetActive(analysing);
    int step = 0;
    for (auto _ : state) {
        e.StepBack();
        win.w.Redraw();
        e.StepForward();
        win.w.Redraw();
        // Now and then the window's own events run, the engine's answers among them.
        if (++step % 1000 == 0) QCoreApplication::processEvents();
    }
    state.counters["per_step"] =
        benchmark::Counter(2.0 * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_TwoStepsWhileTheEngineAnalyses(benchmark::State& state) {
    Steps(state, true);
}
void BM_TwoStepsWithoutTheEngine(benchmark::State& state) {
    Steps(state, false);
}
BENCHMARK(BM_TwoStepsWhileTheEngineAnalyses)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(BM_TwoStepsWithoutTheEngine)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

}  // namespace
