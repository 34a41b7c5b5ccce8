// Which stones the board window draws, with which move number, and how the numbers and hint letters are
// sized and placed on each board size. Pure computations on the engine state, so that the painter only
// paints and tests can check the choices without a window.
#pragma once

#include <vector>

#include "core/engine.h"

namespace quorvel {

// One stone to draw.
struct DrawnStone {
    PointCode point;
    int colour;               // kBlack or kWhite
    int number = 0;           // move number shown on the stone; 0 for none
    bool highlighted = false; // a branch starts after this move: the number uses the highlight colour
    bool branchSign = false;  // numbers off: the "・" sign marks a move after which a branch starts
};

struct StonesOnBoard {
    std::vector<DrawnStone> background;  // entries baseIndex .. 1 that still hold a stone, never numbered
    std::vector<DrawnStone> numbered;    // entries currentIndex .. baseIndex + 1, newest first
};

// The stones of the shown position. An entry is skipped when it is a pass or when a later entry captured
// its stone, so a point that was captured and played again shows only the newer stone and number. With
// numbers off only the entry at currentIndex carries its number. `markBranching` highlights the numbers
// (or, numbers off, puts the sign on the stones) of moves after which a branch starts.
StonesOnBoard StonesToDraw(const Engine& e, bool markBranching);

// Font size and the offset of the text's top-left corner from the stone's centre.
struct TextPlacement {
    int size;  // points, as the font sizes are given
    int dx;
    int dy;
};

// Number digits decide the font: 19 lines 13 / 10 / 8, 13 lines 20 / 17 / 13, others 28 / 24 / 13 for one,
// two, three (or more) digits. White numbers on black stones sit one pixel further left.
TextPlacement MoveNumberPlacement(int boardSize, int number, int stoneColour);

// The hint letter of a continuation: bold, 15 / 22 / 26 by board size; the line's own "A" sits slightly
// apart from the branch letters.
TextPlacement HintLetterPlacement(int boardSize, bool nextMove);

// Where the three numbers of the bottom strip and the tool column go: x of a count by its digits.
int PrisonerCountX(int count);      // 25, 22, 19
int MoveCountBoxX(int count);       // 424, 421, 417 in the tool column's box
int MoveCountFrameX(int count);     // 476, 472, 466 in the information panel's frame

}  // namespace quorvel
