// A review kept in the record: one line per move in the move's comment ("評価: W+3.5  損 2.0"), so that
// it is saved, reopened and read like any comment, by this program and by every other. A new review of
// the same record replaces the lines of the one before and leaves the rest of each comment as it was.
#pragma once

#include <string>

#include "core/engine.h"
#include "gtp/analysis.h"

namespace quorvel::gtp {

// The head of a review line; a comment line starting with it belongs to a review.
extern const char* const kReviewLineHead;  // "評価: "

// The review line of move k.
std::string ReviewLineText(const Review& review, int k);

// `comment` with its review lines replaced by `line` (at its end).
std::string CommentWithReviewLine(const std::string& comment, const std::string& line);

// Writes the review line of every move into the comments of the line shown (replay mode), from entry
// `firstEntry` + 1 on, and comes back to the position shown before. False (nothing written) in creation
// mode or when the review does not fit the line.
bool WriteReviewComments(Engine& e, const Review& review, int firstEntry);

}  // namespace quorvel::gtp
