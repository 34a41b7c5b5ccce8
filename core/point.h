// Board points, stone colours and the packed stone records shared by every part of the engine.
#pragma once

#include <string>

namespace quorvel {

// A point is col * 21 + row on a 21 x 21 grid with a border; col counts from the left edge and row from
// the top, 1 to the board size. 0 is a pass (or, where a point is expected, no point).
using PointCode = int;

constexpr int kGridWidth = 21;
constexpr int kGridCells = kGridWidth * kGridWidth;  // 441
constexpr PointCode kPass = 0;

// Neighbours are always visited in this order: right, left, below, above.
constexpr int kNeighbourSteps[4] = {+kGridWidth, -kGridWidth, +1, -1};

// Stone colours as kept in the grids. The opposite colour is colour ^ 4.
constexpr int kEmpty = 0;
constexpr int kBlack = 1;
constexpr int kWhite = 5;
constexpr int kBorder = -50;

inline int Opponent(int colour) { return colour ^ 4; }

inline PointCode MakePoint(int col, int row) { return col * kGridWidth + row; }
inline int PointCol(PointCode p) { return p / kGridWidth; }
inline int PointRow(PointCode p) { return p % kGridWidth; }

// A stone with its colour elsewhere in the record: colour * 1000 + point (1000 + p black, 5000 + p white).
inline int MakeStone(int colour, PointCode p) { return colour * 1000 + p; }
inline int StoneColour(int stone) { return stone / 1000; }
inline PointCode StonePoint(int stone) { return stone % 1000; }

// SGF coordinate letters by index: coordinate 1 is "a", coordinate 0 is "t" (so a pass writes as "tt").
constexpr char kSgfLetters[] = "tabcdefghijklmnopqrs";

// The two SGF letters of a point; a pass gives "tt".
std::string SgfPointText(PointCode p);

// Reads an SGF letter pair ("aa" is col 1 row 1, code 22). A pair that does not fall on the board of
// `boardSize` lines reads as a pass (0); on 19 lines "tt" is a pass.
inline PointCode SgfLettersToPoint(char x, char y, int boardSize) {
    // Two letters of the board: the point at once.
    const unsigned col = static_cast<unsigned>(static_cast<unsigned char>(x)) - 'a';
    const unsigned row = static_cast<unsigned>(static_cast<unsigned char>(y)) - 'a';
    if (col < static_cast<unsigned>(boardSize) && row < static_cast<unsigned>(boardSize)) {
        return MakePoint(static_cast<int>(col) + 1, static_cast<int>(row) + 1);
    }
    // v = y + x * 21 over the character codes; "aa" is 97 + 97 * 21 = 2134, which is code 22.
    const int v = static_cast<unsigned char>(y) + static_cast<unsigned char>(x) * kGridWidth;
    if (v < 2134 || v - 2112 > boardSize * 22) return kPass;
    // The sum alone lets a stray letter land on a border cell (for example "as" on 13 lines); such a pair
    // is off the board too, and storing it would overwrite the border.
    const PointCode p = v - 2112;
    if (PointCol(p) < 1 || PointCol(p) > boardSize || PointRow(p) < 1 || PointRow(p) > boardSize) return kPass;
    return p;
}


}  // namespace quorvel
