// The cost of one full Redraw of the board window: 300 numbered stones, so that stepping and autoplay
// stay far inside one frame (16 ms).
#include <benchmark/benchmark.h>

#include <QApplication>

#include "core/gui/board_window.h"

namespace {

using namespace quorvel;

// 300 moves that capture nothing: black fills the left nine columns, white the right nine, both keeping
// their liberties on the empty middle column.
void FillBoard(Engine& e) {
    std::vector<PointCode> black, white;
    for (int col = 9; col >= 1; --col) {
        for (int row = 1; row <= 19; ++row) black.push_back(MakePoint(col, row));
    }
    for (int col = 11; col <= 19; ++col) {
        for (int row = 1; row <= 19; ++row) white.push_back(MakePoint(col, row));
    }
    for (int i = 0; i < 300; ++i) {
        const PointCode p = (i % 2 == 0) ? black[i / 2] : white[i / 2];
        e.branchMoves[0][i + 1] = p;
    }
    e.branchMoves[0][0] = MakeHeader(0, kBlack, 300);
    e.ReturnToMainLine();
    e.GoToEnd();
}

struct Window {
    MemoryMessageArea messages;
    MemoryDialogs dialogs;
    TForm2 w{messages, dialogs, QStringLiteral(QUORVEL_PROGRAM_DIR)};
    Window() { FillBoard(w.engine()); }
};

void BM_Redraw300NumberedStones(benchmark::State& state) {
    Window win;
    if (win.w.engine().currentIndex != 300) state.SkipWithError("the position does not hold 300 stones");
    for (auto _ : state) {
        win.w.Redraw();
        benchmark::DoNotOptimize(win.w.picture().constBits());
    }
}
BENCHMARK(BM_Redraw300NumberedStones)->Unit(benchmark::kMillisecond);

// One step back and forward with a redraw after each, as the arrow keys do at move 300.
void BM_StepAndRedraw(benchmark::State& state) {
    Window win;
    Engine& e = win.w.engine();
    for (auto _ : state) {
        e.StepBack();
        win.w.Redraw();
        benchmark::DoNotOptimize(win.w.picture().constBits());
        e.StepForward();
        win.w.Redraw();
        benchmark::DoNotOptimize(win.w.picture().constBits());
    }
}
BENCHMARK(BM_StepAndRedraw)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
