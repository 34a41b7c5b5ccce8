// Operations on the game record: a new record, the branch table, entering and leaving variations,
// comments, and turning trial moves into a variation.
#include <algorithm>

#include "core/engine.h"
#include "core/sgf_text.h"

namespace quorvel {

Engine::Engine(MessageArea& messages, UserDialogs& dialogs) : messages_(messages), dialogs_(dialogs) {
    NewRecord();
}

void Engine::AdoptLoadedState(Engine&& loaded) {
    const std::shared_ptr<ForeignCharacters> shown = foreignCharacters;
    *shown = std::move(*loaded.foreignCharacters);
    static_cast<Position&>(*this) = std::move(static_cast<Position&>(loaded));
    static_cast<Record&>(*this) = std::move(static_cast<Record&>(loaded));
    foreignCharacters = shown;
    settings = std::move(loaded.settings);
    hintsShown = loaded.hintsShown;
    memos = std::move(loaded.memos);
    writtenRecord = loaded.writtenRecord;
    autoplayState = loaded.autoplayState;
    autoplayInterval = loaded.autoplayInterval;
    commentDialogOpen = loaded.commentDialogOpen;
    deletingMoves = loaded.deletingMoves;
    hintLetters = std::move(loaded.hintLetters);
    passHint = loaded.passHint;
    if (loaded.random) random = std::move(loaded.random);
    editing = std::move(loaded.editing);
    replacedStone_ = loaded.replacedStone_;
}

void Engine::NewRecord() {
    firstMoveNumber = 1;
    inputMode = 1;
    moveLimit = kNormalMoveLimit;
    mainLineOffset = 0;
    hiddenCommentInHead = CommentRef{};
    currentBranch = variationDepth = diagramBranch = mainLinePosition = 0;
    hintPosition = hintCount = selectedHint = 0;
    blackCaptured = whiteCaptured = 0;
    captureLog.clear();
    lastPoint = 0;
    baseIndex = currentIndex = lineEnd = 0;
    setupCount = 0;
    // Only the rows in use can hold comments: every branch that takes a slot writes the comments of all its
    // moves, so clearing the whole table (over a megabyte) on every load would buy nothing.
    for (int b = 0; b <= branchCount && b < kMaxBranches; ++b) branchComments[b].fill(CommentRef{});
    branchCount = 0;
    branchMoves[0][0] = MakeHeader(0, kBlack, 0);
    branchOrigin.fill(0);
    storedStoneCount = storedMoveCount = 0;
    storedPosition.clear();
    storedMoves.clear();
    // What "Make" kept and what was written while building belong to the record being replaced.
    editing.storedMoveComments.clear();
    editing.storedMoveKept.clear();
    editing.savedMarks.fill(0);
    for (std::string& comment : editing.createdComments) comment.clear();
    editing.markMode = false;
    markGrid.fill(0);
    libertyGrid.fill(0);
    visitGrid.fill(0);
    board = EmptyBoardGrid(boardSize);
    groupGrid = board;
    lineMoves.fill(0);
    timeUsed.fill(0);
    timeLeft.fill(0);
    blackFirst = 1;
    firstColourOpen = true;
    summaryText = kNoComment;
    gameComment = kNoComment;
    commentPool.clear();
    ClearKeptNodes();
    commentPoolBase = 0;
    summaryPrefix.clear();
    headerText = "(;GM[1]FF[1]SZ[" + std::to_string(boardSize) + "]";
    info = GameInfo{};
    mainTimeSeconds = byoyomiSeconds = byoyomiMoves = 0;
    nextIsBlack = true;
    rootCommentSpan = 0;
    loadedBaseCount = 0;
    recordEncoding.clear();
    foreignCharacters->Clear();
    lostCharacters = 0;
    unshownMoves = unshownVariations = 0;
    commentLineBreaksAsRead = false;
}

int Engine::BranchesAt(int position) const {
    const int place = PlaceAt(position);
    int count = 0;
    for (int j = 1; j <= branchCount; ++j) {
        if (OriginPlace(branchOrigin[j]) == place) ++count;
    }
    return count;
}

bool Engine::FollowPoint(PointCode point) {
    if (currentIndex >= moveLimit - 1) return false;
    if (currentIndex < lineEnd && lineMoves[currentIndex + 1] == point) {
        StepForward();
        return true;
    }
    const int place = PlaceAt(hintPosition);
    for (int j = 1; j <= branchCount; ++j) {
        if (OriginPlace(branchOrigin[j]) == place && BranchLength(j) > 0 && branchMoves[j][1] == point) {
            EnterBranch(j);
            return true;
        }
    }
    return false;
}

void Engine::LoadBranchIntoLine(int b) {
    const int off = (b == 0) ? mainLineOffset : 0;
    const int length = std::min(BranchLength(b), kMaxLineEntries - baseIndex);
    for (int k = 1; k <= length; ++k) lineMoves[baseIndex + k] = branchMoves[b][off + k];
    lineEnd = baseIndex + std::max(length, 0);
    blackFirst = HeaderBlackFirst(branchMoves[b][0]) ? 1 : 0;
}

void Engine::EnterBranch(int j) {
    if (j < 1 || j > branchCount) return;
    selectedHint = 0;
    moveLimit = kNormalMoveLimit;
    if (currentBranch != 0 || currentIndex != baseIndex) {
        variationDepth += 1;
    } else {
        diagramBranch = j;
    }
    currentBranch = j;
    baseIndex = OriginBase(branchOrigin[j]);
    LoadBranchIntoLine(j);
    if (settings.allShow) {
        while (currentIndex < lineEnd && currentIndex < moveLimit - 1) StepForward();
    } else {
        StepForward();
    }
}

void Engine::LeaveToParent() {
    if (currentBranch == 0) return;
    const int origin = branchOrigin[currentBranch];
    const int parent = OriginParent(origin);
    if (parent == kDeadParent) return;
    variationDepth = std::max(variationDepth - 1, 0);
    currentBranch = parent;
    baseIndex = OriginBase(branchOrigin[parent]);
    while (currentIndex > baseIndex) TakeBack();
    LoadBranchIntoLine(parent);
    // The branch replaced move parentMoveIndex + 1 of its parent; on the main line that index counts the
    // moves an AS property put into the background.
    const int steps = OriginMove(origin) - LineOffset();
    for (int k = 0; k < steps && currentIndex < lineEnd; ++k) StepForward();
}

void Engine::ReturnToDiagram() {
    selectedHint = 0;
    variationDepth = 0;
    moveLimit = kNormalMoveLimit;
    currentBranch = diagramBranch;
    RebuildLine();
}

void Engine::ReturnToMainLine() {
    mainLinePosition = setupCount;
    diagramBranch = 0;
    selectedHint = 0;
    ReturnToDiagram();
    messages_.SetText(summaryText);
}

void Engine::PlaceSetupStones() {
    // The AB/AW stones keep their colours; the main-line moves an AS property turned into background
    // alternate so that the last of them is the opponent of the first numbered move.
    const int firstColour = blackFirst ? kBlack : kWhite;
    const int fromMoves = std::min(mainLineOffset, baseIndex);
    for (int k = 1; k <= baseIndex; ++k) {
        const PointCode p = lineMoves[k];
        if (!IsOnBoard(p)) continue;
        int colour;
        if (k > baseIndex - fromMoves) {
            colour = ((baseIndex - k) % 2 == 0) ? Opponent(firstColour) : firstColour;
        } else {
            colour = StoneColour(setupList[k]);
        }
        if (colour != kBlack && colour != kWhite) continue;
        board[p] = colour;
        // A hidden move was played: what it took is off the board where the numbered moves start.
        if (k > baseIndex - fromMoves) RemoveTakenGroups(p, Opponent(colour));
    }
}

void Engine::RemoveTakenGroups(PointCode played, int colour) {
    for (const int step : kNeighbourSteps) {
        const PointCode start = played + step;
        if (board[start] != colour) continue;
        std::vector<PointCode> group{start};
        std::vector<bool> seen(kGridCells, false);
        seen[start] = true;
        bool breathes = false;
        for (std::size_t i = 0; i < group.size() && !breathes; ++i) {
            for (const int next : kNeighbourSteps) {
                const PointCode n = group[i] + next;
                if (board[n] == kEmpty) breathes = true;
                if (board[n] != colour || seen[n]) continue;
                seen[n] = true;
                group.push_back(n);
            }
        }
        if (breathes) continue;
        for (const PointCode q : group) board[q] = kEmpty;
    }
}

void Engine::RebuildLine() {
    // Every point is emptied, so no ko or suicide mark stays either.
    baseIndex = setupCount;
    const PointGrid& empty = EmptyBoardGrid(boardSize);
    for (PointCode p = 0; p < kGridCells; ++p) {
        if (empty[p] == kBorder) continue;
        board[p] = kEmpty;
        groupGrid[p] = 0;
        libertyGrid[p] = 0;
    }
    captureLog.clear();
    blackCaptured = whiteCaptured = 0;
    lastPoint = 0;
    currentIndex = baseIndex;
    LoadBranchIntoLine(diagramBranch);
    // The diagram's first colour decides the colours of the background moves, so place them after loading.
    PlaceSetupStones();
    AnalyseGroups();
    MarkSuicidePoints(ColourToMove(), Opponent(ColourToMove()));
    // Each step moves mainLinePosition along, so the target is taken first.
    const int target = mainLinePosition;
    if (target > baseIndex) {
        while (currentIndex < target && currentIndex < lineEnd && currentIndex < moveLimit - 1) StepForward();
    } else {
        hintPosition = baseIndex;
        RecountHints();
    }
}

void Engine::StoreComment(const std::string& raw) {
    const std::string text = ProtectSgfText(raw);
    const int slot = CurrentMoveSlot();
    if (slot < 0 || slot >= kLineSlots) return;
    if (text.empty()) branchComments[currentBranch][slot].SetComment(CommentRef{});
    if (currentBranch == 0 && currentIndex == baseIndex) {
        gameComment = text.empty() ? kNoComment : text;
        if (text.empty()) {
            summaryText = summaryPrefix.empty() ? kNoComment : summaryPrefix;
        } else {
            summaryText = summaryPrefix.empty() ? text : summaryPrefix + "\r\n" + text;
        }
        return;
    }
    if (!text.empty()) branchComments[currentBranch][slot].SetComment(AppendComment(text));
}

bool Engine::InsertBranchAt(int start) {
    if (branchCount >= kLastBranch || start < 1 || start > branchCount + 1) return false;
    for (int j = start; j <= branchCount; ++j) {
        // Parents from `start` on move one slot down with the insertion.
        const int o = branchOrigin[j];
        if (OriginParent(o) >= start && OriginParent(o) != kDeadParent) {
            branchOrigin[j] = MakeOrigin(OriginBase(o), OriginParent(o) + 1, OriginMove(o));
        }
    }
    for (int i = branchCount; i >= start; --i) {
        branchOrigin[i + 1] = branchOrigin[i];
        branchMoves[i + 1] = branchMoves[i];
        // The comment before a branch's first move (slot 0) travels with it too.
        branchComments[i + 1] = branchComments[i];
    }
    branchCount += 1;
    const int length = currentIndex - baseIndex;
    const int header = branchMoves[start][0];
    branchMoves[start].fill(0);
    branchMoves[start][0] = MakeHeader(HeaderDepth(header), HeaderFirstColour(header), length);
    for (int k = 1; k <= length; ++k) branchMoves[start][k] = lineMoves[baseIndex + k];
    branchComments[start].fill(CommentRef{});
    lineEnd = currentIndex;
    return true;
}

bool Engine::DivergingMoveExists(int i, int off) const {
    const PointCode move = lineMoves[baseIndex + i];
    if (i == 1) {
        const int origin = branchOrigin[currentBranch];
        if (currentBranch != 0) {
            const int parent = OriginParent(origin);
            if (parent != kDeadParent && branchMoves[parent][OriginMove(origin) + 1] == move) return true;
        }
        const int place = currentBranch == 0 ? MakePlace(0, off) : OriginPlace(origin);
        for (int j = 1; j <= branchCount; ++j) {
            if (j != currentBranch && OriginPlace(branchOrigin[j]) == place && BranchLength(j) > 0 &&
                branchMoves[j][1] == move) {
                return true;
            }
        }
        return false;
    }
    const int place = MakePlace(currentBranch, i - 1 + off);
    for (int j = 1; j <= branchCount; ++j) {
        if (OriginPlace(branchOrigin[j]) == place && BranchLength(j) > 0 && branchMoves[j][1] == move) return true;
    }
    return false;
}

int Engine::NewChildSlot(int stopMove) const {
    // Depth-first walk of the table from the diagram, in the order the table keeps: each move of a branch
    // in turn, each child attached at that move entered before the walk goes on. The new child goes right
    // after the last branch met before move stopMove of the current branch.
    int last = diagramBranch;
    bool stopped = false;
    struct Frame {
        int branch;
        int move;
        int child;
    };
    // A branch's own children leave at its moves 1, 2, ...; on the main line the alternatives to its first
    // move are no children of it and stand after its subtree.
    const auto firstMove = [&](int b) { return b == 0 ? mainLineOffset + 1 : 1; };
    std::vector<Frame> stack{{diagramBranch, firstMove(diagramBranch), 1}};
    while (!stack.empty() && !stopped) {
        Frame& f = stack.back();
        const int b = f.branch;
        const int moves = BranchLength(b) + (b == 0 ? mainLineOffset : 0);
        if (b == currentBranch && f.move == stopMove) {
            stopped = true;
            break;
        }
        if (f.move > moves) {
            stack.pop_back();
            continue;
        }
        const int place = MakePlace(b, f.move);
        int j = f.child;
        while (j <= branchCount && OriginPlace(branchOrigin[j]) != place) ++j;
        if (j > branchCount) {
            f.move += 1;
            f.child = 1;
            continue;
        }
        f.child = j + 1;
        last = std::max(last, j);
        stack.push_back({j, firstMove(j), 1});
    }
    return stopped ? last + 1 : branchCount + 1;
}

void Engine::RestoreStoredLine(int stepTo) {
    while (currentIndex > baseIndex) TakeBack();
    moveLimit = kNormalMoveLimit;
    LoadBranchIntoLine(currentBranch);
    while (currentIndex < stepTo && currentIndex < lineEnd) StepForward();
}

int Engine::FirstDifferingTrialMove() const {
    const int off = LineOffset();
    const int compared = std::min(currentIndex - baseIndex, BranchLength(currentBranch));
    for (int k = 1; k <= compared; ++k) {
        if (branchMoves[currentBranch][off + k] != lineMoves[baseIndex + k]) return k;
    }
    return 0;
}

bool Engine::RefuseVariation(int stepTo, const char* message) {
    RestoreStoredLine(stepTo);
    dialogs_.ShowMessage(message);
    return false;
}

void Engine::AddAlternativeToFirstMove() {
    const int n = currentIndex - baseIndex;
    branchCount += 1;
    const int b = branchCount;
    branchOrigin[b] = MakeOrigin(setupCount, 0, mainLineOffset);
    branchMoves[b].fill(0);
    // An alternative to the first move sits one level below the root, as the readers nest it.
    branchMoves[b][0] = MakeHeader(1, blackFirst ? kBlack : kWhite, n);
    for (int k = 1; k <= n; ++k) branchMoves[b][k] = lineMoves[baseIndex + k];
    branchComments[b].fill(CommentRef{});
    currentBranch = diagramBranch = b;
    lineEnd = currentIndex;
    hintCount = 0;
}

void Engine::AddChildVariation(int firstDiffering) {
    const int parentMove = firstDiffering - 1 + LineOffset();
    // The nesting level in the record is the parent's plus one (variationDepth counts from the diagram,
    // which may itself be a variation).
    const int depth = HeaderDepth(branchMoves[currentBranch][0]) + 1;
    const int slot = NewChildSlot(parentMove);
    baseIndex += firstDiffering - 1;
    InsertBranchAt(slot);
    branchOrigin[slot] = MakeOrigin(baseIndex, currentBranch, parentMove);
    variationDepth += 1;
    if ((firstDiffering - 1) % 2 == 1) blackFirst = blackFirst ? 0 : 1;
    branchMoves[slot][0] = MakeHeader(depth, blackFirst ? kBlack : kWhite, currentIndex - baseIndex);
    currentBranch = slot;
}

void Engine::AppendTrialMovesToBranch() {
    const int off = LineOffset();
    const int stored = BranchLength(currentBranch);
    const int extra = std::min(currentIndex - baseIndex, kMaxLineEntries - off) - stored;
    for (int k = 1; k <= extra; ++k) {
        branchMoves[currentBranch][off + stored + k] = lineMoves[baseIndex + stored + k];
        branchComments[currentBranch][off + stored + k] = CommentRef{};
    }
    const int header = branchMoves[currentBranch][0];
    branchMoves[currentBranch][0] = MakeHeader(HeaderDepth(header), HeaderFirstColour(header), stored + extra);
    lineEnd = currentIndex;
}

bool Engine::AddTrialMovesAsVariation() {
    const int trialMoves = currentIndex - baseIndex;
    // A record being built has no trial moves: its line is not the branch table's, which still holds the
    // record shown before "Make".
    if (!replayMode || lineEnd == 0 || trialMoves <= 0) return false;
    const int firstDiffering = FirstDifferingTrialMove();

    bool added = true;
    if (firstDiffering > 0 && DivergingMoveExists(firstDiffering, LineOffset())) {
        // That move is stored already as another continuation.
        added = RefuseVariation(baseIndex + firstDiffering - 1, "この棋譜データを保存できません");
    } else if (firstDiffering > 0 && branchCount >= kLastBranch) {
        added = RefuseVariation(baseIndex + firstDiffering - 1, kBranchTableFull);
    } else if (firstDiffering == 1 && variationDepth > 0) {
        // A sibling of the shown variation: it takes the variation's slot and origin, the variation moves
        // one slot down.
        InsertBranchAt(currentBranch);
    } else if (firstDiffering == 1) {
        AddAlternativeToFirstMove();
    } else if (firstDiffering > 1) {
        AddChildVariation(firstDiffering);
        // The new variation is shown with its move numbers on.
        settings.number = true;
    } else if (trialMoves > BranchLength(currentBranch)) {
        AppendTrialMovesToBranch();
    }

    selectedHint = 0;
    moveLimit = kNormalMoveLimit;
    return added;
}

void Engine::ClearRecordForReload() {
    lineEnd = 0;
    baseIndex = 0;
    branchCount = 0;
    currentBranch = variationDepth = diagramBranch = mainLinePosition = 0;
    hintPosition = hintCount = selectedHint = 0;
    moveLimit = kNormalMoveLimit;
    messages_.Clear();
    ResetBoard();
    blackFirst = 1;
}

}  // namespace quorvel
