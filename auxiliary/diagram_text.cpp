#include "auxiliary/diagram_text.h"

#include <algorithm>

namespace quorvel {

const char* const kDiagramTextHead = "<<DiaData=SZ[";
const char* const kSiroSaki = "/<SiroSaki>/";
const char* const kNoChatBoardStones = "チャット 碁 盤 に 石 は あ り ま せ ん ！";
const char* const kNoClipboardDiagram = "クリップボードに棋譜データが見付かりません";

namespace {

constexpr const char* kCrLf = "\r\n";
// The mark properties by mark code 1..7; the labels 9..15 are LB.
constexpr const char* kMarkNames[] = {"SQ", "ST", "CR", "RT", "TR", "LO", "MA"};
constexpr int kFirstLabel = 9;
constexpr int kLastLabel = 15;

// The two letters of a point index: index / 21 and index mod 21 in "tabcdefghijklmnopqrs".
std::string PointLetters(PointCode p) {
    if (p < 0 || p >= kGridCells) p = 0;
    return {kSgfLetters[PointCol(p)], kSgfLetters[PointRow(p)]};
}

// The point of two letters on a board of `size` lines, 0 when either letter lies off the board.
PointCode LettersToPoint(char x, char y, int size) {
    const int col = x - 'a' + 1;
    const int row = y - 'a' + 1;
    if (col < 1 || col > size || row < 1 || row > size) return 0;
    return MakePoint(col, row);
}

// A group "[" l l "]" at `at`: the point (0 for letters off the board); false when the group does not fit.
bool PointGroup(const std::string& t, std::size_t at, int size, PointCode& p) {
    if (at + 4 > t.size() || t[at] != '[' || t[at + 3] != ']') return false;
    p = LettersToPoint(t[at + 1], t[at + 2], size);
    return true;
}

}  // namespace

std::string DiagramMarksText(const SecondaryBoard& s) {
    std::string text;
    // Every mark is kept, also one whose stone a later move took or whose point a move covered: reading the
    // text back binds each mark to the setup position, where it was set.
    const auto kept = [&s](PointCode p) { return s.marks[p] != 0 && s.IsOnBoard(p); };
    for (int code = 1; code <= 7; ++code) {
        std::string list;
        for (PointCode p = 0; p < kGridCells; ++p) {
            if (kept(p) && MarkKind(s.marks[p]) == code) list += "[" + PointLetters(p) + "]";
        }
        if (!list.empty()) text += kCrLf + std::string(kMarkNames[code - 1]) + list;
    }
    std::string labels;
    for (PointCode p = 0; p < kGridCells; ++p) {
        const int code = MarkKind(s.marks[p]);
        if (kept(p) && code >= kFirstLabel && code <= kLastLabel) {
            labels += "[" + PointLetters(p) + ":" + static_cast<char>('A' + code - kFirstLabel) + "]";
        }
    }
    if (!labels.empty()) text += kCrLf + std::string("LB") + labels;
    return text;
}

std::string DiagramText(const SecondaryBoard& s) {
    std::string text = kDiagramTextHead + std::to_string(s.boardSize) + "]";
    if (!s.blackFirst) text += kSiroSaki;
    for (const int code : {kBlackSetup, kWhiteSetup}) {
        std::string list;
        for (int k = 1; k <= s.setupCount; ++k) {
            if (s.stoneCodes[static_cast<std::size_t>(k)] == code) {
                list += "[" + PointLetters(s.stoneList[static_cast<std::size_t>(k)]) + "]";
            }
        }
        if (!list.empty()) text += (code == kBlackSetup ? "AB" : "AW") + list;
    }
    text += DiagramMarksText(s);
    for (int k = s.setupCount + 1; k <= s.shownEntry; ++k) {
        text += std::string(";") + (s.MoveColour(k - s.setupCount) == kBlack ? "B" : "W") + "[" +
                PointLetters(s.stoneList[static_cast<std::size_t>(k)]) + "]";
    }
    return text + ">>" + kCrLf;
}

DiagramData ReadDiagramText(const std::string& text, int currentSize, bool withRoot) {
    DiagramData d;
    int size = currentSize;
    if (const std::size_t sz = text.find("SZ["); sz != std::string::npos) {
        const std::size_t close = text.find(']', sz);
        const std::string n = close == std::string::npos ? std::string() : text.substr(sz + 3, close - sz - 3);
        if (n == "9" || n == "13" || n == "19") {
            d.boardSize = std::stoi(n);
            size = d.boardSize;
        }
    }
    d.blackFirst = text.find(kSiroSaki) == std::string::npos;

    // Setup stones: one run of groups for each colour, without a second stone on a point.
    std::vector<bool> taken(kGridCells, false);
    for (const int code : {kBlackSetup, kWhiteSetup}) {
        const std::size_t list = text.find(code == kBlackSetup ? "AB[" : "AW[");
        if (list == std::string::npos) continue;
        PointCode p = 0;
        for (std::size_t at = list + 2; PointGroup(text, at, size, p); at += 4) {
            if (static_cast<int>(d.setup.size()) >= kStoneListEntries) break;
            if (p == 0 || taken[static_cast<std::size_t>(p)]) continue;
            taken[static_cast<std::size_t>(p)] = true;
            d.setup.emplace_back(p, code);
        }
    }

    for (int code = 1; code <= 7; ++code) {
        const std::size_t list = text.find(std::string(kMarkNames[code - 1]) + "[");
        if (list == std::string::npos) continue;
        PointCode p = 0;
        for (std::size_t at = list + 2; PointGroup(text, at, size, p); at += 4) {
            if (p != 0) d.marks.emplace_back(p, code);
        }
    }
    if (const std::size_t list = text.find("LB["); list != std::string::npos) {
        for (std::size_t at = list + 2; at + 6 <= text.size() && text[at] == '[' && text[at + 3] == ':' &&
                                        text[at + 5] == ']';
             at += 6) {
            const char letter = text[at + 4];
            if (letter < 'A' || letter > 'G') break;
            const PointCode p = LettersToPoint(text[at + 1], text[at + 2], size);
            if (p != 0) d.marks.emplace_back(p, letter - 'A' + kFirstLabel);
        }
    }

    // Moves: ";" with a colour letter (ignored: the colours follow the first colour) and a point group.
    std::size_t at = text.find(';');
    if (withRoot && at != std::string::npos) at = text.find(';', at + 1);
    const int room = kStoneListEntries - static_cast<int>(d.setup.size());
    for (; at != std::string::npos && static_cast<int>(d.moves.size()) < room; at = text.find(';', at + 1)) {
        std::size_t group = at + 1;
        if (group < text.size() && text[group] >= 'A' && text[group] <= 'Z') ++group;
        PointCode p = 0;
        if (PointGroup(text, group, size, p)) d.moves.push_back(p);
    }
    return d;
}

void ShowDiagram(SecondaryBoard& s, const DiagramData& d) {
    if (d.boardSize != 0 && d.boardSize != s.boardSize) {
        s.boardSize = d.boardSize;
        s.geometry = GeometryFor(d.boardSize);
    }
    s.stoneList.fill(0);
    s.stoneCodes.fill(0);
    s.marks.fill(0);
    s.openingKo = 0;
    int n = 0;
    for (const auto& [p, code] : d.setup) {
        if (!s.IsOnBoard(p) || n >= kStoneListEntries) continue;
        ++n;
        s.stoneList[static_cast<std::size_t>(n)] = p;
        s.stoneCodes[static_cast<std::size_t>(n)] = code;
    }
    s.setupCount = n;
    s.shownEntry = n;
    s.blackFirst = d.blackFirst;
    RebuildSecondaryBoard(s);
    // The marks bind to the setup position; one the moves later change is no longer shown.
    for (const auto& [p, code] : d.marks) {
        if (s.IsOnBoard(p)) s.marks[p] = MakeMark(s.subBoard[p], code);
    }
    for (PointCode p : d.moves) {
        if (n >= kStoneListEntries) break;
        ++n;
        s.stoneList[static_cast<std::size_t>(n)] = s.IsOnBoard(p) ? p : 0;
    }
    s.shownEntry = n;
    RebuildSecondaryBoard(s);
}

bool LoadChatBoard(SecondaryBoard& s, const std::string& shownDiagramText, std::string& message) {
    const DiagramData d = ReadDiagramText(shownDiagramText, s.boardSize, false);
    if (d.setup.empty() && d.moves.empty()) {
        message = kNoChatBoardStones;
        return false;
    }
    ShowDiagram(s, d);
    return true;
}

bool LoadClipboardDiagram(SecondaryBoard& s, const std::string& clipboardText, std::string& message) {
    if (clipboardText.find(';') == std::string::npos) {
        message = kNoClipboardDiagram;
        return false;
    }
    ShowDiagram(s, ReadDiagramText(clipboardText, s.boardSize, clipboardText.compare(0, 2, "(;") == 0));
    return true;
}

}  // namespace quorvel
