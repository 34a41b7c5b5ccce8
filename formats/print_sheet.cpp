#include "formats/print_sheet.h"

namespace quorvel {
namespace {

using Kind = SheetItem::Kind;

SheetItem Text(int x, int y, int size, std::string text) {
    return {Kind::Text, x, y, 0, 0, size, false, false, std::move(text)};
}
SheetItem Bar(int x1, int y1, int x2, int y2) {
    return {Kind::Bar, x1, y1, x2, y2, 0, false, false, {}};
}
SheetItem Line(int x1, int y1, int x2, int y2) {
    return {Kind::Line, x1, y1, x2, y2, 0, false, false, {}};
}
SheetItem Circle(int x, int y, int radius, bool white) {
    return {Kind::Circle, x, y, radius, 0, 0, white, false, {}};
}

}  // namespace

int PrintedLines(int boardSize) { return boardSize >= 2 && boardSize <= 19 ? boardSize : 19; }

GridExtent GridExtentOf(int boardSize) {
    const int lines = PrintedLines(boardSize);
    return {350 + (lines - 1) * 100, 650 + (lines - 1) * 100};
}

int TitleX(int boardSize) {
    const int lines = PrintedLines(boardSize);
    if (lines == 19) return 1000;
    if (lines == 13) return 765;
    // Centred over the grid, as on 9 lines.
    return 350 + (lines - 1) * 50 - 160;
}

void DrawText(Sheet& s, int x, int y, int fontSize, const std::string& text) {
    s.items.push_back(Text(x, y, fontSize, text));
}

void DrawGrid(Sheet& s, int boardSize) {
    const int size = PrintedLines(boardSize);
    for (int n = 1; n <= size; ++n) {
        const std::string label = std::to_string(n);
        if (n <= 9) {
            DrawText(s, n * 100 + 235, 528, 14, label);
            DrawText(s, 242, n * 100 + 522, 14, label);
        } else {
            DrawText(s, n * 100 + 220, 525, 14, label);
            DrawText(s, 220, n * 100 + 522, 14, label);
        }
    }
    const GridExtent g = GridExtentOf(size);
    for (int y = 650; y <= g.bottom; y += 100) s.items.push_back(Line(350, y, g.right, y));
    for (int x = 350; x <= g.right; x += 100) s.items.push_back(Line(x, 650, x, g.bottom));
    s.items.push_back(Bar(340, 640, 350, g.bottom));
    s.items.push_back(Bar(340, 640, g.right, 650));
    s.items.push_back(Bar(340, g.bottom, g.right + 10, g.bottom + 10));
    s.items.push_back(Bar(g.right, 640, g.right + 10, g.bottom + 10));
    if (size != 19) return;
    for (int x : {650, 1250, 1850}) {
        for (int y : {950, 1550, 2150}) s.items.push_back(Circle(x, y, 14, false));
    }
}

void DrawStone(Sheet& s, int colour, int number, int x, int y) {
    const bool black = colour == kBlack;
    s.items.push_back(Circle(x, y, 49, !black));
    if (number < 1) return;
    SheetItem t;
    if (number <= 9) {
        t = Text(x - 19, y - 36, 18, std::to_string(number));
    } else if (number <= 99) {
        t = Text(x - 31, y - 30, 15, std::to_string(number));
    } else {
        t = Text(x - 42, y - 26, 13, std::to_string(number));
    }
    t.white = black;
    t.onBlack = black;
    s.items.push_back(t);
}

void DrawHeader(Sheet& s, const GameInfo& info, const std::string& today) {
    DrawText(s, 200, 50, 18, info.date == kUnknown ? today : info.date);
    if (info.blackPlayer != kUnknown) DrawText(s, 200, 165, 16, "黒番 ： " + info.blackPlayer);
    if (info.whitePlayer != kUnknown) DrawText(s, 200, 265, 16, "白番 ： " + info.whitePlayer);
    if (info.handicapText != kUnknown) DrawText(s, 200, 380, 16, info.handicapText);
    if (info.resultText != kUnknown) DrawText(s, 1070, 165, 16, info.resultText);
}

ListPlace ListPosition(int k, int top) {
    const int c = k % 6 == 0 ? 6 : k % 6;
    const int r = k % 6 == 0 ? k / 6 - 1 : k / 6;
    return {c * 330 + 10, r * 140 + top};
}

void DrawBrackets(Sheet& s, int x, int y) {
    DrawText(s, x - 70, y - 33, 18, "[");
    DrawText(s, x + 49, y - 33, 18, "]");
}

void DrawPassMark(Sheet& s, int x, int y) {
    DrawText(s, x - 50, y - 22, 13, "パス");
}

void LayOutList(PrintJob& job, std::size_t count,
                const std::function<void(Sheet&, std::size_t, ListPlace)>& draw,
                const std::function<void(Sheet&, int, int, bool)>& close) {
    std::size_t next = 0;
    for (int part = 1; next < count; ++part) {
        if (part > 1) job.sheets.emplace_back();
        Sheet& sheet = job.sheets.back();
        const int top = part == 1 ? kFirstListTop : kContinuedListTop;
        const std::size_t room = part == 1 ? kFirstPageItems : kContinuedPageItems;
        int lastY = top;
        for (std::size_t k = 1; k <= room && next < count; ++k, ++next) {
            const ListPlace at = ListPosition(static_cast<int>(k), top);
            lastY = at.y;
            draw(sheet, next, at);
        }
        close(sheet, part, lastY, next < count);
    }
}

ListPlace DrawListedStone(Sheet& s, ListPlace at, int colour, int number) {
    DrawStone(s, colour, number, at.x, at.y);
    const ListPlace inside{at.x + 130, at.y};
    DrawBrackets(s, inside.x, inside.y);
    return inside;
}

std::string FullWidthNumber(int n) {
    static const char* const kDigits[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
    std::string out;
    for (char c : std::to_string(n)) out += kDigits[c - '0'];
    return out;
}

}  // namespace quorvel
