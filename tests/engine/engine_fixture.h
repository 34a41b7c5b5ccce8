// Shared helpers of the engine tests: an engine with in-memory ports, points by SGF letters, and boards
// written as ASCII diagrams.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/consistency.h"
#include "core/engine.h"

namespace quorvel::test {

class EngineTest : public ::testing::Test {
protected:
    MemoryMessageArea messages;
    MemoryDialogs dialogs;
    Engine e{messages, dialogs};

    // The point of an SGF letter pair on the engine's board.
    PointCode P(const char* letters) const { return SgfLettersToPoint(letters[0], letters[1], e.boardSize); }

    // Puts a stone of the colour to move, as a click in creation mode would.
    bool Play(const char* letters) { return e.IsPlayable(P(letters)) && e.PlayColour(e.ColourToMove()); }

    // A trial move in replay mode: follows the record where it continues with that point, otherwise puts a
    // stone; the first trial move stops stepping forward at its entry.
    void PlayTrial(const char* letters);

    // Plays a sequence of points separated by blanks; "--" passes.
    void PlayAll(const std::string& moves);

    // The board as rows of text: "X" black, "O" white, "." empty, "k" ko mark, "s" suicide mark.
    std::string Diagram() const;

    // Builds a record whose main line is `mainMoves` (blank separated, "--" a pass), and returns the
    // engine at its start, in replay mode.
    void MakeMainLine(const std::string& mainMoves);
    // Adds a branch with the given origin and moves; returns its index.
    int AddBranch(int origin, int firstColour, const std::string& moves, int depth = 1);

    void ExpectConsistent() {
        EXPECT_EQ(CheckPosition(e), "");
        EXPECT_EQ(CheckBranchTable(e), "");
    }
};

}  // namespace quorvel::test
