// A received page without a record, from its body to the text window painted: the work the window thread
// does before it takes the next event. A page of any size must show within a second.
#include <benchmark/benchmark.h>

#include <QImage>

#include "app/gui/text_window.h"
#include "app/web_records.h"
#include "formats/sgf_reader.h"

namespace {

using namespace quorvel;

// 30 MB in lines of 100 bytes, or 2 MB on one line: the two shapes that held the windows for minutes.
std::string Page(bool oneLine) {
    if (oneLine) return "<html>" + std::string(2u << 20, 'y');
    std::string page;
    for (int i = 0; page.size() < (30u << 20); ++i) {
        const std::string line = "<p>line " + std::to_string(i) + " ";
        page += line + std::string(99 - line.size(), 'x') + "\n";
    }
    return page;
}

void BM_PageWithoutARecordToTheTextWindow(benchmark::State& state) {
    const std::string body = Page(state.range(0) == 1);
    TForm3 window{[] { return std::string(); }};
    window.resize(520, 200);
    window.show();
    for (auto _ : state) {
        const std::string text = WithCrLfLineEnds(body);
        // Whether it holds a record is read aside, on an engine of its own, as a load does.
        MemoryMessageArea messages;
        MemoryDialogs dialogs;
        const auto trial = std::make_unique<Engine>(messages, dialogs);
        benchmark::DoNotOptimize(LoadRecordText(*trial, text));
        window.SetText("指定されたファイルに棋譜データはありません。\r\n\r\n" + ShownPageText(text));
        const QImage painted = window.grab().toImage();
        benchmark::DoNotOptimize(painted.constBits());
    }
}
BENCHMARK(BM_PageWithoutARecordToTheTextWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
