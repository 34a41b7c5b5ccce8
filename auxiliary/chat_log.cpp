#include "auxiliary/chat_log.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/text_codec.h"

namespace quorvel {

const char* const kLogHead = "{棋譜ログ}";
const char* const kEntrySeparator = "               ";
const char* const kNoCommentMessage = "コメントが入力されていません";
const char* const kBoardDataMarker = "---碁盤データ---";
const char* const kNewCommentHead = "[ Zarn5 ]：";

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr const char* kChatFileHead = "Oskelt - Oskelt - チャットログ";

std::string SeparatorLine() { return std::string(kEntrySeparator) + kCrLf; }

std::string DiagramReference(int n) { return std::string(kCrLf) + "{ 碁盤 " + std::to_string(n) + " }"; }

// Where the store line of diagram n starts, or npos.
std::size_t StoreLineOf(const std::string& store, int n) {
    const std::string key = "{" + std::to_string(n) + "}";
    for (std::size_t at = store.find(key); at != std::string::npos; at = store.find(key, at + 1)) {
        if (at == 0 || store[at - 1] == '\n') return at;
    }
    return std::string::npos;
}

}  // namespace

std::string NeutraliseComment(const std::string& comment) {
    std::string text = comment;
    ReplaceAll(text, "\r\n", "\n");
    ReplaceAll(text, "\r", "\n");
    while (!text.empty() && text.back() == '\n') text.pop_back();
    ReplaceAll(text, ">>", "＞＞");
    // As characters: "{" is also the second byte of kanji such as 本, which must stay whole.
    const std::string reference = "{ 碁盤";
    for (std::size_t at = FindCharacters(text, reference); at != std::string::npos;
         at = FindCharacters(text, reference, at + 2)) {
        text.replace(at, 1, "｛");
    }
    ReplaceAll(text, kBoardDataMarker, "－－－碁盤データ－－－");
    std::string out;
    std::size_t start = 0;
    for (bool first = true;; first = false) {
        const std::size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        // The log reads a line that starts with "[" or "{" as an entry or a store line, a blank at a line
        // start as the end of an entry, and an empty line as a separator.
        const bool forged = !first && (line.empty() || line[0] == ' ' || line[0] == '[' || line[0] == '{');
        if (!first) out += kCrLf;
        if (forged) out += "　";
        out += line;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return out;
}

int AddBoardComment(ChatLog& log, int moveNumber, const std::string& comment, const std::string& diagramText) {
    if (comment.empty()) return 0;
    const int n = ++log.diagramCounter;
    const std::string logHeadStart = "{棋譜";
    if (log.logText.compare(0, logHeadStart.size(), logHeadStart) != 0) log.logText = std::string(kLogHead) + kCrLf + SeparatorLine() + log.logText;
    log.logText += "[ " + std::to_string(moveNumber) + " ]：" + NeutraliseComment(comment) + DiagramReference(n) + kCrLf +
                   SeparatorLine();
    log.diagramStore += "{" + std::to_string(n) + "}" + diagramText;
    log.present = true;
    return n;
}

bool EditLogComment(ChatLog& log, std::size_t entryStart, std::size_t entryLength, int oldDiagram,
                    const std::string& comment, const std::string& diagramText) {
    if (comment.empty() || entryStart > log.logText.size()) return false;
    std::string entry = NeutraliseComment(comment);
    const bool isNew = entryLength == 0;
    if (isNew && entry.compare(0, 2, "[ ") != 0) entry = kNewCommentHead + entry;
    int n = 0;
    if (!diagramText.empty()) {
        n = oldDiagram > 0 ? oldDiagram : ++log.diagramCounter;
        entry += DiagramReference(n);
    }
    entry += kCrLf + SeparatorLine();
    if (isNew) {
        // Right after the separator line that was selected.
        const std::size_t lineEnd = log.logText.find(kCrLf, entryStart);
        const std::size_t at = lineEnd == std::string::npos ? log.logText.size() : lineEnd + 2;
        if (lineEnd == std::string::npos) entry = kCrLf + entry;
        log.logText.insert(at, entry);
    } else {
        log.logText.replace(entryStart, std::min(entryLength, log.logText.size() - entryStart), entry);
    }
    if (oldDiagram > 0) RemoveStoredDiagram(log, oldDiagram);
    if (n > 0) log.diagramStore += "{" + std::to_string(n) + "}" + diagramText;
    log.present = true;
    return true;
}

bool RemoveStoredDiagram(ChatLog& log, int number) {
    const std::size_t at = StoreLineOf(log.diagramStore, number);
    if (at == std::string::npos) return false;
    // A diagram with marks spans several lines (each kind of mark on a line of its own): the store line
    // goes through the diagram's closing ">>" and the line end after it. A line that never closes before
    // the next store line goes to its first line end only.
    const std::string& store = log.diagramStore;
    const std::size_t close = store.find(">>", at);
    const std::size_t nextLine = store.find("\r\n{", at);
    const bool closes = close != std::string::npos && (nextLine == std::string::npos || close < nextLine);
    const std::size_t end = store.find(kCrLf, closes ? close : at);
    log.diagramStore.erase(at, end == std::string::npos ? std::string::npos : end + 2 - at);
    return true;
}

std::string StoredDiagram(const ChatLog& log, int number) {
    const std::size_t at = StoreLineOf(log.diagramStore, number);
    if (at == std::string::npos) return std::string();
    const std::size_t lineEnd = log.diagramStore.find('\n', at);
    const std::size_t head = log.diagramStore.find("<<DiaData=", at);
    if (head == std::string::npos || head > lineEnd) return std::string();
    const std::size_t start = head + 10;
    const std::size_t end = log.diagramStore.find(">>", start);
    if (end == std::string::npos) return std::string();
    return log.diagramStore.substr(start, end - start);
}

std::string ChatFileText(const ChatLog& log) {
    std::string text = std::string(kChatFileHead) + kCrLf + kCrLf + log.logText;
    if (log.diagramCounter > 0) {
        // Runs of empty lines go whole, so that a file written once reads back to the same text.
        std::string store = log.diagramStore;
        for (std::size_t at = store.find("\r\n\r\n"); at != std::string::npos; at = store.find("\r\n\r\n", at)) {
            store.erase(at, 2);
        }
        text += std::string(kCrLf) + kCrLf + kBoardDataMarker + kCrLf + kCrLf + store;
    }
    return text;
}

std::string ChatLineEndsAsCrLf(const std::string& fileText) {
    // Neither byte is ever the second byte of a Shift-JIS character, so the bytes can be replaced as they
    // stand.
    std::string text = fileText;
    ReplaceAll(text, "\r\n", "\n");
    ReplaceAll(text, "\r", "\n");
    ReplaceAll(text, "\n", kCrLf);
    return text;
}

namespace {

bool IsBlankLine(std::string_view line) { return line.find_first_not_of(' ') == std::string_view::npos; }

std::vector<std::string_view> LinesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = text.find(kCrLf, start);
        lines.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) break;
        start = end + 2;
    }
    return lines;
}

}  // namespace

bool ChatFileReadWhole(const std::string& fileText) {
    const std::string text = ChatLineEndsAsCrLf(fileText);
    const std::string written = ChatFileText(ChatLogFromFileText(text));
    const std::vector<std::string_view> have = LinesOf(text);
    const std::vector<std::string_view> kept = LinesOf(written);
    // The head line (the first, when it is no entry) is always written anew; every other line that holds
    // something must come back, in order.
    std::size_t k = 0;
    for (std::size_t i = 0; i < have.size(); ++i) {
        if (IsBlankLine(have[i]) || (i == 0 && have[i].compare(0, 1, "[") != 0)) continue;
        // The marker is written only before diagrams; without any, nothing is lost with it.
        if (have[i] == kBoardDataMarker) continue;
        while (k < kept.size() && kept[k] != have[i]) ++k;
        if (k == kept.size()) return false;
        ++k;
    }
    return true;
}

ChatLog ChatLogFromFileText(const std::string& originalText) {
    const std::string fileText = ChatLineEndsAsCrLf(originalText);
    ChatLog log;
    log.present = true;
    const std::string marker = kBoardDataMarker;
    const std::size_t p = fileText.find(marker);
    std::string entries = p == std::string::npos ? fileText : fileText.substr(0, p >= 4 ? p - 4 : 0);
    if (p != std::string::npos) {
        log.diagramStore = fileText.substr(std::min(p + marker.size() + 4, fileText.size())) + kCrLf;
        for (std::size_t at = log.diagramStore.find('{'); at != std::string::npos;
             at = log.diagramStore.find('{', at + 1)) {
            std::size_t i = at + 1;
            int n = 0;
            while (i < log.diagramStore.size() && log.diagramStore[i] >= '0' && log.diagramStore[i] <= '9' && n < 100000) {
                n = n * 10 + (log.diagramStore[i++] - '0');
            }
            if (i > at + 1 && i < log.diagramStore.size() && log.diagramStore[i] == '}') {
                log.diagramCounter = std::max(log.diagramCounter, n);
            }
        }
    }
    const std::size_t first = entries.find("\r\n[");
    entries = first == std::string::npos ? std::string() : entries.substr(first);
    log.logText = std::string(kLogHead) + kCrLf + kEntrySeparator + entries;
    // Every empty line becomes a separator, runs of them too: the search goes on from the line break that
    // ends each separator, so that no empty line is left for the next reading to change again.
    const std::string separator = std::string(kCrLf) + SeparatorLine();
    for (std::size_t at = log.logText.find("\r\n\r\n"); at != std::string::npos;
         at = log.logText.find("\r\n\r\n", at + separator.size() - 2)) {
        log.logText.replace(at, 4, separator);
    }
    return log;
}

}  // namespace quorvel
