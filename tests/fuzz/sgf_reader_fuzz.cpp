// libFuzzer target: any bytes given to the SGF loader leave a consistent record, and stepping through it,
// entering its branches and resetting it keep the position consistent. Reading the kept text again (which
// finds everything itself) gives the tree the load gave (which took shortcuts from the normalisation). An
// input that is SGF by the grammar loads as the independent reader of the tests reads it, and what the
// writer makes of it reads back in that reader to the record loaded. A fault aborts with a description.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/consistency.h"
#include "core/engine.h"
#include "formats/sgf_reader.h"
#include "sgf_oracle.h"
#include "sgf_oracle_compare.h"

namespace {

void Check(const std::string& fault, const char* where) {
    if (fault.empty()) return;
    std::fprintf(stderr, "inconsistent record %s:\n%s", where, fault.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    // One engine for all inputs: every load starts a new record, as in the program.
    static MemoryMessageArea messages;
    static MemoryDialogs dialogs;
    static Engine e(messages, dialogs);

    // The load converts other encodings to Shift-JIS; the oracle reads the text so converted.
    const std::string text = oracle::ProgramText(std::string(reinterpret_cast<const char*>(data), size));
    LoadRecordText(e, text);
    Check(CheckBranchTable(e), "after loading");
    if (const std::optional<oracle::Record> expected = oracle::ReadRecord(text)) {
        Check(oracle::CompareWithOracle(e, *expected), "against the oracle");
        Check(oracle::WrittenDifferences(e, expected), "in what the writer makes of it");
        LoadRecordText(e, text);  // the writer completed the head
    }
    Check(CheckPosition(e), "at the first position");
    const std::string loaded = DescribeRecord(e);
    while (e.currentIndex < e.lineEnd) e.StepForward();
    Check(CheckPosition(e), "at the end of the main line");
    for (int b = 1; b <= e.branchCount; ++b) {
        if (OriginParent(e.branchOrigin[b]) != 0) continue;
        e.ReturnToMainLine();
        const int start = OriginBase(e.branchOrigin[b]);
        while (e.currentIndex < start && e.currentIndex < e.lineEnd) e.StepForward();
        if (e.currentIndex != start) continue;
        e.EnterBranch(b);
        while (e.currentIndex < e.lineEnd) e.StepForward();
        Check(CheckPosition(e), "in a variation");
    }
    ResetRecord(e);
    Check(CheckBranchTable(e), "after ResetRecord");
    TidyHeaderText(e);  // as the load did
    if (DescribeRecord(e) != loaded) {
        std::fprintf(stderr, "the kept text reads otherwise:\n%s\n----\n%s\n", loaded.c_str(), DescribeRecord(e).c_str());
        std::abort();
    }
    Check(CheckPosition(e), "after ResetRecord");
    return 0;
}
