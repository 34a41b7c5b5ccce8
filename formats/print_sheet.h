// Printed pages as lists of drawing items in page units (300 to the inch, from the top-left corner of the
// printable area; fonts in points at that resolution), so that a page prints at the same size on any
// printer. The drawing primitives of the record's printed pages (grid, stone, header, list places,
// brackets, pass mark) build them; the windows paint the lists onto the printer.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/record.h"

namespace quorvel {

constexpr int kPageUnitsPerInch = 300;

struct SheetItem {
    enum class Kind { Text, Circle, Bar, Line };
    Kind kind = Kind::Text;
    int x = 0;  // text: top-left corner; circle: centre; bar and line: first corner or end
    int y = 0;
    int x2 = 0;  // bar and line: the other corner or end; circle: the radius
    int y2 = 0;
    int fontSize = 0;      // text: points, in the font "MS明朝"
    bool white = false;    // text in white (else black); circle filled white (else black)
    bool onBlack = false;  // text on an opaque black background
    std::string text;      // Shift-JIS
};

struct Sheet {
    std::vector<SheetItem> items;
};

struct PrintJob {
    std::string title;  // the print job's name
    std::vector<Sheet> sheets;
};

// The lines a printed board has: the board's own, 19 for a size no board has.
int PrintedLines(int boardSize);
// The grid's right and bottom edge by board size.
struct GridExtent {
    int right;
    int bottom;
};
GridExtent GridExtentOf(int boardSize);
// The x of a page title over the board (y 430).
int TitleX(int boardSize);

// Coordinate numbers, lines, frame and (19 lines) star points of a board of `boardSize` lines.
void DrawGrid(Sheet& s, int boardSize);
// A stone of radius 49 centred on (x, y), numbered when `number` is 1 or more.
void DrawStone(Sheet& s, int colour, int number, int x, int y);
// Date (the record's, else `today`), players, handicap and result of the record.
void DrawHeader(Sheet& s, const GameInfo& info, const std::string& today);
// The centre of list item k (from 1) of a list whose first row is at `top`: six items a row.
struct ListPlace {
    int x;
    int y;
};
ListPlace ListPosition(int k, int top);
void DrawBrackets(Sheet& s, int x, int y);
void DrawPassMark(Sheet& s, int x, int y);
void DrawText(Sheet& s, int x, int y, int fontSize, const std::string& text);

// The centre of a board point on the page.
inline int BoardPointX(PointCode p) {
    return PointCol(p) * 100 + 250;
}
inline int BoardPointY(PointCode p) {
    return PointRow(p) * 100 + 550;
}

// List rows on the first page of a record start below the board; on continuation pages at the top.
constexpr int kFirstListTop = 2620;
constexpr int kContinuedListTop = 200;
constexpr int kFirstPageItems = 30;       // five rows under the board
constexpr int kContinuedPageItems = 120;  // twenty rows

// A list under the board that goes on over sheets of its own: the first kFirstPageItems items on the job's
// last sheet from kFirstListTop, each further kContinuedPageItems on a new sheet from kContinuedListTop.
// `draw` draws item `index` (from 0) at its place; `close` ends each sheet (`part` from 1) after its last
// item, at `lastY`, `more` telling whether another sheet follows.
void LayOutList(PrintJob& job, std::size_t count,
                const std::function<void(Sheet&, std::size_t, ListPlace)>& draw,
                const std::function<void(Sheet&, int part, int lastY, bool more)>& close);
// A listed move: its stone at `at` and the brackets after it; returns the centre inside the brackets.
ListPlace DrawListedStone(Sheet& s, ListPlace at, int colour, int number);

// "２", "１０": a page number in full-width digits.
std::string FullWidthNumber(int n);

}  // namespace quorvel
