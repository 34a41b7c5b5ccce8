#include "core/move_numbers.h"

#include <algorithm>

namespace quorvel {
namespace {

// True when a later applied entry captured the stone that entry `i` put on `p`.
bool CapturedLater(const Engine& e, int i, PointCode p) {
    return std::any_of(e.captureLog.begin(), e.captureLog.end(),
                       [&](int c) { return CaptureEntryIndex(c) > i && CapturePoint(c) == p; });
}

int Digits(int n) { return n >= 100 ? 3 : (n >= 10 ? 2 : 1); }

}  // namespace

StonesOnBoard StonesToDraw(const Engine& e, bool markBranching) {
    StonesOnBoard out;
    for (int i = e.baseIndex; i >= 1; --i) {
        const PointCode p = e.lineMoves[i];
        if (p == kPass || !e.IsOnBoard(p) || e.board[p] <= 0) continue;
        out.background.push_back({p, e.board[p]});
    }
    for (int i = e.currentIndex; i > e.baseIndex; --i) {
        const PointCode p = e.lineMoves[i];
        if (p == kPass || !e.IsOnBoard(p) || e.board[p] <= 0 || CapturedLater(e, i, p)) continue;
        DrawnStone s{p, e.board[p]};
        const bool branches = markBranching && e.BranchesAt(i) > 0;
        if (e.settings.number || i == e.currentIndex) {
            s.number = i + e.firstMoveNumber - e.baseIndex - 1;
            s.highlighted = branches;
        } else {
            s.branchSign = branches;
        }
        out.numbered.push_back(s);
    }
    return out;
}

TextPlacement MoveNumberPlacement(int boardSize, int number, int stoneColour) {
    const int digits = Digits(number);
    const int black = stoneColour == kBlack ? 1 : 0;
    // Offsets put the digits' middle on the stone's centre for the font of each size.
    if (boardSize == 19) {
        if (digits == 1) return {13, -2 - black, -8};
        if (digits == 2) return {10, -5 - black, -6};
        return {8, -7, -4};
    }
    if (boardSize == 13) {
        if (digits == 1) return {20, -7 - black, -13};
        if (digits == 2) return {17, -9 - black, -11};
        return {13, -11, -8};
    }
    if (digits == 1) return {28, -11 - black, -18};
    if (digits == 2) return {24, -15 - black, -16};
    return {13, -16, -8};
}

TextPlacement HintLetterPlacement(int boardSize, bool nextMove) {
    if (boardSize == 19) return nextMove ? TextPlacement{15, -7, -10} : TextPlacement{15, -6, -9};
    if (boardSize == 13) return {22, -9, -16};
    return nextMove ? TextPlacement{26, -11, -19} : TextPlacement{26, -11, -18};
}

int PrisonerCountX(int count) { return count >= 100 ? 19 : (count >= 10 ? 22 : 25); }
int MoveCountBoxX(int count) { return count >= 100 ? 417 : (count >= 10 ? 421 : 424); }
int MoveCountFrameX(int count) { return count >= 100 ? 466 : (count >= 10 ? 472 : 476); }

}  // namespace quorvel
