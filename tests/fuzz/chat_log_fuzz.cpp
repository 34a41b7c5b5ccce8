// libFuzzer target for the chat file beside a record: every input is read as the file commands read a chat
// file (the older layout converted, the log and the diagram store split off), written back and read again,
// and then worked as the net game log window works it: entries selected at many places, each diagram
// shown and stepped through, its SGF made, entries moved and deleted. Any inconsistency aborts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "auxiliary/chat_log.h"
#include "auxiliary/net_game_log.h"
#include "formats/text_board_reader.h"

namespace {

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "chat log fuzz: %s\n", what);
    std::abort();
}

void CheckSelection(const std::string& text, const quorvel::LogSelection& s) {
    if (!s.any()) return;
    Check(s.start < text.size(), "selection starts beyond the text");
    Check(s.start + s.highlight <= text.size(), "highlight beyond the text");
    Check(s.end <= text.size() && (s.separator || s.end > s.start), "entry end out of range");
    Check(s.diagram >= 0, "negative diagram number");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    const std::string file(reinterpret_cast<const char*>(data), size);
    const std::string converted = ConvertChatBoardData(file);
    ChatLog log = ChatLogFromFileText(converted);
    Check(log.diagramCounter >= 0, "negative diagram counter");

    // What is written reads back to the same log, and is then written the same again.
    const std::string written = ChatFileText(log);
    const ChatLog again = ChatLogFromFileText(written);
    Check(ChatFileText(again) == written, "a written chat file does not read back to itself");

    LogBoard board;
    ClearLogBoard(board);
    Check(LogDiagramSgf(board) == "(;GM[1]FF[1]SZ[19])", "empty board SGF");
    const std::size_t step = log.logText.size() / 16 + 1;
    LogSelection previous;
    for (std::size_t caret = 0; caret <= log.logText.size() + 1; caret += step) {
        const LogSelection s = SelectLogEntry(log.logText, caret);
        CheckSelection(log.logText, s);
        if (s.comment() && s.diagram > 0 && ShowLogDiagram(board, log, s.diagram)) {
            Check(board.entryCount <= kStoneListEntries, "more entries than the list holds");
            for (LogStep st : {LogStep::Back, LogStep::ToSetup, LogStep::ForwardTen, LogStep::BackTen,
                               LogStep::Forward, LogStep::ToEnd}) {
                StepLogBoard(board, st);
                Check(board.board.shownEntry >= board.board.setupCount && board.board.shownEntry <= board.entryCount,
                      "navigation left the diagram");
                const std::string sgf = LogDiagramSgf(board);
                Check(sgf.compare(0, 15, "(;GM[1]FF[1]SZ[") == 0, "SGF head");
            }
        }
        if (previous.comment() && s.comment() && previous.start != s.start) {
            std::string swapped = log.logText;
            if (SwapLogEntries(swapped, previous, s)) {
                Check(swapped.size() >= log.logText.size(), "a swap lost text");
            }
        }
        previous = s;
    }
    if (previous.comment()) {
        const std::size_t before = log.logText.size();
        DeleteLogEntry(log, previous);
        Check(log.logText.size() < before, "delete removed nothing");
        ChatFileText(log);
    }
    return 0;
}
