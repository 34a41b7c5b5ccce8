// "DEL": deleting moves from the end of the line, or a whole variation, with every branch that hangs on
// what is deleted.
#include <algorithm>

#include "core/engine.h"

namespace quorvel {

void Engine::RemoveBranches(int s, int k) {
    if (k <= 0 || s < 1 || s + k - 1 > branchCount) return;
    for (int j = s; j + k <= branchCount; ++j) {
        branchOrigin[j] = branchOrigin[j + k];
        branchMoves[j] = branchMoves[j + k];
        branchComments[j] = branchComments[j + k];
    }
    for (int j = branchCount - k + 1; j <= branchCount; ++j) {
        branchOrigin[j] = 0;
        branchMoves[j].fill(0);
        branchComments[j].fill(CommentRef{});
    }
    branchCount -= k;
    for (int j = s; j <= branchCount; ++j) {
        const int parent = OriginParent(branchOrigin[j]);
        if (parent > s && parent != kDeadParent) branchOrigin[j] -= k * 1000;
    }
}

bool Engine::DeleteLastMove() {
    if (!replayMode || lineEnd <= baseIndex || currentIndex != lineEnd) return false;
    const int move = lineEnd - baseIndex + LineOffset();
    // The branches that start at the deleted move (its alternatives, and any hanging after it) go with
    // it, each with its subtree; a branch left after the last move of its line would read back as that
    // line's continuation. From the last, so that the indices of the earlier ones stay.
    const int place = currentBranch * 1000 + move;
    for (int j = branchCount; j >= 1; --j) {
        const int at = OriginPlace(branchOrigin[j]);
        if (at == place || at == place - 1) RemoveBranches(j, SubtreeEnd(j) - j);
    }
    StepBack();
    branchComments[currentBranch][move] = CommentRef{};
    branchMoves[currentBranch][move] = 0;
    const int header = branchMoves[currentBranch][0];
    branchMoves[currentBranch][0] =
        MakeHeader(HeaderDepth(header), HeaderFirstColour(header), HeaderLength(header) - 1);
    lineEnd -= 1;
    if (currentBranch == 0) RebuildSummaryText();
    recordModified = true;
    return true;
}

bool Engine::DeleteCurrentVariation() {
    if (!replayMode || currentBranch == 0) return false;
    const int c = currentBranch;
    const int origin = branchOrigin[c];
    const int parent = OriginParent(origin);
    const bool wasDiagram = variationDepth == 0;
    while (currentIndex > baseIndex) TakeBack();
    RemoveBranches(c, SubtreeEnd(c) - c);
    recordModified = true;
    if (wasDiagram || parent == kDeadParent) {
        currentBranch = diagramBranch = 0;
        ReturnToMainLine();
        return true;
    }
    variationDepth = std::max(variationDepth - 1, 0);
    currentBranch = parent;
    baseIndex = parent == 0 ? setupCount : OriginBase(branchOrigin[parent]);
    while (currentIndex > baseIndex) TakeBack();
    LoadBranchIntoLine(parent);
    const int steps = OriginMove(origin) - LineOffset();
    for (int k = 0; k < steps && currentIndex < lineEnd; ++k) StepForward();
    return true;
}

bool Engine::BeginDeleteMoves() {
    if (!replayMode || lineEnd <= baseIndex || moveLimit != kNormalMoveLimit) return false;
    editing.positionBeforeDelete = currentIndex;
    deletingMoves = true;
    GoToEnd();
    return true;
}

Engine::DeleteResult Engine::DeleteClick(PointCode point) {
    if (!deletingMoves || point == kPass) return DeleteResult::Nothing;
    if (currentBranch != 0 && lineEnd > baseIndex && lineMoves[baseIndex + 1] == point) {
        return DeleteCurrentVariation() ? DeleteResult::Variation : DeleteResult::Nothing;
    }
    if (currentIndex == lineEnd && lineMoves[lineEnd] == point) {
        return DeleteLastMove() ? DeleteResult::LastMove : DeleteResult::Nothing;
    }
    return DeleteResult::Nothing;
}

void Engine::EndDeleteMoves(DeleteResult last) {
    deletingMoves = false;
    if (last != DeleteResult::Variation) {
        // The line may have become shorter than the position the deletion started from.
        const int target = std::min(editing.positionBeforeDelete, lineEnd);
        while (currentIndex > target && currentIndex > baseIndex) StepBack();
        while (currentIndex < target) StepForward();
    }
    hintPosition = currentIndex;
    RecountHints();
}

}  // namespace quorvel
