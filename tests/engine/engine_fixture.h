// Shared helpers of the engine tests: an engine with in-memory ports, points by SGF letters, and boards
// written as ASCII diagrams.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/consistency.h"
#include "core/engine.h"
#include "support/record_builder.h"

namespace quorvel::test {

// The bytes a save writes for `text`, a text of the record in the program's Shift-JIS: in the record's own
// encoding.
std::string SavedBytes(const Engine& e, const std::string& text);
// A text of the record as its characters (UTF-8), user-defined codes read through the record's table, so
// that texts of two loads compare whatever codes each gave out.
std::string RealText(const Engine& e, const std::string& text);

class EngineTest : public ::testing::Test {
protected:
    MemoryMessageArea messages;
    MemoryDialogs dialogs;
    Engine e{messages, dialogs};

    // The point of an SGF letter pair on the engine's board.
    PointCode P(const char* letters) const { return PointOf(e, letters); }

    // Puts a stone of the colour to move, as a click in creation mode would.
    bool Play(const char* letters) { return e.IsPlayable(P(letters)) && e.PlayColour(e.ColourToMove()); }

    // A trial move in replay mode: follows the record where it continues with that point, otherwise puts a
    // stone; the first trial move stops stepping forward at its entry.
    void PlayTrial(const char* letters);

    // Plays a sequence of points separated by blanks; "--" passes.
    void PlayAll(const std::string& moves);

    // The board as rows of text: "X" black, "O" white, "." empty, "k" ko mark, "s" suicide mark.
    std::string Diagram() const { return BoardDiagram(e); }
    // The setup stones of a diagram in the same letters, `toMove` to play.
    void SetUpBoard(const std::vector<std::string>& rows, int toMove) { SetUpDiagram(e, rows, toMove); }

    // Builds a record whose main line is `mainMoves` (blank separated, "--" a pass), and returns the
    // engine at its start, in replay mode.
    void MakeMainLine(const std::string& mainMoves) { BuildMainLine(e, mainMoves); }
    // Adds a branch with the given origin and moves; returns its index.
    int AddBranch(int origin, int firstColour, const std::string& moves, int depth = 1) {
        return BuildBranch(e, origin, firstColour, moves, depth);
    }

    void ExpectConsistent() {
        EXPECT_EQ(CheckPosition(e), "");
        EXPECT_EQ(CheckBranchTable(e), "");
    }
};

}  // namespace quorvel::test
