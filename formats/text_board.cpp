#include "formats/text_board.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "core/board_geometry.h"
#include "formats/board_diagram.h"

namespace quorvel {

const char* const kTextBoardClosing = "Text GoBoard (by Quorvel)";

namespace {

constexpr const char* kCrLf = "\r\n";
// Column labels, two bytes each; the letter I is left out unless the coordinate style keeps it.
constexpr const char* kColumnLetters = "ＡＢＣＤＥＦＧＨＪＫＬＭＮＯＰＱＲＳＴ";
constexpr const char* kColumnLettersWithI = "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳ";
constexpr const char* kFullWidthDigits = "０１２３４５６７８９";
// Footnote columns: column 1 is "A", no "I".
constexpr const char* kFootnoteLetters = "ABCDEFGHJKLMNOPQRSTA";

// Cells of the diagram grid: a stone standing when the diagram starts is its colour * 10000; a move of
// the diagram is 1000 (black) or 5000 (white) + its entry index.
constexpr int kStartStone = 10000;

std::string FullWidthDigit(int d) { return std::string(kFullWidthDigits + 2 * d, 2); }

// A number as a cell: 0..9 one full-width digit, above that ASCII digits.
std::string NumberCell(int n) { return n >= 0 && n <= 9 ? FullWidthDigit(n) : std::to_string(n); }

bool IsStarPoint(int size, int c, int r) {
    const std::vector<std::pair<int, int>> stars = StarPoints(size);
    return std::find(stars.begin(), stars.end(), std::make_pair(c, r)) != stars.end();
}

std::string EmptyGlyph(int size, int c, int r) {
    if (c == 1) return r == 1 ? "┌" : r == size ? "└" : "├";
    if (c == size) return r == 1 ? "┐" : r == size ? "┘" : "┤";
    if (r == 1) return "┬";
    if (r == size) return "┴";
    return IsStarPoint(size, c, r) ? "・" : "┼";
}

std::string StoneGlyph(int colour, int markKind) {
    static const char* const black[] = {"●", "■", "★", "●", "▼", "▲", "◆"};
    static const char* const white[] = {"○", "□", "☆", "◎", "▽", "△", "◇"};
    const int k = markKind >= 1 && markKind <= 6 ? markKind : 0;
    return colour == kBlack ? black[k] : white[k];
}

// The values every diagram of a line shares.
struct LineFacts {
    const Engine& e;
    int base;  // entries 1..base are setup stones; moves count from base + 1

    explicit LineFacts(const Engine& engine) : e(engine), base(CountBase(engine)) {}

    int ColourOf(int k) const { return LineEntryColour(e, k); }
    PointGrid ReplayToScratch(int n) const { return PositionAfterEntries(e, n); }

    // The number entry k shows in the diagram that starts at entry firstOfDiagram.
    int NumberValue(int k, int firstOfDiagram) const {
        return e.settings.textUseNew ? k - firstOfDiagram + 1 : (k - base) % 100;
    }
    // A move number as the grid writes it, without colour tags.
    std::string Number(int k, int firstOfDiagram) const { return NumberCell(NumberValue(k, firstOfDiagram)); }

    std::string ColouredNumber(int k, const std::string& number) const {
        if (!e.settings.textUseColor) return number;
        return std::string("<font color=") + (ColourOf(k) == kBlack ? "blue>" : "red>") + number + "</font>";
    }

    // The diagram grid for the entries first..last over the position after entries 1..first - 1. Each
    // entry that cannot show its number (a pass, a point already used) is noted in `footnoted`.
    PointGrid DiagramGrid(int first, int last, std::vector<bool>* footnoted) const {
        PointGrid grid{};
        const PointGrid start = ReplayToScratch(first - 1);
        for (PointCode p = 0; p < kGridCells; ++p) {
            if (start[p] == kBlack || start[p] == kWhite) grid[p] = start[p] * kStartStone;
        }
        // From the last entry back, so that the earliest move on a point keeps the cell.
        for (int k = last; k >= first; --k) {
            const PointCode p = e.lineMoves[static_cast<std::size_t>(k)];
            bool noted = p <= 0 || p >= kGridCells || !e.IsOnBoard(p) || start[p] == kBlack || start[p] == kWhite;
            for (int j = first; j < k && !noted; ++j) noted = e.lineMoves[static_cast<std::size_t>(j)] == p;
            if (noted) {
                if (footnoted) (*footnoted)[static_cast<std::size_t>(k - first)] = true;
                continue;
            }
            grid[p] = ColourOf(k) * 1000 + k;
        }
        return grid;
    }

    std::string Cell(const PointGrid& grid, PointCode p, int firstOfDiagram) const {
        const int v = grid[p];
        if (v >= kStartStone) return StoneGlyph(v / kStartStone, MarkKind(e.markGrid[p]));
        if (v > 0) {
            const int k = v % 1000;
            return ColouredNumber(k, Number(k, firstOfDiagram));
        }
        return EmptyGlyph(e.boardSize, PointCol(p), PointRow(p));
    }
};

std::string RowLabel(const Engine& e, int r) {
    if (e.boardSize == 19 && e.settings.coordinates.yStyle == 1) return NumberCell(r);
    const int n = e.boardSize + 1 - r;
    return (n < 10 ? "0" : "") + std::to_string(n);
}

std::string Wrapped(const Engine& e, std::string body) {
    if (!e.settings.textAddPre) return body;
    return std::string("<pre><tt>") + kCrLf + body + kCrLf + "</tt></pre>";
}

}  // namespace

std::string TextBoardColumnHeader(const Engine& e) {
    const int size = std::clamp(e.boardSize, 1, 19);
    if (size == 19) {
        const CoordinateStyle& style = e.settings.coordinates;
        if (style.xStyle == 1 && style.yStyle == 1) return "**１２３４５６７８９10111213141516171819**";
        return std::string("**") + (style.withLetterI ? kColumnLettersWithI : kColumnLetters) + "**";
    }
    return "**" + std::string(kColumnLetters, static_cast<std::size_t>(2 * size)) + "**";
}

std::string TextBoardText(const Engine& e) {
    const LineFacts line(e);
    const int o = line.base;
    const int moves = std::max(e.currentIndex - o, 0);
    const int perDiagram = std::clamp(e.settings.textBMoves, 1, 99);
    const std::string h = TextBoardColumnHeader(e);

    std::string out;
    for (int d = 1; d == 1 || (d - 1) * perDiagram < moves; ++d) {
        if (d > 1) out += std::string(kCrLf) + kCrLf;
        const int first = o + (d - 1) * perDiagram + 1;
        const int last = o + std::min(d * perDiagram, moves);
        if (moves > 0) {
            out += "Board <" + std::to_string(d) + "> (" + std::to_string((d - 1) * perDiagram + 1) + "-" +
                   std::to_string(std::min(d * perDiagram, moves)) + ")" + kCrLf;
        }
        out += h + kCrLf;
        std::vector<bool> footnoted(static_cast<std::size_t>(std::max(last - first + 1, 0)), false);
        const PointGrid grid = line.DiagramGrid(first, last, &footnoted);
        for (int r = 1; r <= e.boardSize; ++r) {
            const std::string label = RowLabel(e, r);
            out += label;
            for (int c = 1; c <= e.boardSize; ++c) out += line.Cell(grid, MakePoint(c, r), first);
            out += label + kCrLf;
        }
        out += h;
        if (std::find(footnoted.begin(), footnoted.end(), true) != footnoted.end()) {
            out += std::string(kCrLf) + kCrLf;
            for (int k = first; k <= last; ++k) {
                if (!footnoted[static_cast<std::size_t>(k - first)]) continue;
                const PointCode p = e.lineMoves[static_cast<std::size_t>(k)];
                if (p <= 0 || p >= kGridCells || !e.IsOnBoard(p)) {
                    // In ASCII digits, and with the grid's own count: the move's place in the diagram,
                    // except where the grid's numbers run on from diagram to diagram (TextUseNew off),
                    // where the place in the diagram would name another move's number.
                    out += " [" + std::to_string(line.NumberValue(k, first)) + " パス]";
                } else {
                    out += " [" + line.Number(k, first) + "==" + kFootnoteLetters[PointCol(p) - 1] +
                           std::to_string(e.boardSize + 1 - PointRow(p)) + "]";
                }
            }
        }
    }
    return Wrapped(e, out + kCrLf + kCrLf + kTextBoardClosing);
}

std::string TextBoardRangeText(const Engine& e, PointCode anchor, PointCode far) {
    const LineFacts line(e);
    const int size = e.boardSize;
    const int ac = PointCol(anchor);
    const int ar = PointRow(anchor);
    // The corner decides which way the rectangle runs; any other anchor counts as the top-left corner.
    const bool right = (ac == size && ar == 1) || (ac == size && ar == size);
    const bool bottom = (ac == 1 && ar == size) || (ac == size && ar == size);
    const int fc = std::clamp(PointCol(far), 1, size);
    const int fr = std::clamp(PointRow(far), 1, size);
    const int c1 = right ? fc : 1;
    const int c2 = right ? size : fc;
    const int r1 = bottom ? fr : 1;
    const int r2 = bottom ? size : fr;

    const PointGrid grid = line.DiagramGrid(e.baseIndex + 1, e.currentIndex, nullptr);
    std::string out;
    for (int r = r1; r <= r2; ++r) {
        for (int c = c1; c <= c2; ++c) {
            const PointCode p = MakePoint(c, r);
            const int v = grid[p];
            if (v > 0 && v < kStartStone) {
                // Numbers count from the first move of the line with TextUseNew, else from baseIndex.
                const int k = v % 1000;
                const int n = e.settings.textUseNew ? k - line.base : (k - e.baseIndex) % 100;
                out += line.ColouredNumber(k, NumberCell(n));
            } else {
                out += line.Cell(grid, p, e.baseIndex + 1);
            }
        }
        out += kCrLf;
    }
    return Wrapped(e, out + kCrLf + kTextBoardClosing);
}

void WriteTextBoard(Engine& e) {
    const std::string text = TextBoardText(e);
    e.messages().SetText(text);
    if (Clipboard* clipboard = e.clipboard()) clipboard->SetText(text);
}

void WriteTextBoardRange(Engine& e, PointCode anchor, PointCode far) {
    const std::string text = TextBoardRangeText(e, anchor, far);
    e.messages().SetText(text);
    if (Clipboard* clipboard = e.clipboard()) clipboard->SetText(text);
}

}  // namespace quorvel
