// libFuzzer target for the readers of text boards and diagram texts: any bytes read as a text board leave a
// consistent record whose text board reads back to the same setup stones; any bytes read as a diagram
// text leave the secondary board inside its board and list, and the diagram written from that board reads
// back to the same stones, marks and moves. Older chat board data converts without fault. A fault aborts
// with a description.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "auxiliary/diagram_text.h"
#include "core/consistency.h"
#include "core/engine.h"
#include "formats/text_board.h"
#include "formats/text_board_reader.h"

namespace {

void Check(bool ok, const std::string& what) {
    if (ok) return;
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}

void CheckRecord(const quorvel::Engine& e, const char* where) {
    const std::string position = quorvel::CheckPosition(e);
    const std::string table = quorvel::CheckBranchTable(e);
    Check(position.empty() && table.empty(), std::string("inconsistent record ") + where + ":\n" + position + table);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    static MemoryMessageArea messages;
    static MemoryDialogs dialogs;
    static Engine e(messages, dialogs);

    const std::string text(reinterpret_cast<const char*>(data), size);

    // As a text board.
    e.recordText = text;
    ReadTextBoard(e, size % 2 == 0);
    CheckRecord(e, "after reading a text board");
    const int setup = e.setupCount;
    e.GoToEnd();
    CheckRecord(e, "at the end of a text board");
    e.GoToStart();
    e.settings.textUseColor = size % 3 == 0;
    e.settings.textAddPre = size % 5 == 0;
    e.recordText = TextBoardText(e);
    ReadTextBoard(e, true);
    CheckRecord(e, "after reading a written text board");
    Check(e.setupCount == setup, "the written text board lost setup stones: " + std::to_string(setup) + " -> " +
                                     std::to_string(e.setupCount));

    // As a diagram text, on the secondary board.
    SecondaryBoard s;
    ShowDiagram(s, ReadDiagramText(text, s.boardSize, text.compare(0, 2, "(;") == 0));
    Check(s.setupCount <= s.shownEntry && s.shownEntry <= kStoneListEntries, "the stone list overflowed");
    for (PointCode p = 0; p < kGridCells; ++p) {
        Check(s.IsOnBoard(p) || s.subBoard[p] == kBorder, "a stone on the border at " + std::to_string(p));
    }
    const std::string written = DiagramText(s);
    SecondaryBoard back;
    ShowDiagram(back, ReadDiagramText(written, back.boardSize, false));
    Check(back.subBoard == s.subBoard && back.shownEntry == s.shownEntry && back.blackFirst == s.blackFirst,
          "the written diagram reads back otherwise:\n" + written);
    Check(DiagramText(back) == written, "the diagram is written otherwise the second time:\n" + written);

    // As older chat board data.
    const std::string converted = ConvertChatBoardData(text);
    Check(converted.size() <= text.size(), "the board data grew");
    return 0;
}
