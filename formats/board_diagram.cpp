#include "formats/board_diagram.h"

#include <algorithm>
#include <vector>

namespace quorvel {
namespace {

using Grid = std::array<int, kGridCells>;

// Removes the group on `start` when it has no liberty left.
void CaptureIfDead(Grid& grid, PointCode start) {
    const int colour = grid[start];
    std::vector<PointCode> group{start};
    std::vector<char> seen(kGridCells, 0);
    seen[start] = 1;
    for (std::size_t i = 0; i < group.size(); ++i) {
        for (int step : kNeighbourSteps) {
            const PointCode q = group[i] + step;
            if (q < 0 || q >= kGridCells || seen[q]) continue;
            if (grid[q] == kEmpty) return;
            if (grid[q] == colour) {
                seen[q] = 1;
                group.push_back(q);
            }
        }
    }
    for (PointCode p : group) grid[p] = kEmpty;
}

bool LineFirstBlack(const Engine& e) {
    return e.replayMode ? HeaderBlackFirst(e.branchMoves[0][0]) : e.blackFirst != 0;
}

}  // namespace

int CountBase(const Engine& e) {
    const int base = e.replayMode ? e.loadedBaseCount - e.mainLineOffset : e.baseIndex;
    return std::clamp(base, 0, e.baseIndex);
}

int LineEntryColour(const Engine& e, int k) {
    if (k > e.baseIndex) {
        const bool black = ((k - e.baseIndex) % 2 == 1) == (e.blackFirst != 0);
        return black ? kBlack : kWhite;
    }
    const int o = CountBase(e);
    if (k <= o) {
        const int stone = e.replayMode ? e.setupList[k] : e.editSetupList[k];
        return StoneColour(stone) < 2 ? kBlack : kWhite;
    }
    const bool black = ((k - o) % 2 == 1) == LineFirstBlack(e);
    return black ? kBlack : kWhite;
}

std::array<int, kGridCells> PositionAfterEntries(const Engine& e, int n) {
    Grid grid = EmptyBoardGrid(e.boardSize);
    const int o = CountBase(e);
    for (int k = 1; k <= std::min(n, kMaxLineEntries); ++k) {
        const PointCode p = e.lineMoves[k];
        if (!e.IsOnBoard(p)) continue;
        const int colour = LineEntryColour(e, k);
        grid[p] = colour;
        if (k <= o) continue;  // setup stones capture nothing
        for (int step : kNeighbourSteps) {
            if (grid[p + step] == Opponent(colour)) CaptureIfDead(grid, p + step);
        }
    }
    return grid;
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
