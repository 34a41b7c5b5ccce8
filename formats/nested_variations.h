// Standard SGF nesting puts the continuation of a line into a child variation; the branch table keeps it
// in the line itself. This turns a table read from nested variations into that form.
#pragma once

#include <vector>

#include "core/engine.h"

namespace quorvel {

// Every branch of the table takes part. Afterwards the table is in depth-first order from the main line,
// with depths in the headers and origins naming the new indices.
// `inlineVariations[b]` marks a branch written as a variation of the move after it (a node follows its
// group): it is never a continuation. It may be shorter than the table.
void MergeNestedVariations(Engine& e, const std::vector<bool>& inlineVariations = {});

// The merge itself, over the first `branchLimit` branches: each branch's first variation that starts
// after its last move becomes the rest of it (for the main line only with `intoMainLine`). The inline
// layout needs it only for a record that puts a variation after the last move of a variation, which no
// branch can start from; after the main line's last move it is a variation of its own.
void MergeContinuations(Engine& e, int branchLimit, bool intoMainLine, const std::vector<bool>& inlineVariations = {});

// A record whose root holds only variations and no line of its own: the first variation becomes the main
// line, as other programs read such a record, its variations become the main line's and the rest stay
// alternatives to its first move. Nothing changes when the main line has moves or there is no variation.
void PromoteFirstAlternative(Engine& e);

}  // namespace quorvel
