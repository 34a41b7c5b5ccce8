#include "app/chat_log.h"

#include <cstdlib>

namespace quorvel {
namespace {

const std::string kBlankLine(15, ' ');
const char* const kDiagramMarker = "---碁盤データ---";

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

int HighestDiagramNumber(const std::string& store) {
    int highest = 0;
    for (std::size_t at = store.find('{'); at != std::string::npos; at = store.find('{', at + 1)) {
        const std::size_t close = store.find('}', at);
        if (close == std::string::npos) break;
        const std::string digits = store.substr(at + 1, close - at - 1);
        if (digits.empty() || digits.size() > 6 || digits.find_first_not_of("0123456789") != std::string::npos) continue;
        highest = std::max(highest, std::atoi(digits.c_str()));
    }
    return highest;
}

}  // namespace

ChatLog ReadChatLog(const std::string& fileText) {
    // The header before the first comment goes; the log's own heading takes its place.
    const std::size_t first = fileText.find("\r\n[");
    std::string text = "{棋譜ログ}\r\n" + kBlankLine + (first == std::string::npos ? "" : fileText.substr(first));
    ChatLog log;
    const std::size_t marker = text.find(kDiagramMarker);
    if (marker != std::string::npos) {
        // The marker stands between two empty lines.
        const std::size_t diagrams = marker + std::char_traits<char>::length(kDiagramMarker) + 4;
        log.diagramStore = (diagrams < text.size() ? text.substr(diagrams) : std::string()) + "\r\n";
        text = text.substr(0, marker >= 4 ? marker - 4 : 0);
        log.diagramCount = HighestDiagramNumber(log.diagramStore);
    }
    log.logText = ReplaceAll(text, "\r\n\r\n", "\r\n" + kBlankLine + "\r\n");
    return log;
}

}  // namespace quorvel
