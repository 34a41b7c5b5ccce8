// The marks of the start position as SGF property lists.
#pragma once

#include <array>
#include <string>

#include "core/position.h"

namespace quorvel {

// The marks of `marks` as lists "SQ[aa][bb]" .. "MA[..]" and "LB[aa:A]..", in the order SQ, ST, CR, RT, TR,
// LO, MA, LB, walking the points of a 19-line board in point order; an empty text for a kind without marks.
std::array<std::string, 8> MarkPropertyLists(const PointGrid& marks);

}  // namespace quorvel
