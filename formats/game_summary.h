// The game summary of a loaded record: the line of game information in the message area and the board
// window's three memos (black name, white name, information lines).
#pragma once

#include "core/engine.h"

namespace quorvel {

// Writes the summary of the game information into the message area and fills the memos.
void ShowGameSummary(Engine& e);

}  // namespace quorvel
