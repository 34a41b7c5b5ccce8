// Records and positions built by hand for the engine and window tests: points by SGF letters, a main line
// and branches from move strings ("dd pp --", blank separated, "--" a pass), and board positions from text
// diagrams ("X" black, "O" white, "." empty).
#pragma once

#include <string>
#include <vector>

#include "core/engine.h"

namespace quorvel::test {

// The point of an SGF letter pair on the engine's board; kPass for "--".
PointCode PointOf(const Engine& e, const std::string& letters);

// The moves of a move string, one string each.
std::vector<std::string> SplitMoves(const std::string& moves);

// A new record (same board size) whose main line is `moves`, shown at its start in replay mode.
void BuildMainLine(Engine& e, const std::string& moves);

// Adds a branch with the given origin (MakeOrigin), first colour and moves; returns its index.
int BuildBranch(Engine& e, int origin, int firstColour, const std::string& moves, int depth = 1);

// The board as rows of text: "X" black, "O" white, "." empty, "k" ko mark, "s" suicide mark.
std::string BoardDiagram(const Engine& e);

// A new record (same board size) whose setup stones are those of `rows`, top row first ("X" black, "O"
// white, anything else empty; missing rows and columns are empty), with `toMove` to play its first move.
// The position is analysed as after a load, so suicide marks stand for the player to move.
void SetUpDiagram(Engine& e, const std::vector<std::string>& rows, int toMove);

// The board alone, without a record: a board of as many lines as `rows`, each point "X" black, "O" white or
// empty, as a window copies a position from it.
void DrawPosition(Engine& e, const std::vector<std::string>& rows);

}  // namespace quorvel::test
