// Standard SGF nesting puts the continuation of a line into a child variation; the branch table keeps it
// in the line itself. This turns a table read from nested variations into that form.
#pragma once

#include "core/engine.h"

namespace quorvel {

// Only the first 74 branches take part (the table holds 149 besides the main line and the work once
// needed half of it); the rest are dropped. Afterwards the table is in depth-first order from the main
// line, with depths in the headers and origins naming the new indices.
void MergeNestedVariations(Engine& e);

}  // namespace quorvel
