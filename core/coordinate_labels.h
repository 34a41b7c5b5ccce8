// The coordinate read-out under the mouse: how the lines of the board are labelled in each style.
#pragma once

#include <string>

namespace quorvel {

// The label style of the lines (GoBanXY): columns by letters (101) or numbers from the left (1) or from the
// right (19); rows on 19 lines by numbers with 19 (19) or 1 (1) at the top, or by letters (101).
struct CoordinateStyle {
    int xStyle = 101;
    int yStyle = 19;
    bool withLetterI = false;  // the "A(I)" styles keep the letter I among the column letters
};

// Column label + "-" + row label of a point (col, row from the top-left, 1-based). Boards other than 19
// lines always use the letters without I and their own row numbers. Each label is two characters, as cut
// from the label strings, so it may carry a blank.
std::string CoordinateLabel(int boardSize, const CoordinateStyle& style, int col, int row);

}  // namespace quorvel
