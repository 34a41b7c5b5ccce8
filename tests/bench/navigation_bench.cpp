// Cost of one navigation step: forward and back through every position of a large record with many
// variations, by the same keys a user presses.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "core/engine.h"
#include "core/keys.h"
#include "formats/sgf_reader.h"

namespace quorvel {
namespace {

std::string ReadRecord(const char* name) {
    std::ifstream in(std::string(QUORVEL_TEST_DATA) + "/corpus/" + name, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Walks the line to its end, entering and leaving every branch on the way; counts the steps.
void WalkLine(Engine& e, long& steps) {
    for (;;) {
        const int index = e.currentIndex;
        const int depth = e.variationDepth;
        const bool onDiagramStart = e.currentBranch == 0 && index == e.setupCount && e.diagramBranch == 0;
        for (int nth = 1; nth <= e.hintCount; ++nth) {
            const int number = nth + 1 < 9 ? nth + 1 : nth + 2;
            if (number > 26) break;
            e.KeyDown(kKeyA + number - 1, false);
            ++steps;
            WalkLine(e, steps);
            if (onDiagramStart && e.variationDepth == 0) {
                e.ReturnToMainLine();
            } else {
                while (e.variationDepth > depth) e.KeyDown(kKeyPageUp, false);
            }
            ++steps;
        }
        if (e.currentIndex >= e.lineEnd) return;
        e.KeyDown(kKeyRight, false);
        ++steps;
        if (e.currentIndex == index) return;
    }
}

void BM_WalkWholeTree(benchmark::State& state, const char* record) {
    MemoryMessageArea messages;
    MemoryDialogs dialogs;
    Engine e(messages, dialogs);
    LoadRecordText(e, ReadRecord(record));
    long steps = 0;
    for (auto _ : state) {
        e.ReturnToMainLine();
        WalkLine(e, steps);
        while (e.currentIndex > e.baseIndex) {
            e.KeyDown(kKeyLeft, false);
            ++steps;
        }
    }
    state.counters["branches"] = e.branchCount;
    state.counters["per_step"] =
        benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK_CAPTURE(BM_WalkWholeTree, kgs_review, "kaya-kgs-cgoban3-review-chat-escapes.sgf")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WalkWholeTree, multigo_commentary, "sabakizhcn-multigo-commentary-gb2312-noca.sgf")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WalkWholeTree, joseki, "sente-joseki-teaching-labels-comments.sgf")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvel
