// The marks of the start position as SGF property lists.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "core/position.h"

namespace quorvel {

// The marks of `marks` as lists "SQ[aa][bb]" .. "MA[..]" and "LB[aa:A]..", in the order SQ, ST, CR, RT, TR,
// LO, MA, LB, walking the points of a 19-line board in point order; an empty text for a kind without marks.
std::array<std::string, 8> MarkPropertyLists(const PointGrid& marks);

}  // namespace quorvel

namespace quorvel {

struct Record;

// The marks and labels (kinds as in markGrid, without a colour) that the node of the shown move keeps, and
// the nodes without a move right after it: they belong to that position alone. Labels other than "A".."G"
// have no kind and are left out; a rectangle "aa:cc" marks every point in it.
std::vector<std::pair<PointCode, int>> NodeMarks(const Record& r, int branch, int slot, int boardSize);

}  // namespace quorvel
