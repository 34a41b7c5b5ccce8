// Text boards: the current line as printable diagrams of full-width characters, two bytes a cell in
// Shift-JIS, so that they line up in a fixed-width font. Box-drawing glyphs draw the empty grid, stone
// glyphs (by the mark on the point) the stones standing when a diagram starts, and move numbers the moves
// of the diagram; a move that cannot show its number (a point played again, a pass) gets a footnote.
//
// The texts use the settings TextBMoves (moves per diagram), TextUseNew (numbers restart at 1 in each
// diagram), TextUseColor (numbers in HTML font tags, blue for Black, red for White) and TextAddPre (the
// whole text inside "<pre><tt>" .. "</tt></pre>"). Lines end with CR LF.
#pragma once

#include <string>

#include "core/engine.h"

namespace quorvel {

extern const char* const kTextBoardClosing;  // "Text GoBoard (by Quorvel)"

// The column header of a board: "**" + one full-width column label a line + "**".
std::string TextBoardColumnHeader(const Engine& e);

// Every diagram of the line from its first move to the shown position, TextBMoves moves each (one
// diagram of the position when no move has been played).
std::string TextBoardText(const Engine& e);

// One diagram of the moves after baseIndex up to the shown position, limited to the rectangle between the
// board corner `anchor` and the opposite point `far` (both points of the board), without title, labels,
// header or footnotes.
std::string TextBoardRangeText(const Engine& e, PointCode anchor, PointCode far);

// KKT and KKB: the text goes into the text window and onto the clipboard.
void WriteTextBoard(Engine& e);
void WriteTextBoardRange(Engine& e, PointCode anchor, PointCode far);

}  // namespace quorvel
