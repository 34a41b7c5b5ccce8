#include "auxiliary/net_game_log.h"

#include <algorithm>

#include "auxiliary/diagram_text.h"
#include "platform/text_codec.h"

namespace quorvel {
namespace {

constexpr std::size_t kNone = LogSelection::kNone;
constexpr int kLargestDiagramNumber = 99999999;
const std::string kDiagramReference = "{ 碁盤";

// Where the line holding byte `at` starts.
std::size_t LineStart(const std::string& t, std::size_t at) {
    if (at == 0) return 0;
    const std::size_t lf = t.rfind('\n', at - 1);
    return lf == std::string::npos ? 0 : lf + 1;
}

std::size_t LineEnd(const std::string& t, std::size_t start) {
    const std::size_t cr = t.find("\r\n", start);
    return cr == std::string::npos ? t.size() : cr;
}

// The end of a comment entry starting at `start`: past the separator line that follows it (a line break
// and blanks), or the end of the text when no separator follows.
std::size_t EntryEnd(const std::string& t, std::size_t start) {
    const std::size_t q = t.find("\r\n     ", start);
    if (q == std::string::npos) return t.size();
    std::size_t end = q + 2;
    while (end < t.size() && t[end] == ' ') ++end;
    if (t.compare(end, 2, "\r\n") == 0) end += 2;
    return end;
}

// The diagram number after "{ 碁盤" inside [start, end), or 0. Digits past the largest number read as none.
int DiagramNumberIn(const std::string& t, std::size_t start, std::size_t end) {
    const std::size_t ref = FindCharacters(t, kDiagramReference, start);
    if (ref == std::string::npos || ref >= end) return 0;
    std::size_t i = ref + kDiagramReference.size();
    while (i < end && t[i] == ' ') ++i;
    long long n = 0;
    const std::size_t first = i;
    for (; i < end && t[i] >= '0' && t[i] <= '9'; ++i) {
        n = n * 10 + (t[i] - '0');
        if (n > kLargestDiagramNumber) return 0;
    }
    if (i == first || t.compare(i, 2, " }") != 0) return 0;
    return static_cast<int>(n);
}

}  // namespace

LogSelection SelectLogEntry(const std::string& t, std::size_t caret) {
    LogSelection s;
    caret = std::min(caret, t.size());
    const std::size_t firstLineEnd = LineEnd(t, 0);
    if (caret <= firstLineEnd) return s;  // the head line selects nothing
    std::size_t line = LineStart(t, caret);
    if (line < t.size() && t[line] == ' ') {
        // A separator line: highlighted itself, so that a new comment can be written after it.
        s.start = line;
        s.separator = true;
        s.highlight = std::min<std::size_t>(15, LineEnd(t, line) - line);
        s.end = LineEnd(t, line);
        return s;
    }
    for (;;) {
        if (line < t.size() && t[line] == '[') break;
        if (line < t.size() && t[line] == ' ') return s;  // the caret is in no comment
        if (line <= firstLineEnd) return s;
        line = LineStart(t, line - 1);
    }
    s.start = line;
    s.end = EntryEnd(t, line);
    const std::size_t header = t.find(" ]", line);
    s.highlight = header != std::string::npos && header + 2 <= s.end ? header + 2 - line : LineEnd(t, line) - line;
    s.diagram = DiagramNumberIn(t, line, s.end);
    return s;
}

bool SwapLogEntries(std::string& t, const LogSelection& a, const LogSelection& b) {
    if (!a.comment() || !b.comment() || a.start == b.start) return false;
    const LogSelection& first = a.start < b.start ? a : b;
    const LogSelection& second = a.start < b.start ? b : a;
    if (first.end > second.start || second.end > t.size()) return false;
    // The entries travel with their separator lines; the text between them stays where it is.
    const std::string one = t.substr(first.start, first.end - first.start);
    std::string two = t.substr(second.start, second.end - second.start);
    // The last entry may have no separator after it; moved up, it takes one, so the entry after it still
    // starts a line of its own.
    if (two.size() < 2 || two.compare(two.size() - 2, 2, "\r\n") != 0) two += "\r\n" + std::string(15, ' ') + "\r\n";
    const std::string between = t.substr(first.end, second.start - first.end);
    t = t.substr(0, first.start) + two + between + one + t.substr(second.end);
    return true;
}

std::string LogEntryComment(const std::string& t, const LogSelection& selected) {
    if (!selected.comment() || selected.start >= t.size()) return std::string();
    const std::string entry = t.substr(selected.start, std::min(selected.end, t.size()) - selected.start);
    std::size_t cut = std::min(entry.find("\r\n" + kDiagramReference), entry.find("\r\n     "));
    if (cut == std::string::npos) {
        cut = entry.size();
        while (cut >= 2 && entry.compare(cut - 2, 2, "\r\n") == 0) cut -= 2;
    }
    return entry.substr(0, cut);
}

void DeleteLogEntry(ChatLog& log, const LogSelection& selected) {
    if (!selected.comment() || selected.start >= log.logText.size()) return;
    const std::size_t end = std::min(selected.end, log.logText.size());
    log.logText.erase(selected.start, end - selected.start);
    if (selected.diagram > 0) RemoveStoredDiagram(log, selected.diagram);
}

void ClearLogBoard(LogBoard& b) {
    SecondaryBoard& s = b.board;
    s.stoneList.fill(0);
    s.stoneCodes.fill(0);
    s.marks.fill(0);
    s.setupCount = 0;
    s.shownEntry = 0;
    s.blackFirst = true;
    s.openingKo = 0;
    RebuildSecondaryBoard(s);
    b.entryCount = 0;
    b.diagram = 0;
    b.diagramText.clear();
}

bool ShowLogDiagram(LogBoard& b, const ChatLog& log, int number) {
    const std::string text = StoredDiagram(log, number);
    if (number <= 0 || text.empty()) return false;
    ShowDiagram(b.board, ReadDiagramText(text, b.board.boardSize, false));
    b.entryCount = b.board.shownEntry;
    b.diagram = number;
    b.diagramText = text;
    return true;
}

LogStep LogStepAt(int x) {
    if (x <= 27) return LogStep::ToSetup;
    if (x <= 55) return LogStep::BackTen;
    if (x <= 83) return LogStep::Back;
    if (x <= 111) return LogStep::Forward;
    if (x <= 139) return LogStep::ForwardTen;
    return LogStep::ToEnd;
}

bool StepLogBoard(LogBoard& b, LogStep step) {
    SecondaryBoard& s = b.board;
    int target = s.shownEntry;
    switch (step) {
        case LogStep::ToSetup: target = s.setupCount; break;
        case LogStep::BackTen: target -= 10; break;
        case LogStep::Back: target -= 1; break;
        case LogStep::Forward: target += 1; break;
        case LogStep::ForwardTen: target += 10; break;
        case LogStep::ToEnd: target = b.entryCount; break;
    }
    target = std::clamp(target, s.setupCount, std::max(s.setupCount, b.entryCount));
    if (target != s.shownEntry) {
        s.shownEntry = target;
        RebuildSecondaryBoard(s);
    }
    return s.shownEntry > s.setupCount && s.stoneList[static_cast<std::size_t>(s.shownEntry)] == 0;
}

std::string LogBoardCaption(const LogBoard& b) {
    return " [碁盤" + std::to_string(b.diagram) + "]   " + std::to_string(b.entryCount - b.board.setupCount) + "手";
}

std::string LogDiagramSgf(const LogBoard& b) {
    const SecondaryBoard& s = b.board;
    std::string sgf = "(;GM[1]FF[1]SZ[" + std::to_string(s.boardSize) + "]";
    if (b.entryCount == 0) return sgf + ")";
    if (s.shownEntry == s.setupCount && !s.blackFirst) sgf += "NE[W]";
    if (s.setupCount > 0) {
        for (const int code : {kBlackSetup, kWhiteSetup}) {
            std::string list;
            for (int k = s.setupCount; k >= 1; --k) {
                if (s.stoneCodes[static_cast<std::size_t>(k)] == code) {
                    list += "[" + SgfPointText(s.stoneList[static_cast<std::size_t>(k)]) + "]";
                }
            }
            if (!list.empty()) sgf += std::string("\r\n") + (code == kBlackSetup ? "AB" : "AW") + list;
        }
        sgf += DiagramMarksText(s);
    }
    if (s.shownEntry > s.setupCount) {
        sgf += "\r\n";
        for (int k = s.setupCount + 1; k <= s.shownEntry; ++k) {
            sgf += std::string(";") + (s.MoveColour(k - s.setupCount) == kBlack ? "B" : "W") + "[" +
                   SgfPointText(s.stoneList[static_cast<std::size_t>(k)]) + "]\r\n";
        }
    }
    sgf += ")";
    if (!s.blackFirst) sgf += kSiroSaki;
    return sgf;
}

}  // namespace quorvel
