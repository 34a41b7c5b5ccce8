// Turning the whole record by 180 degrees.
#include <algorithm>

#include "core/engine.h"

namespace quorvel {

void Engine::RotateRecord() {
    const int n = boardSize;
    const auto turn = [n](PointCode p) {
        return p == kPass ? kPass : MakePoint(n + 1 - PointCol(p), n + 1 - PointRow(p));
    };
    const auto turnStone = [&](int stone) {
        return stone == 0 ? 0 : MakeStone(StoneColour(stone), turn(StonePoint(stone)));
    };

    // Back to the setup stones first, so that every capture on the way is undone on the unturned board;
    // then the line is replayed on the turned one.
    const int shown = currentIndex;
    const int base = baseIndex;
    const int setupEnd = replayMode ? setupCount : baseIndex;
    baseIndex = setupEnd;
    while (currentIndex > setupEnd) TakeBack();

    const int entries = std::max(shown, lineEnd);
    for (int k = 1; k <= entries && k < kLineSlots; ++k) lineMoves[k] = turn(lineMoves[k]);
    if (lineEnd > 0) {
        for (int b = 0; b <= branchCount; ++b) {
            const int moves = BranchLength(b) + (b == 0 ? mainLineOffset : 0);
            for (int k = 1; k <= moves && k < kLineSlots; ++k) branchMoves[b][k] = turn(branchMoves[b][k]);
        }
    }
    for (int& stone : setupList) stone = turnStone(stone);
    for (int& stone : editSetupList) stone = turnStone(stone);
    const PointGrid marks = markGrid;
    const PointGrid stones = board;
    for (PointCode p = 0; p < kGridCells; ++p) {
        if (!IsOnBoard(p)) continue;
        markGrid[turn(p)] = marks[p];
        board[turn(p)] = stones[p];
        groupGrid[p] = 0;
        libertyGrid[p] = 0;
    }
    AnalyseGroups();

    baseIndex = base;
    while (currentIndex < shown) ApplyNextEntry();
    hintPosition = currentIndex;
    RecountHints();
}

}  // namespace quorvel
