// Invariant checks of the engine state, for tests and fuzzing: each returns an empty string when all
// holds, otherwise a description of the first faults found.
#pragma once

#include <string>

#include "core/engine.h"

namespace quorvel {

// The branch table: origins name earlier, living branches and points inside them, bases agree with the
// parent's base, lengths stay in bounds, moves are points of the board, comments lie inside the pool.
std::string CheckBranchTable(const Engine& e);

// The position: stones, prisoners and liberties equal those of a fresh replay of entries
// 1..currentIndex along the current branch and its ancestors, or of the line being built in creation mode
// (captures by an independent implementation), flood-fill marks are clear, and empty points carry only ko
// and suicide marks.
std::string CheckPosition(const Engine& e);

// What a description of a record covers: everything a reading leaves, or what a save carries to the next
// reading (a save writes a tidied head of its own and no times of the line, and the reading shows the main
// line wherever the saved engine stood).
enum class RecordParts { kAll, kSaved };

// What a reading of a record leaves in the engine, as text: the branch count, the line's end and the head
// of the loaded text; the board size, the setup stones, the game information and root comment; the branch
// table with every comment as its text; the times of the line; the marks. Two readings agree when their
// descriptions do.
std::string DescribeRecord(const Engine& e, RecordParts parts = RecordParts::kAll);

}  // namespace quorvel
