// The chat file beside a record, read into the log and the board diagrams that the net game log window
// shows: the log text as the window's memo holds it, and the diagram lines.
#pragma once

#include <string>

namespace quorvel {

struct ChatLog {
    std::string logText;       // begins "{棋譜ログ}", entries separated by lines of 15 blanks
    std::string diagramStore;  // one "{n}<<DiaData=...>>" line per diagram
    int diagramCount = 0;      // the highest diagram number in the store
};

// Reads a chat file's text (header, log, and after "---碁盤データ---" the diagrams).
ChatLog ReadChatLog(const std::string& fileText);

}  // namespace quorvel
