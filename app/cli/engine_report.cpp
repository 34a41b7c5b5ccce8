#include "app/cli/engine_report.h"

#include <cstdarg>
#include <cstdio>

namespace quorvel::cli {

namespace {

const char* ColourName(int colour) {
    return colour == kWhite ? "White" : "Black";
}

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

std::string PvText(const gtp::Candidate& c, int boardSize) {
    std::string out;
    for (PointCode p : c.pv) out += (out.empty() ? "" : " ") + gtp::VertexText(p, boardSize);
    return out;
}

}  // namespace

std::string AnalysisReport(const gtp::Analysis& a, const gtp::GamePosition& position, int moveNumber,
                           int lineMoves) {
    std::string out =
        Format("position: after move %d of %d, %s to play, komi %.1f, %dx%d\n", moveNumber, lineMoves,
               ColourName(a.toMove), position.komi, position.boardSize, position.boardSize);
    out += "score: " + (a.blackLead ? gtp::ScoreText(*a.blackLead) : std::string("(the engine gives none)"));
    if (a.winrate >= 0) out += Format("  win rate of %s: %.1f%%", ColourName(a.toMove), a.winrate * 100);
    out += "\ncandidates:\n";
    int rank = 0;
    for (const gtp::Candidate& c : a.candidates) {
        out += Format("%3d  %-5s", ++rank, gtp::VertexText(c.point, position.boardSize).c_str());
        if (c.winrate >= 0) {
            out += Format("  win rate %5.1f%%", c.winrate * 100);
            if (c.hasScoreLead)
                out += "  lead " + gtp::ScoreText(a.toMove == kBlack ? c.scoreLead : -c.scoreLead);
            out += Format("  visits %d  pv %s", c.visits, PvText(c, position.boardSize).c_str());
        } else {
            out += Format("  value %.2f", c.value);
        }
        out += "\n";
    }
    if (a.candidates.empty()) out += "  (none: the engine would pass)\n";
    return out;
}

std::string ReviewReport(const gtp::Review& review, const gtp::GamePosition& line) {
    std::string out = "move colour point  score   loss\n";
    if (!review.blackLead.empty()) out += "   0               " + gtp::ScoreText(review.blackLead[0]) + "\n";
    const std::vector<std::optional<double>> losses = gtp::MoveLosses(review);
    for (std::size_t k = 1; k < review.blackLead.size(); ++k) {
        out += Format("%4zu  %s     %-5s  %-7s %s\n", k, review.colours[k] == kWhite ? "W" : "B",
                      gtp::VertexText(review.points[k], line.boardSize).c_str(),
                      gtp::ScoreText(review.blackLead[k]).c_str(),
                      losses[k] ? Format("%+.1f", *losses[k]).c_str() : "");
    }
    out += "largest losses:\n";
    const std::vector<gtp::Loss> largest = gtp::LargestLosses(review, kListedLosses);
    for (const gtp::Loss& l : largest) {
        const auto k = static_cast<std::size_t>(l.move);
        out += Format("%4d  %s     %-5s  lost %.1f\n", l.move, review.colours[k] == kWhite ? "W" : "B",
                      gtp::VertexText(review.points[k], line.boardSize).c_str(), l.points);
    }
    if (largest.empty()) out += "  (no move lost points)\n";
    return out;
}

}  // namespace quorvel::cli
