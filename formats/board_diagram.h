// The board diagram of the current line that the pictures and the printed pages show: the stones on the
// board before the diagram's first move, and the moves of the diagram on their points with their entries.
#pragma once

#include <array>

#include "core/engine.h"

namespace quorvel {

// The entries of the line that are setup stones (never above baseIndex): the moves after them are counted,
// in replay mode also the main-line moves an AS property put in the background.
int CountBase(const Engine& e);

// The colour that plays line entry k: setup stones keep the colour of their setup list (whatever later
// captured them), the moves alternate through the line from its first colour after baseIndex.
int LineEntryColour(const Engine& e, int k);

// The board after the line's first n entries, captures made: kBlack, kWhite, kEmpty, kBorder off the board
// (the text boards' ReplayToScratch).
std::array<int, kGridCells> PositionAfterEntries(const Engine& e, int n);

struct DiagramPoint {
    int colour = kEmpty;
    int entry = 0;  // the numbered move on the point; 0 for a stone of the background
};

using DiagramGrid = std::array<DiagramPoint, kGridCells>;

// The pictures' diagram: the position after baseIndex entries, then each move up to currentIndex on its
// point unless an earlier move after baseIndex took the point.
DiagramGrid LineDiagram(const Engine& e);

// The number a picture writes on the move of entry k.
inline int PictureMoveNumber(const Engine& e, int k) {
    return k - e.baseIndex + e.firstMoveNumber - 1;
}

}  // namespace quorvel
