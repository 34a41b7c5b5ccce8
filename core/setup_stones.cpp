// Setup stones of creation mode: added, recoloured and removed by clicks, and the handicap stones of a new
// record. Setup entries stand before the numbered ones, so each change moves the numbered entries along;
// with numbered moves on the board the position is played again, so that the capture log, the prisoners
// and every take-back stay those of the line.
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
    {7, 7},  {7, 13}, {13, 7}, {13, 13}, {4, 7},   {4, 13},  {16, 7},  {16, 13}, {7, 16}, {13, 4},
    {7, 4},  {13, 16}, {10, 7}, {7, 10}, {13, 10}, {10, 13}, {3, 3},   {17, 3},  {3, 17}, {17, 17}};

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
        case 4: return corner;
        case 10: return (boardSize + 1) / 2;
        case 16: return boardSize + 1 - corner;
        default: return 0;
    }
}

}  // namespace

void Engine::ReplaySetupAndMoves(int numbered) {
    // The setup stones straight onto an empty board, then the numbered entries through the rules.
    const PointGrid& empty = EmptyBoardGrid(boardSize);
    board = empty;
    groupGrid = empty;
    libertyGrid.fill(0);
    captureLog.clear();
    replacedStone_.fill(kEmpty);
    blackCaptured = whiteCaptured = 0;
    lastPoint = 0;
    for (int k = 1; k <= baseIndex; ++k) {
        const PointCode p = lineMoves[k];
        if (IsOnBoard(p)) board[p] = StoneColour(editSetupList[k]);
    }
    currentIndex = baseIndex;
    AnalyseForColourToMove();
    for (int k = 0; k < numbered && currentIndex < kMaxLineEntries; ++k) {
        if (lineMoves[currentIndex + 1] == kPass) {
            Pass(ColourToMove());
        } else {
            ApplyNextEntry();
        }
    }
}

void Engine::InsertSetupEntry(PointCode point, int colour) {
    const int numbered = currentIndex - baseIndex;
    const int last = std::max(lineEnd, currentIndex);
    for (int k = last; k > baseIndex; --k) lineMoves[k + 1] = lineMoves[k];
    baseIndex += 1;
    lineEnd = last + 1;
    lineMoves[baseIndex] = point;
    editSetupList[baseIndex] = MakeStone(colour, point);
    if (numbered > 0) {
        ReplaySetupAndMoves(numbered);
        return;
    }
    currentIndex = baseIndex;
    board[point] = colour;
    AnalyseForColourToMove();
}

void Engine::RemoveSetupEntry(int k) {
    const int numbered = currentIndex - baseIndex;
    const int last = std::max(lineEnd, currentIndex);
    const PointCode point = lineMoves[k];
    for (int i = k; i < last; ++i) lineMoves[i] = lineMoves[i + 1];
    for (int i = k; i < baseIndex; ++i) editSetupList[i] = editSetupList[i + 1];
    lineMoves[last] = 0;
    editSetupList[baseIndex] = 0;
    baseIndex -= 1;
    lineEnd = last - 1;
    if (numbered > 0) {
        ReplaySetupAndMoves(numbered);
        return;
    }
    currentIndex = baseIndex;
    board[point] = kEmpty;
    AnalyseForColourToMove();
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
            if (currentIndex > baseIndex) {
                ReplaySetupAndMoves(currentIndex - baseIndex);
            } else {
                board[point] = Opponent(there);
                AnalyseForColourToMove();
            }
            markGrid[point] = editing.selectedMark > 0 ? MakeMark(Opponent(there), editing.selectedMark) : 0;
        }
        recordModified = true;
        return true;
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
