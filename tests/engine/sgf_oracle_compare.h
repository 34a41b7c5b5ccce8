// A loaded record against the oracle's reading of the same text: the differences, as text.
#pragma once

#include <string>

#include "core/engine.h"
#include "sgf_oracle.h"

namespace quorvel::oracle {

// The branch table of a loaded record as a line with its variations.
Line LoadedLine(const Engine& e);

// The first differences between the loaded record and the oracle's record; empty when they agree. Moves
// and comments are compared only for a record inside the limits (`expected.outside` empty).
std::string CompareWithOracle(const Engine& e, const Record& expected);

}  // namespace quorvel::oracle
