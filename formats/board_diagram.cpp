#include "formats/board_diagram.h"

#include <algorithm>
#include <vector>

namespace quorvel {
namespace {

using Grid = std::array<int, kGridCells>;

// Removes the chain of `colour` on `start` when it has no liberty left.
void RemoveIfDead(Grid& g, PointCode start, int colour) {
    if (g[start] != colour) return;
    std::vector<PointCode> chain{start};
    std::vector<char> seen(kGridCells, 0);
    seen[start] = 1;
    for (std::size_t i = 0; i < chain.size(); ++i) {
        for (int step : kNeighbourSteps) {
            const PointCode n = chain[i] + step;
            if (g[n] == kEmpty) return;
            if (g[n] == colour && !seen[n]) {
                seen[n] = 1;
                chain.push_back(n);
            }
        }
    }
    for (PointCode q : chain) g[q] = kEmpty;
}

}  // namespace

int CountBase(const Engine& e) {
    // The setup stones of a replayed record are its AB/AW stones, without the moves an AS property put in
    // the background: those are counted like every other move.
    const int base = e.replayMode ? e.setupCount - e.mainLineOffset : e.baseIndex;
    return std::clamp(base, 0, e.baseIndex);
}

int LineEntryColour(const Engine& e, int k) {
    if (k <= CountBase(e)) {
        const int stone = e.replayMode ? e.setupList[static_cast<std::size_t>(k)]
                                       : e.editSetupList[static_cast<std::size_t>(k)];
        return stone < 2000 ? kBlack : kWhite;
    }
    // The moves alternate through the whole line, passes included, so the colour follows from the line's
    // first colour after baseIndex.
    const bool odd = ((k - e.baseIndex) % 2 + 2) % 2 == 1;
    return odd == (e.blackFirst != 0) ? kBlack : kWhite;
}

std::array<int, kGridCells> PositionAfterEntries(const Engine& e, int n) {
    Grid g = EmptyBoardGrid(e.boardSize);
    n = std::min({n, e.lineEnd, kMaxLineEntries});
    const int setupStones = CountBase(e);
    for (int k = 1; k <= n; ++k) {
        const PointCode p = e.lineMoves[static_cast<std::size_t>(k)];
        if (p <= 0 || p >= kGridCells || !e.IsOnBoard(p)) continue;
        const int colour = LineEntryColour(e, k);
        g[p] = colour;
        // Setup stones stand as placed, as on the board; the moves capture.
        if (k <= setupStones) continue;
        for (int step : kNeighbourSteps) RemoveIfDead(g, p + step, Opponent(colour));
    }
    return g;
}

DiagramGrid LineDiagram(const Engine& e) {
    DiagramGrid d;
    const Grid start = PositionAfterEntries(e, e.baseIndex);
    for (PointCode p = 0; p < kGridCells; ++p) {
        if (start[p] == kBlack || start[p] == kWhite) d[p].colour = start[p];
    }
    std::vector<char> taken(kGridCells, 0);
    for (int k = e.baseIndex + 1; k <= std::min(e.currentIndex, kMaxLineEntries); ++k) {
        const PointCode p = e.lineMoves[k];
        if (!e.IsOnBoard(p) || taken[p]) continue;
        taken[p] = 1;
        d[p] = {LineEntryColour(e, k), k};
    }
    return d;
}

}  // namespace quorvel
