// The numbered diagram pages of the current line (KFP with a text board in the text window): the moves
// split like the text board, TextBMoves to a page, each page the position before its moves with the
// moves numbered on their points, and below the board the moves that have no place there.
#pragma once

#include <string>

#include "core/engine.h"
#include "formats/print_sheet.h"

namespace quorvel {

PrintJob DiagramPagesPrint(const Engine& e, const std::string& today);

}  // namespace quorvel
