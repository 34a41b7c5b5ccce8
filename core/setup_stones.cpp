// Setup stones of creation mode: added, recoloured and removed by clicks, and the handicap stones of a new
// record. Setup entries stand before the numbered ones, so each change moves the numbered entries along
// with their capture log entries. A stone that touches the line's stones may change what the moves
// captured: then the line is played again from its setup stones, so that the capture log, the prisoners
// and every take-back stay those of the record.
#include <algorithm>
#include <utility>
#include <vector>

#include "core/engine.h"

namespace quorvel {
namespace {

const char* const kLineFull = " 手順数が上限 ( 499 ) に達しています。";
const char* const kNoRoomForHandicap = " この碁盤には、その数の置石を置けません。";

// Handicap points of a 19-line board, (column, row), in the order they are placed; see HandicapPoints.
constexpr std::pair<int, int> kExtraHandicapPoints[] = {
    {7, 7}, {7, 13},  {13, 7}, {13, 13}, {4, 7},   {4, 13},  {16, 7}, {16, 13}, {7, 16}, {13, 4},
    {7, 4}, {13, 16}, {10, 7}, {7, 10},  {13, 10}, {10, 13}, {3, 3},  {17, 3},  {3, 17}, {17, 17}};

// The 19-line handicap points of n stones (2..29) in placing order.
std::vector<std::pair<int, int>> HandicapPoints(int n) {
    std::vector<std::pair<int, int>> points{{4, 16}, {16, 4}};
    if (n >= 3) points.push_back({4, 4});
    if (n >= 4) points.push_back({16, 16});
    if (n == 5 || n == 7 || n == 9 || n >= 10) points.push_back({10, 10});
    if (n >= 6) {
        points.push_back({4, 10});
        points.push_back({16, 10});
    }
    if (n >= 8) {
        points.push_back({10, 4});
        points.push_back({10, 16});
    }
    for (int i = 0; i < n - 9 && n >= 10; ++i) points.push_back(kExtraHandicapPoints[i]);
    return points;
}

// A line of a 19-line handicap point on a smaller board: the star lines 4, 10 and 16 become that board's
// star lines (3rd line on 9 lines, 4th on 13); other lines have no counterpart (0).
int StarLineFor(int line19, int boardSize) {
    if (boardSize == 19) return line19;
    const int corner = boardSize >= 13 ? 4 : 3;
    switch (line19) {
        case 4:
            return corner;
        case 10:
            return (boardSize + 1) / 2;
        case 16:
            return boardSize + 1 - corner;
        default:
            return 0;
    }
}

}  // namespace

void Engine::ReplaySetupAndMoves(int numbered) {
    // The setup stones straight onto an empty board, then the numbered entries with their captures. Groups
    // and forbidden points are needed only for the position reached, so each step finds just what its
    // captures ask: the liberties the ko test reads, those of the opponent's groups next to the new stone
    // before it stands.
    const PointGrid& empty = EmptyBoardGrid(boardSize);
    board = empty;
    groupGrid = empty;
    libertyGrid.fill(0);
    captureLog.clear();
    replacedStone_.fill(kEmpty);
    blackCaptured = whiteCaptured = 0;
    for (int k = 1; k <= baseIndex; ++k) {
        const PointCode p = lineMoves[k];
        if (IsOnBoard(p)) board[p] = StoneColour(editSetupList[k]);
    }
    currentIndex = baseIndex;
    std::vector<PointCode> stones;
    for (int k = 0; k < numbered && currentIndex < kMaxLineEntries; ++k) {
        const PointCode v = lineMoves[currentIndex + 1];
        const int colour = ColourToMove();
        currentIndex += 1;
        if (v == kPass || !IsOnBoard(v)) continue;
        const int toMove = Opponent(colour);
        for (int step : kNeighbourSteps) {
            const PointCode q = v + step;
            if (board[q] != toMove) continue;
            libertyGrid[q] = GroupLibertiesOf(q, stones);
        }
        replacedStone_[currentIndex] = board[v];
        board[v] = colour;
        for (int step : kNeighbourSteps) {
            if (board[v + step] == toMove) CaptureTest(v + step, v, colour);
        }
    }
    lastPoint = 0;
    for (PointCode p = 0; p < kGridCells; ++p) {
        if (board[p] == kEmpty) groupGrid[p] = 0;
    }
    // A ko taken by the last entry stands, as it stands after that entry was played.
    if (!captureLog.empty()) {
        const int newest = captureLog.back();
        const PointCode q = CapturePoint(newest);
        if (CaptureEntryIndex(newest) == currentIndex && CaptureSetKo(newest) && board[q] == kEmpty) {
            groupGrid[q] = kKoMark;
        }
    }
    AnalyseGroups();
    MarkSuicidePoints(ColourToMove(), Opponent(ColourToMove()));
}

int Engine::GroupLibertiesOf(PointCode start, std::vector<PointCode>& stones) {
    const int colour = board[start];
    stones.assign(1, start);
    visitGrid[start] = 1;
    std::vector<PointCode> liberties;
    for (std::size_t i = 0; i < stones.size(); ++i) {
        for (int step : kNeighbourSteps) {
            const PointCode q = stones[i] + step;
            if (visitGrid[q] != 0) continue;
            if (board[q] == kEmpty) {
                visitGrid[q] = 1;
                liberties.push_back(q);
            } else if (board[q] == colour) {
                visitGrid[q] = 1;
                stones.push_back(q);
            }
        }
    }
    for (PointCode p : stones) visitGrid[p] = 0;
    for (PointCode p : liberties) visitGrid[p] = 0;
    return static_cast<int>(liberties.size());
}

bool Engine::SetupChangeIsLocal(PointCode point, int skip) const {
    // A stone that never touched the line's stones (nor stood where one was played) changes no capture of
    // the line: the entries can keep their results, and only the numbering moves.
    for (int k = 1; k <= currentIndex; ++k) {
        const int d = lineMoves[k] - point;
        if (k == skip || lineMoves[k] == kPass) continue;
        if (d == 0 || d == 1 || d == -1 || d == kGridWidth || d == -kGridWidth) return false;
    }
    return true;
}

void Engine::RenumberNumberedEntries(int from, int by) {
    // Captures logged by entries after `from` keep their entries; what each entry replaced moves with it.
    for (int& capture : captureLog) {
        if (CaptureEntryIndex(capture) > from) capture += by * 10000;
    }
    if (by > 0) {
        for (int k = std::min(currentIndex, kMaxLineEntries - 1); k > from; --k)
            replacedStone_[k + 1] = replacedStone_[k];
        replacedStone_[from + 1] = kEmpty;
    } else {
        for (int k = from + 1; k <= currentIndex; ++k) replacedStone_[k - 1] = replacedStone_[k];
        replacedStone_[currentIndex] = kEmpty;
    }
}

void Engine::AnalyseAfterSetupChange() {
    // A ko mark of the last move stays; suicide points are found again.
    for (PointCode p = 0; p < kGridCells; ++p) {
        if (board[p] == kEmpty && groupGrid[p] == kSuicideMark) groupGrid[p] = 0;
    }
    AnalyseGroups();
    MarkSuicidePoints(ColourToMove(), Opponent(ColourToMove()));
}

void Engine::InsertSetupEntry(PointCode point, int colour) {
    const int numbered = currentIndex - baseIndex;
    const bool local = SetupChangeIsLocal(point, 0);
    const int last = std::max(lineEnd, currentIndex);
    for (int k = last; k > baseIndex; --k) lineMoves[k + 1] = lineMoves[k];
    if (local) RenumberNumberedEntries(baseIndex, 1);
    baseIndex += 1;
    lineEnd = last + 1;
    lineMoves[baseIndex] = point;
    editSetupList[baseIndex] = MakeStone(colour, point);
    if (!local) {
        ReplaySetupAndMoves(numbered);
        return;
    }
    currentIndex += 1;
    board[point] = colour;
    AnalyseAfterSetupChange();
}

void Engine::RemoveSetupEntry(int k) {
    const int numbered = currentIndex - baseIndex;
    const PointCode point = lineMoves[k];
    const bool local = SetupChangeIsLocal(point, k);
    const int last = std::max(lineEnd, currentIndex);
    for (int i = k; i < last; ++i) lineMoves[i] = lineMoves[i + 1];
    for (int i = k; i < baseIndex; ++i) editSetupList[i] = editSetupList[i + 1];
    lineMoves[last] = 0;
    editSetupList[baseIndex] = 0;
    if (local) RenumberNumberedEntries(baseIndex, -1);
    baseIndex -= 1;
    lineEnd = last - 1;
    if (!local) {
        ReplaySetupAndMoves(numbered);
        return;
    }
    currentIndex -= 1;
    board[point] = kEmpty;
    groupGrid[point] = 0;
    libertyGrid[point] = 0;
    AnalyseAfterSetupChange();
}

bool Engine::SetupStoneClick(PointCode point, int colour) {
    if (replayMode || !IsOnBoard(point)) return false;
    const int there = board[point];
    if (there == kBlack || there == kWhite) {
        // The newest entry on the point decides: a numbered move is left alone.
        int k = currentIndex;
        while (k >= 1 && lineMoves[k] != point) --k;
        if (k < 1 || k > baseIndex) return false;
        if (there == colour) {
            RemoveSetupEntry(k);
            markGrid[point] = 0;
        } else {
            editSetupList[k] = MakeStone(Opponent(there), point);
            if (SetupChangeIsLocal(point, k)) {
                board[point] = Opponent(there);
                AnalyseAfterSetupChange();
            } else {
                ReplaySetupAndMoves(currentIndex - baseIndex);
            }
            markGrid[point] = editing.selectedMark > 0 ? MakeMark(Opponent(there), editing.selectedMark) : 0;
        }
        recordModified = true;
        return true;
    }
    // An empty point may still hold a setup stone that a later move took: the setup position has one
    // stone a point, so that stone takes the colour asked for rather than a second entry on the point.
    for (int k = 1; k <= baseIndex; ++k) {
        if (lineMoves[k] != point) continue;
        if (StoneColour(editSetupList[k]) == colour) return false;
        editSetupList[k] = MakeStone(colour, point);
        ReplaySetupAndMoves(currentIndex - baseIndex);
        recordModified = true;
        return true;
    }
    // A numbered move of the line on the point (taken since, or still to be stepped to again) would be
    // played onto the setup stone: the point stays free for it.
    for (int k = baseIndex + 1; k <= std::max(lineEnd, currentIndex); ++k) {
        if (lineMoves[k] == point) {
            messages_.SetText(kNotPlayable);
            return false;
        }
    }
    if (std::max(lineEnd, currentIndex) >= kMaxLineEntries) {
        messages_.SetText(kLineFull);
        return false;
    }
    InsertSetupEntry(point, colour);
    markGrid[point] = editing.selectedMark > 0 ? MakeMark(colour, editing.selectedMark) : 0;
    recordModified = true;
    return true;
}

bool Engine::PlaceSetupStone(PointCode point) {
    if (!IsOnBoard(point) || board[point] != kEmpty) return false;
    if (std::max(lineEnd, currentIndex) >= kMaxLineEntries) {
        messages_.SetText(kLineFull);
        return false;
    }
    InsertSetupEntry(point, kBlack);
    return true;
}

bool Engine::PlaceHandicapStones(int n) {
    if (n < 2 || n > 29) return false;
    const std::vector<std::pair<int, int>> points = HandicapPoints(n);
    std::vector<PointCode> placed;
    for (const auto& [col, row] : points) {
        const int c = StarLineFor(col, boardSize);
        const int r = StarLineFor(row, boardSize);
        // Smaller boards have the star points of up to nine stones; 7 and 6 lines have too few.
        if (c == 0 || r == 0 || boardSize < 9) {
            messages_.SetText(kNoRoomForHandicap);
            return false;
        }
        placed.push_back(MakePoint(c, r));
    }
    for (PointCode p : placed) PlaceSetupStone(p);
    blackFirst = 0;
    AnalyseForColourToMove();
    return true;
}

}  // namespace quorvel
