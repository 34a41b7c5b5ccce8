// The texts of the Go Text Protocol: points as GTP vertices, the replies of the commands the analysis uses
// (top_moves_black/white, estimate_score, genmove) and the info lines that kata-analyze and lz-analyze
// stream. Pure text work, so every reader is tested on the engines' documented lines.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/point.h"

namespace quorvel::gtp {

// "D4" for a point of a board of `boardSize` lines: columns A..T without I, rows counted from the bottom.
// A pass (0) is "pass".
std::string VertexText(PointCode p, int boardSize);

// The point of a vertex ("d4", "Q16", "pass"); kPass for "pass", nullopt for a text that is no vertex of
// the board (a resignation, a vertex off the board, garbage).
std::optional<PointCode> VertexPoint(const std::string& vertex, int boardSize);

// "B" or "W" for kBlack or kWhite.
const char* ColourText(int colour);

// One candidate move of an engine, with what the engine said of it.
struct Candidate {
    PointCode point = kPass;
    double value = 0;      // top_moves: GNU Go's value of the move
    double winrate = -1;   // analyze: the chance to win of the side to move, 0..1; -1 when not given
    double scoreLead = 0;  // kata-analyze: the points the side to move leads by after the move
    bool hasScoreLead = false;
    int visits = 0;
    std::vector<PointCode> pv;  // the principal variation, starting with the move itself
};

// The reply of top_moves_black/white: "D4 12.3 C3 8.1 ..." (pairs of vertex and value), best first.
// Nullopt when the text is not such a list.
std::optional<std::vector<Candidate>> ReadTopMoves(const std::string& reply, int boardSize);

// The reply of estimate_score or final_score: "W+3.5 (upper bound: ...)", "B+12.0", "0". The lead of
// Black (negative when White leads); nullopt when the text says no score.
std::optional<double> ReadScore(const std::string& reply);

// A score as it is written: "B+3.5", "W+12.0", "0" for a draw. `blackLead` is Black's lead.
std::string ScoreText(double blackLead);

// The two streaming analysis commands: their lines look alike, but lz-analyze gives the win rate in
// ten-thousandths and kata-analyze as a fraction, and only kata-analyze gives a score lead.
enum class AnalyzeDialect { Kata, Lz };

// One info line of kata-analyze or lz-analyze: "info move D4 visits 12 winrate 0.53 ... pv D4 Q16 info
// move ...". Keys it does not know are stepped over with their value, so newer engines still read; the
// lists after "pvVisits"/"pvEdgeVisits" are stepped over whole, and "ownership" (the board's list that
// closes a kata-analyze line) ends the candidates. Candidates come in the line's order (the engine's
// rank); nullopt when the line holds no readable candidate.
std::optional<std::vector<Candidate>> ReadAnalyzeLine(const std::string& line, int boardSize,
                                                      AnalyzeDialect dialect);

}  // namespace quorvel::gtp
