#include "auxiliary/secondary_board.h"

#include <algorithm>

#include "core/move_numbers.h"

namespace quorvel {

const char* const kRelocationDoneTitle = " Quorvel ： 既着石の位置変更 [完了]";
const char* const kPassQuestion = "  パ  ス  し  ま  す  か  ？";
const char* const kPassQuestionCaption = " パ ス 着 手 の 確 認";

const char* SecondaryRoleTitle(SecondaryRole r) {
    switch (r) {
        case SecondaryRole::VariationChoice: return " Quorvel : 変化図の選択";
        case SecondaryRole::SequenceDeletion: return " Quorvel : 手順の削除";
        case SecondaryRole::StoneRelocation: return " Quorvel : 既着石の位置変更 (移動先の空点をクリック)";
        case SecondaryRole::PassReplacement: return " Quorvel : (パス変更の) 着手入力 → 空点にクリックして下さい";
        case SecondaryRole::TextBoardRange:
            return " Quorvel : 範囲指定 「隅の基点(１の１) と 最も外側の対角空点をクリック」";
        case SecondaryRole::Counting: return kCountingTitle;
        case SecondaryRole::BoardComment: return " Quorvel - 碁盤付きコメントの作成";
        case SecondaryRole::ChatFileEditing: return " Quorvel - チャットファイルの編集";
    }
    return "　碁　盤";
}

namespace {

constexpr PointCode kFirstCell = 22;
constexpr PointCode kLastCell = 418;

// The chain of the stone on p; true when it has a liberty. `stones` (when given) receives the chain.
bool ChainHasLiberty(const PointGrid& board, PointCode p, std::vector<PointCode>* stones = nullptr) {
    const int colour = board[p];
    std::array<bool, kGridCells> seen{};
    std::vector<PointCode> pending{p};
    seen[p] = true;
    bool liberty = false;
    while (!pending.empty()) {
        const PointCode q = pending.back();
        pending.pop_back();
        if (stones) stones->push_back(q);
        for (int step : kNeighbourSteps) {
            const PointCode n = q + step;
            if (board[n] == kEmpty) liberty = true;
            if (board[n] == colour && !seen[n]) {
                seen[n] = true;
                pending.push_back(n);
            }
        }
        if (liberty && !stones) return true;
    }
    return liberty;
}

// Removes the opponent chains next to p that have no liberty left; returns the points emptied.
std::vector<PointCode> CaptureAround(SecondaryBoard& s, PointCode p) {
    const int opponent = Opponent(s.subBoard[p]);
    std::vector<PointCode> taken;
    for (int step : kNeighbourSteps) {
        const PointCode n = p + step;
        if (s.subBoard[n] != opponent) continue;
        std::vector<PointCode> chain;
        if (ChainHasLiberty(s.subBoard, n, &chain)) continue;
        for (PointCode q : chain) {
            s.subBoard[q] = kEmpty;
            s.numbers[q] = 0;
            taken.push_back(q);
        }
    }
    return taken;
}

// Plays entry k (a move) onto the board. A pass, or a point that a later change of the setup has
// occupied, places nothing.
void ApplyMove(SecondaryBoard& s, int k) {
    s.koPoint = 0;
    const PointCode p = s.stoneList[k];
    if (!s.IsOnBoard(p) || s.subBoard[p] != kEmpty) return;
    const int colour = s.MoveColour(k - s.setupCount);
    s.subBoard[p] = colour;
    s.numbers[p] = k - s.setupCount;
    const std::vector<PointCode> taken = CaptureAround(s, p);
    if (taken.size() != 1) return;
    // A ko: one stone taken by a lone stone whose only liberty is the point just emptied.
    for (int step : kNeighbourSteps) {
        const int n = s.subBoard[p + step];
        if (n == colour || (n == kEmpty && p + step != taken[0])) return;
    }
    s.koPoint = taken[0];
}

// The entries after `at` move up by one, leaving slot `at` + 1 free.
void OpenEntry(SecondaryBoard& s, int at) {
    for (int k = s.shownEntry; k > at; --k) {
        s.stoneList[k + 1] = s.stoneList[k];
        s.stoneCodes[k + 1] = s.stoneCodes[k];
    }
    s.shownEntry += 1;
}

void RemoveEntry(SecondaryBoard& s, int at) {
    for (int k = at; k < s.shownEntry; ++k) {
        s.stoneList[k] = s.stoneList[k + 1];
        s.stoneCodes[k] = s.stoneCodes[k + 1];
    }
    s.stoneList[s.shownEntry] = 0;
    s.stoneCodes[s.shownEntry] = 0;
    s.shownEntry -= 1;
}

// Every role starts from the board window's size, with nothing left of an earlier count or range.
void TakeGeometry(SecondaryBoard& s, const Engine& board) {
    s.boardSize = board.boardSize;
    s.geometry = board.geometry;
    s.count = TerritoryCount{};
    s.range = RangePick{};
}

PointCode KoPointOf(const Engine& board) {
    for (PointCode p = kFirstCell; p <= kLastCell; ++p) {
        if (board.board[p] == kEmpty && board.groupGrid[p] == kKoMark) return p;
    }
    return 0;
}

SecondaryAction CreationClick(SecondaryBoard& s, const SecondaryClick& click) {
    const PointCode p = click.point;
    if (s.inputMode == 1) {
        if (!click.leftButton) return SecondaryAction::None;
        return PlaySecondaryMove(s, p) ? SecondaryAction::Redraw : SecondaryAction::None;
    }
    if (click.markKeyHeld && click.paletteMark > 0) {
        if (s.subBoard[p] != kEmpty) return SecondaryAction::None;
        ToggleSecondaryMark(s, p, click.paletteMark);
        return SecondaryAction::Redraw;
    }
    SecondarySetupClick(s, p, click.leftButton, click.paletteMark);
    return SecondaryAction::Redraw;
}

SecondaryAction RangeAction(RangeStep step) {
    switch (step) {
        case RangeStep::FirstMarked: return SecondaryAction::RangeFirst;
        case RangeStep::Outlined: return SecondaryAction::RangeOutlined;
        case RangeStep::Invalid: return SecondaryAction::RangeInvalid;
        default: return SecondaryAction::None;
    }
}

}  // namespace

PointCode SecondaryBoardPoint(const BoardGeometry& g, int x, int y) {
    if (x > kHoverLimit || y > kHoverLimit) return 0;
    const int last = g.boardSize * g.gridPitch - g.gridOffset;
    return HoverToPoint(g, SnapHover(g, HoverPoint{last, last}, x, y));
}

namespace {

// Every stone of `stones`, in increasing point order, becomes a setup entry of the stone list, which then
// holds nothing else.
template <typename Grid>
void StonesAsSetup(SecondaryBoard& s, const Grid& stones) {
    s.stoneList.fill(0);
    s.stoneCodes.fill(0);
    int n = 0;
    for (PointCode p = kFirstCell; p <= kLastCell; ++p) {
        const int colour = stones[p];
        if (colour != kBlack && colour != kWhite) continue;
        ++n;
        s.stoneList[n] = p;
        s.stoneCodes[n] = colour * 1000;
    }
    s.setupCount = n;
    s.shownEntry = n;
}

}  // namespace

void CopyPosition(SecondaryBoard& s, const Engine& board) {
    TakeGeometry(s, board);
    s.subBoard = board.board;
    s.marks.fill(0);
    s.numbers.fill(0);
    for (const DrawnStone& d : StonesToDraw(board, false).numbered) s.numbers[d.point] = d.number;
    s.stoneList.fill(0);
    s.stoneCodes.fill(0);
    for (int k = 1; k <= board.currentIndex; ++k) s.stoneList[k] = board.lineMoves[k];
    s.setupCount = board.baseIndex;
    s.shownEntry = board.currentIndex;
    s.blackFirst = board.blackFirst == 1;
    s.inputMode = 1;
    s.openingKo = KoPointOf(board);
    s.koPoint = 0;
    s.selectedPoint = 0;
    s.relocationFrom = 0;
    s.relocationDone = false;
}

void OpenForCreation(SecondaryBoard& s, const Engine& board) {
    TakeGeometry(s, board);
    s.marks = board.markGrid;
    StonesAsSetup(s, board.board);
    s.blackFirst = board.ColourToMove() == kBlack;
    s.inputMode = 1;
    s.openingKo = KoPointOf(board);
    s.selectedPoint = 0;
    RebuildSecondaryBoard(s);
}

void RebuildSecondaryBoard(SecondaryBoard& s) {
    s.subBoard = EmptyBoardGrid(s.boardSize);
    s.numbers.fill(0);
    s.koPoint = 0;
    for (int k = 1; k <= s.setupCount; ++k) {
        const PointCode p = s.stoneList[k];
        if (s.IsOnBoard(p)) s.subBoard[p] = StoneColour(s.stoneCodes[k]);
    }
    for (int k = s.setupCount + 1; k <= s.shownEntry; ++k) ApplyMove(s, k);
}

bool IsPlayableOnSecondary(const SecondaryBoard& s, PointCode p) {
    if (!s.IsOnBoard(p) || s.subBoard[p] != kEmpty || p == s.koPoint) return false;
    if (s.shownEntry == s.setupCount && p == s.openingKo) return false;
    PointGrid trial = s.subBoard;
    const int colour = s.ColourToMove();
    trial[p] = colour;
    for (int step : kNeighbourSteps) {
        const PointCode n = p + step;
        if (trial[n] == Opponent(colour) && !ChainHasLiberty(trial, n)) return true;
    }
    return ChainHasLiberty(trial, p);
}

bool PlaySecondaryMove(SecondaryBoard& s, PointCode p) {
    if (s.Full() || !IsPlayableOnSecondary(s, p)) return false;
    s.shownEntry += 1;
    s.stoneList[s.shownEntry] = p;
    s.stoneCodes[s.shownEntry] = 0;
    ApplyMove(s, s.shownEntry);
    return true;
}

bool PassOnSecondary(SecondaryBoard& s) {
    if (s.Full()) return false;
    s.shownEntry += 1;
    s.stoneList[s.shownEntry] = kPass;
    s.stoneCodes[s.shownEntry] = 0;
    s.koPoint = 0;
    return true;
}

void TakeBackSecondaryMove(SecondaryBoard& s) {
    if (s.shownEntry <= s.setupCount) return;
    s.stoneList[s.shownEntry] = 0;
    s.shownEntry -= 1;
    RebuildSecondaryBoard(s);
}

void TakeBackAllSecondaryMoves(SecondaryBoard& s) {
    if (s.shownEntry == s.setupCount) {
        s.stoneList.fill(0);
        s.stoneCodes.fill(0);
        s.setupCount = 0;
        s.marks.fill(0);
        s.openingKo = 0;
    }
    for (int k = s.setupCount + 1; k <= s.shownEntry; ++k) s.stoneList[k] = 0;
    s.shownEntry = s.setupCount;
    RebuildSecondaryBoard(s);
}

void SecondarySetupClick(SecondaryBoard& s, PointCode p, bool black, int mark) {
    if (!s.IsOnBoard(p) || s.numbers[p] > 0) return;
    const int code = black ? kBlackSetup : kWhiteSetup;
    int entry = 0;
    for (int k = 1; k <= s.setupCount; ++k) {
        if (s.stoneList[k] == p) entry = k;
    }
    if (s.subBoard[p] == kEmpty) {
        if (s.Full()) return;
        OpenEntry(s, s.setupCount);
        s.setupCount += 1;
        s.stoneList[s.setupCount] = p;
        s.stoneCodes[s.setupCount] = code;
    } else if (entry == 0) {
        return;
    } else if (s.stoneCodes[entry] != code) {
        s.stoneCodes[entry] = code;
    } else {
        RemoveEntry(s, entry);
        s.setupCount -= 1;
    }
    s.openingKo = 0;
    RebuildSecondaryBoard(s);
    if (mark > 0) s.marks[p] = mark + 1000 * std::max(0, s.subBoard[p]);
}

void ToggleSecondaryMark(SecondaryBoard& s, PointCode p, int mark) {
    if (!s.IsOnBoard(p) || s.subBoard[p] != kEmpty || mark <= 0) return;
    s.marks[p] = s.marks[p] == mark ? 0 : mark;
}

void DesignatePosition(SecondaryBoard& s) {
    const int moves = s.shownEntry - s.setupCount;
    // The ko the last move left stays forbidden for the side to move.
    const PointCode ko = moves > 0 ? s.koPoint : s.openingKo;
    StonesAsSetup(s, s.subBoard);
    if (moves % 2 == 1) s.blackFirst = !s.blackFirst;
    s.openingKo = ko;
    RebuildSecondaryBoard(s);
}

void SetSecondaryBlackFirst(SecondaryBoard& s, bool blackFirst) {
    if (s.blackFirst == blackFirst) return;
    s.blackFirst = blackFirst;
    RebuildSecondaryBoard(s);
}

std::vector<Continuation> ContinuationsOf(const Engine& board) {
    std::vector<Continuation> out;
    const int position = board.hintPosition;
    if (position == board.currentIndex && board.currentIndex < board.lineEnd) {
        out.push_back({board.lineMoves[board.currentIndex + 1], 1, Engine::HintLetterAt(1)});
    }
    const int place = board.PlaceAt(position);
    int nth = 0;
    for (int j = 1; j <= board.branchCount; ++j) {
        if (OriginPlace(board.branchOrigin[j]) != place) continue;
        ++nth;
        const PointCode first = board.BranchLength(j) > 0 ? board.branchMoves[j][1] : kPass;
        out.push_back({first, Engine::RunningNumber(nth), Engine::HintLetterAt(nth + 1)});
    }
    return out;
}

int ChooseVariationAt(const Engine& board, PointCode p) {
    if (p == kPass) return 0;
    for (const Continuation& c : ContinuationsOf(board)) {
        if (c.point == p) return p;
    }
    return 0;
}

int ChooseVariationByNumber(const Engine& board, int number) {
    for (const Continuation& c : ContinuationsOf(board)) {
        if (c.number != number) continue;
        if (c.point != kPass) return c.point;
        return number == 1 ? kChosenNextMove : 0;
    }
    return 0;
}

bool IsRelocationTarget(const Engine& board, PointCode from, PointCode to) {
    const int colour = board.board[from];
    if ((colour != kBlack && colour != kWhite) || !board.IsOnBoard(to) || board.board[to] != kEmpty) return false;
    for (int step : kNeighbourSteps) {
        const PointCode n = to + step;
        if (board.board[n] == Opponent(colour) && board.libertyGrid[n] == 1) return false;
    }
    PointGrid moved = board.board;
    moved[from] = kEmpty;
    moved[to] = colour;
    return ChainHasLiberty(moved, to);
}

void RelocateShownStone(SecondaryBoard& s, PointCode from, PointCode to) {
    s.subBoard[to] = s.subBoard[from];
    s.subBoard[from] = kEmpty;
    s.numbers[to] = s.numbers[from];
    s.numbers[from] = 0;
}

SecondaryAction SecondaryBoardClick(SecondaryBoard& s, const Engine& board, const SecondaryClick& click) {
    const PointCode p = click.point;
    if (!s.IsOnBoard(p)) return SecondaryAction::None;
    switch (s.role) {
        case SecondaryRole::BoardComment:
        case SecondaryRole::ChatFileEditing: return CreationClick(s, click);
        case SecondaryRole::StoneRelocation:
            if (s.relocationDone || !IsRelocationTarget(board, s.relocationFrom, p)) return SecondaryAction::None;
            RelocateShownStone(s, s.relocationFrom, p);
            s.relocationDone = true;
            s.selectedPoint = p;
            return SecondaryAction::RelocationPicked;
        case SecondaryRole::SequenceDeletion:
            s.selectedPoint = p;
            return SecondaryAction::DeletePoint;
        case SecondaryRole::PassReplacement:
            if (board.board[p] != kEmpty) return SecondaryAction::None;
            s.selectedPoint = p;
            return SecondaryAction::CloseOk;
        case SecondaryRole::TextBoardRange: return RangeAction(RangeClick(s, p));
        case SecondaryRole::Counting:
            if (!s.count.resultShown) {
                return CountPress(s, p, click.leftButton) ? SecondaryAction::Redraw : SecondaryAction::None;
            }
            break;
        default: break;
    }
    // The variation choice, also for a click on a shown count.
    s.selectedPoint = ChooseVariationAt(board, p);
    return s.selectedPoint != 0 ? SecondaryAction::CloseOk : SecondaryAction::None;
}

}  // namespace quorvel
