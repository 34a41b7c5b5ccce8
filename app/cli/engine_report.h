// What the command-line tool prints of an engine's work: the candidates and score of one position
// ("analyse") and the score after every main-line move with the moves that lost the most ("review").
// ASCII with LF line ends, points as GTP vertices, scores as "B+3.5"/"W+2.0" (Black's or White's lead).
#pragma once

#include <string>

#include "gtp/analysis.h"

namespace quorvel::cli {

// The report of "analyse": the position (`moveNumber` moves of `lineMoves` played), the score, then one
// line per candidate, best first.
std::string AnalysisReport(const gtp::Analysis& analysis, const gtp::GamePosition& position, int moveNumber,
                           int lineMoves);

// How many of the largest losses "review" lists.
constexpr int kListedLosses = 10;

// The report of "review": a line per move ("  12  W  D4   W+3.5   -2.0"), then the largest losses.
std::string ReviewReport(const gtp::Review& review, const gtp::GamePosition& line);

}  // namespace quorvel::cli
