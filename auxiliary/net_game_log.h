// The net game log window's engine: finding the entry under the caret in the log text, moving and deleting
// comments, the board of the diagram shown with its navigation, and that diagram as SGF for the clipboard.
// Positions are byte offsets into the log text (Shift-JIS, lines ended by CR LF).
#pragma once

#include <cstddef>
#include <string>

#include "auxiliary/chat_log.h"
#include "auxiliary/secondary_board.h"

namespace quorvel {

// The selected entry of the log, or a separator line, or nothing.
struct LogSelection {
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t start = kNone;  // the first byte of the entry (or of the separator line)
    std::size_t highlight = 0;  // bytes highlighted from start: the header up to " ]", or the separator
    std::size_t end = 0;        // one past the entry, its separator line included
    int diagram = 0;            // the entry's diagram number, 0 for none
    bool separator = false;

    bool any() const { return start != kNone; }
    bool comment() const { return any() && !separator; }
};

// Memo1Click at byte `caret` of the log text: the comment holding it, the separator line it is on, or
// nothing (the first line, or text that belongs to no comment).
LogSelection SelectLogEntry(const std::string& logText, std::size_t caret);

// Ctrl+click: two different comments change places in the log text. False when nothing changed.
bool SwapLogEntries(std::string& logText, const LogSelection& a, const LogSelection& b);

// The comment of a selected entry as the secondary board edits it: its header and text, without its
// diagram line and its separator. Empty for a separator or nothing.
std::string LogEntryComment(const std::string& logText, const LogSelection& selected);

// Delete: the comment is cut out of the log, and its diagram's line out of the store.
void DeleteLogEntry(ChatLog& log, const LogSelection& selected);

// The board of the log window: the secondary board's structures, with the number of all its entries.
struct LogBoard {
    SecondaryBoard board;
    int entryCount = 0;  // setup entries and moves of the diagram shown
    int diagram = 0;     // its number, 0 when none is shown
    std::string diagramText;  // what stood between "<<DiaData=" and ">>"
    bool allNumbers = true;   // numbers on every move, or on the last one only
};

// An empty board of the size it has.
void ClearLogBoard(LogBoard& b);
// Shows diagram `number` of the store at its last move. False, and the board unchanged, when the store
// holds no such diagram.
bool ShowLogDiagram(LogBoard& b, const ChatLog& log, int number);

// Image3's zones by the x of a click: to the setup, back ten, back one, forward one, forward ten, to the end.
enum class LogStep { ToSetup, BackTen, Back, Forward, ForwardTen, ToEnd };
LogStep LogStepAt(int x);
// Steps the board; true when the move now shown is a pass ("パ ス！").
bool StepLogBoard(LogBoard& b, LogStep step);

// Panel1's text: " [碁盤n]   m手".
std::string LogBoardCaption(const LogBoard& b);

// F5: the diagram shown as SGF text.
std::string LogDiagramSgf(const LogBoard& b);

}  // namespace quorvel
