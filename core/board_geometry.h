// Where the lines of each board size lie in the board picture, and how a mouse position snaps to them.
// Pure functions: the board window draws and hit-tests with them, tests check them without a window.
#pragma once

#include <utility>
#include <vector>

#include "core/point.h"

namespace quorvel {

struct BoardGeometry {
    int boardSize;
    int gridPitch;         // pixels between two lines
    int gridOffset;        // a point's centre is col * gridPitch - gridOffset
    int snapBefore;        // a coordinate in (line - before, line + after] snaps to the line
    int snapAfter;
    const char* boardPicture;  // relative to the program folder
    const char* stonePicture;

    int FirstLine() const { return gridPitch - gridOffset; }
    int CentreX(PointCode p) const { return PointCol(p) * gridPitch - gridOffset; }
    int CentreY(PointCode p) const { return PointRow(p) * gridPitch - gridOffset; }
};

// The star points of a board size as (column, row): 19 lines 4, 10, 16 both ways; 13 lines the four at 4
// and 10 and the centre; 9 lines the four at 3 and 7 and the centre; 7 lines the centre; 6 lines none.
std::vector<std::pair<int, int>> StarPoints(int boardSize);

// The geometry of one of the sizes 19, 13, 9, 7 and 6; nullptr for any other size.
const BoardGeometry* GeometryFor(int boardSize);

// Mouse positions beyond this on either axis are outside the board and leave the hover point alone.
constexpr int kHoverLimit = 381;

// The hover point: the pixel of the line crossing under the mouse, which a click on the board acts on.
struct HoverPoint {
    int x;
    int y;
};

// The hover point after the mouse moved to (mouseX, mouseY). Coordinates below 9 are raised to 9; an axis
// whose coordinate falls in no line's zone keeps its old value; beyond kHoverLimit nothing changes.
HoverPoint SnapHover(const BoardGeometry& g, HoverPoint old, int mouseX, int mouseY);

// The point under a hover point.
PointCode HoverToPoint(const BoardGeometry& g, HoverPoint h);

}  // namespace quorvel
