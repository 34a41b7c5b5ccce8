// The board position: the per-point grids, the prisoners and the capture log.
//
// The position is always the result of applying the first `currentIndex` entries of the current line to an
// empty board; the operations that change it live on Engine (engine.h), one entry at a time.
#pragma once

#include <array>
#include <vector>

#include "core/board_geometry.h"
#include "core/point.h"

namespace quorvel {

// Values of groupGrid on an empty point, for the player to move.
constexpr int kKoMark = 600;        // retaking the ko is forbidden
constexpr int kSuicideMark = 1501;  // playing there would be suicide

// scratchGrid's value for cells off the board.
constexpr int kScratchOffBoard = 206;

using PointGrid = std::array<int, kGridCells>;

// One captured stone in the capture log: entryIndex * 10000 + point * 10 + koFlag, where entryIndex is the
// line entry whose move made the capture and koFlag is 1 when that capture set a ko mark.
inline int MakeCapture(int entryIndex, PointCode p) { return entryIndex * 10000 + p * 10; }
inline int CaptureEntryIndex(int capture) { return capture / 10000; }
inline PointCode CapturePoint(int capture) { return capture % 10000 / 10; }
inline bool CaptureSetKo(int capture) { return capture % 10 == 1; }

// A mark on markGrid: colour * 1000 + kind, where colour is that of the stone under the mark (0 on an empty
// point) and kind 1..7 is SQ, ST, CR, RT, TR, LO, MA and 9..15 the labels "A".."G".
inline int MakeMark(int colourUnder, int kind) { return colourUnder * 1000 + kind; }
inline int MarkColour(int mark) { return mark / 1000; }
inline int MarkKind(int mark) { return mark % 1000; }

// The grid of an empty board of a size (1 to 19): kEmpty on its points, kBorder on every other cell.
const PointGrid& EmptyBoardGrid(int boardSize);

struct Position {
    int boardSize = 19;
    const BoardGeometry* geometry = GeometryFor(19);
    HoverPoint hover{11, 11};

    PointGrid board{};        // 0, kBlack, kWhite; kBorder on border cells
    PointGrid groupGrid{};    // stone: group number; empty: 0, kKoMark or kSuicideMark; kBorder on the border
    PointGrid libertyGrid{};  // stone: liberties of its group at the last analysis
    PointGrid visitGrid{};    // flood-fill marks, all 0 between operations
    PointGrid markGrid{};     // marks and labels of the points (MakeMark)
    PointGrid scratchGrid{};  // working copy for diagram output and territory counting

    int blackCaptured = 0;  // black stones removed by captures so far (white's prisoners)
    int whiteCaptured = 0;
    // Captured stones in capture order. The log grows as needed: a long game can capture more stones than it
    // has moves, and a fixed log would overflow.
    std::vector<int> captureLog;
    PointCode lastPoint = 0;  // the point of the last move placed by input; 0 after a pass or take-back

    int captureCount() const { return static_cast<int>(captureLog.size()); }
    bool IsOnBoard(PointCode p) const {
        return PointCol(p) >= 1 && PointCol(p) <= boardSize && PointRow(p) >= 1 && PointRow(p) <= boardSize;
    }
};

}  // namespace quorvel
