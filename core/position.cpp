// The rules of play on the engine's board position: placing, passing, taking back, captures, ko and
// suicide points.
#include <vector>

#include "core/engine.h"

namespace quorvel {

const PointGrid& EmptyBoardGrid(int boardSize) {
    static const std::array<PointGrid, kGridWidth> grids = [] {
        std::array<PointGrid, kGridWidth> all{};
        for (int size = 1; size < kGridWidth; ++size) {
            for (PointCode p = 0; p < kGridCells; ++p) {
                const bool on = PointCol(p) >= 1 && PointCol(p) <= size && PointRow(p) >= 1 && PointRow(p) <= size;
                all[static_cast<std::size_t>(size)][static_cast<std::size_t>(p)] = on ? kEmpty : kBorder;
            }
        }
        return all;
    }();
    const int size = boardSize >= 1 && boardSize < kGridWidth ? boardSize : 19;
    return grids[static_cast<std::size_t>(size)];
}

void Engine::ResetBoard() {
    board = EmptyBoardGrid(boardSize);
    groupGrid = board;
    libertyGrid.fill(0);
    captureLog.clear();
    replacedStone_.fill(kEmpty);
    blackCaptured = 0;
    whiteCaptured = 0;
    lastPoint = 0;
    currentIndex = 0;
}

void Engine::ChangeBoardSize(int size) {
    if (const BoardGeometry* g = GeometryFor(size)) {
        boardSize = size;
        geometry = g;
        hover = {g->FirstLine(), g->FirstLine()};
        ResetBoard();
        markGrid.fill(0);
        visitGrid.fill(0);
        baseIndex = 0;
        for (CommentArray& comments : branchComments) comments.fill(CommentRef{});
        commentPool.clear();
        ClearKeptNodes();
        commentPoolBase = 0;
        headerText = "(;GM[1]FF[1]SZ[" + std::to_string(size) + "]";
    } else {
        ResetBoard();
    }
}

int Engine::ColourToMove() const {
    const bool even = (currentIndex - baseIndex) % 2 == 0;
    return (even == (blackFirst == 1)) ? kBlack : kWhite;
}

const char* const kNotPlayable = "そこは打てません。";
const char* const kBranchTableFull = "分岐の数が上限（150）に達しているため、この変化図は追加できません";
const char* const kSetupNotShown = "この局面には盤面に表示していない配置があります：";

bool Engine::IsPlayable(PointCode point) {
    if (point > 0 && point < kGridCells && board[point] < 1 && board[point] != kBorder &&
        groupGrid[point] != kKoMark && groupGrid[point] != kSuicideMark) {
        lastPoint = point;
        return true;
    }
    messages_.SetText(kNotPlayable);
    return false;
}

bool Engine::PlayBlack() { return PlayColour(kBlack); }
bool Engine::PlayWhite() { return PlayColour(kWhite); }

bool Engine::PlayColour(int colour) {
    if (currentIndex >= kMaxLineEntries || !IsOnBoard(lastPoint)) return false;
    ClearForbiddenMarks();
    replacedStone_[currentIndex + 1] = board[lastPoint];
    board[lastPoint] = colour;
    currentIndex += 1;
    lineMoves[currentIndex] = lastPoint;
    AnalysePosition(Opponent(colour), colour);
    return true;
}

bool Engine::Pass(int passer) {
    if (currentIndex >= kMaxLineEntries) return false;
    ClearForbiddenMarks();
    currentIndex += 1;
    lineMoves[currentIndex] = kPass;
    lastPoint = 0;
    AnalysePosition(Opponent(passer), passer);
    return true;
}

void Engine::ClearForbiddenMarks() {
    // Ko and suicide marks only ever stand on empty points next to stones; sweeping the whole grid is as
    // cheap as visiting the stones and cannot miss one.
    for (PointCode p = 0; p < kGridCells; ++p) {
        if (board[p] == kEmpty) groupGrid[p] = 0;
    }
}

void Engine::LogCapture(PointCode p) {
    if (board[p] == kBlack) {
        blackCaptured += 1;
    } else {
        whiteCaptured += 1;
    }
    captureLog.push_back(MakeCapture(currentIndex, p));
}

void Engine::CaptureSingle(PointCode n, PointCode v, int mover) {
    LogCapture(n);
    groupGrid[n] = 0;
    libertyGrid[n] = 0;
    // Ko: the capturing stone touches nothing of its own colour and no stone in atari, so its only liberty
    // is the point just emptied. Liberty counts are those of the previous analysis.
    bool ko = true;
    for (int step : kNeighbourSteps) {
        const PointCode q = v + step;
        if (board[q] == kEmpty || board[q] == mover || libertyGrid[q] == 1) {
            ko = false;
            break;
        }
    }
    if (ko) {
        groupGrid[n] = kKoMark;
        captureLog.back() += 1;
    }
    board[n] = kEmpty;
}

void Engine::CaptureTest(PointCode n, PointCode v, int mover) {
    const int colour = board[n];
    bool single = true;
    for (int step : kNeighbourSteps) {
        if (board[n + step] == colour) single = false;
    }
    if (single) {
        for (int step : kNeighbourSteps) {
            if (board[n + step] == kEmpty) return;
        }
        CaptureSingle(n, v, mover);
        return;
    }

    // Flood-fill the group until a liberty shows up.
    std::vector<PointCode> visited;
    std::vector<PointCode> pending{n};
    visitGrid[n] = 1;
    bool liberty = false;
    while (!pending.empty() && !liberty) {
        const PointCode p = pending.back();
        pending.pop_back();
        visited.push_back(p);
        for (int step : kNeighbourSteps) {
            if (board[p + step] == kEmpty) liberty = true;
        }
        if (liberty) break;
        for (int step : kNeighbourSteps) {
            const PointCode q = p + step;
            if (board[q] == colour && visitGrid[q] == 0) {
                visitGrid[q] = 1;
                pending.push_back(q);
            }
        }
    }
    if (liberty) {
        for (PointCode p : visited) visitGrid[p] = 0;
        for (PointCode p : pending) visitGrid[p] = 0;
        return;
    }

    // No liberty: remove the group, walking it from n over the marked stones in neighbour order so the
    // capture log lists the stones as they are taken.
    std::vector<PointCode> stack{n};
    visitGrid[n] = 0;
    while (!stack.empty()) {
        const PointCode p = stack.back();
        stack.pop_back();
        LogCapture(p);
        groupGrid[p] = 0;
        libertyGrid[p] = 0;
        board[p] = kEmpty;
        for (int i = 3; i >= 0; --i) {
            const PointCode q = p + kNeighbourSteps[i];
            if (visitGrid[q] == 1) {
                visitGrid[q] = 0;
                stack.push_back(q);
            }
        }
    }
}

void Engine::AnalyseGroups() {
    for (int k = currentIndex; k >= 1; --k) {
        const PointCode p = lineMoves[k];
        if (board[p] == kBlack || board[p] == kWhite) {
            groupGrid[p] = 0;
            libertyGrid[p] = 0;
        }
    }
    int group = 0;
    std::vector<PointCode> stones;
    std::vector<PointCode> liberties;
    std::vector<PointCode> pending;
    for (int k = currentIndex; k >= 1; --k) {
        const PointCode start = lineMoves[k];
        const int colour = board[start];
        if ((colour != kBlack && colour != kWhite) || groupGrid[start] != 0) continue;
        group += 1;
        stones.clear();
        liberties.clear();
        pending.assign(1, start);
        groupGrid[start] = group;
        while (!pending.empty()) {
            const PointCode p = pending.back();
            pending.pop_back();
            stones.push_back(p);
            for (int step : kNeighbourSteps) {
                const PointCode q = p + step;
                if (board[q] == colour && groupGrid[q] == 0) {
                    groupGrid[q] = group;
                    pending.push_back(q);
                } else if (board[q] == kEmpty && visitGrid[q] == 0) {
                    visitGrid[q] = 1;
                    liberties.push_back(q);
                }
            }
        }
        const int count = static_cast<int>(liberties.size());
        for (PointCode p : stones) libertyGrid[p] = count;
        for (PointCode q : liberties) visitGrid[q] = 0;
    }
}

void Engine::MarkSuicidePoints(int toMove, int mover) {
    for (int k = currentIndex; k >= 1; --k) {
        const PointCode p = lineMoves[k];
        if (board[p] != kBlack && board[p] != kWhite) continue;
        for (int step : kNeighbourSteps) {
            const PointCode q = p + step;
            if (board[q] != kEmpty || groupGrid[q] != 0) continue;
            bool suicide = true;
            for (int step2 : kNeighbourSteps) {
                const PointCode r = q + step2;
                const bool captures = board[r] == mover && libertyGrid[r] == 1;
                const bool connects = board[r] == toMove && libertyGrid[r] > 1;
                if (board[r] == kEmpty || captures || connects) {
                    suicide = false;
                    break;
                }
            }
            if (suicide) groupGrid[q] = kSuicideMark;
        }
    }
}

void Engine::AnalysePosition(int toMove, int mover) {
    const PointCode v = lineMoves[currentIndex];
    if (currentIndex > 0 && v != kPass) {
        for (int step : kNeighbourSteps) {
            const PointCode n = v + step;
            if (board[n] == toMove) CaptureTest(n, v, mover);
        }
    }
    AnalyseGroups();
    MarkSuicidePoints(toMove, mover);
}

void Engine::TakeBack() {
    if (currentIndex <= baseIndex) return;
    const PointCode p = lineMoves[currentIndex];
    const int c = (p != kPass && (board[p] == kBlack || board[p] == kWhite)) ? board[p] : kEmpty;
    ClearForbiddenMarks();

    if (c != kEmpty) {
        while (!captureLog.empty() && CaptureEntryIndex(captureLog.back()) == currentIndex) {
            const PointCode q = CapturePoint(captureLog.back());
            const int restored = Opponent(c);
            board[q] = restored;
            if (restored == kBlack) {
                blackCaptured -= 1;
            } else {
                whiteCaptured -= 1;
            }
            captureLog.pop_back();
        }
        groupGrid[p] = 0;
        libertyGrid[p] = 0;
        board[p] = replacedStone_[currentIndex];
        replacedStone_[currentIndex] = kEmpty;
    } else if (p == kPass) {
        messages_.SetText(" PASS！");
    }

    currentIndex -= 1;
    lastPoint = 0;

    if (!captureLog.empty()) {
        const int newest = captureLog.back();
        const PointCode q = CapturePoint(newest);
        if (CaptureEntryIndex(newest) == currentIndex && CaptureSetKo(newest) && board[q] == kEmpty) {
            groupGrid[q] = kKoMark;
        }
    }

    // The side whose entry was taken back is to move again. The position is the one that followed the
    // entry now at currentIndex, so its captures were made then; only groups and forbidden points are
    // rebuilt.
    const int toMove = (c != kEmpty) ? c : ColourToMove();
    AnalyseGroups();
    MarkSuicidePoints(toMove, Opponent(toMove));
}

}  // namespace quorvel
