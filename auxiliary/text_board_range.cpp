#include "auxiliary/text_board_range.h"

#include "auxiliary/secondary_board.h"

namespace quorvel {

const char* const kInvalidRangeMessage = "指定された範囲は無効です！";
const char* const kRangeQuestion = "指定された範囲でテキスト碁盤に出力しますか？";
const char* const kRangeQuestionCaption = " 範囲指定の確認";

bool IsBoardCorner(int boardSize, PointCode p) {
    const int col = PointCol(p);
    const int row = PointRow(p);
    return (col == 1 || col == boardSize) && (row == 1 || row == boardSize);
}

RangeStep RangeClick(SecondaryBoard& s, PointCode p) {
    RangePick& r = s.range;
    if (!s.IsOnBoard(p) || r.second != 0) return RangeStep::Ignored;
    if (r.first == 0) {
        r.first = p;
        return RangeStep::FirstMarked;
    }
    if (p == r.first) return RangeStep::Ignored;
    PointCode anchor = 0;
    PointCode far = 0;
    if (IsBoardCorner(s.boardSize, r.first)) {
        anchor = r.first;
        far = p;
    } else if (IsBoardCorner(s.boardSize, p)) {
        anchor = p;
        far = r.first;
    }
    const bool valid = anchor != 0 && PointCol(anchor) != PointCol(far) && PointRow(anchor) != PointRow(far) &&
                       s.subBoard[far] == kEmpty;
    if (!valid) {
        ForgetRange(s);
        return RangeStep::Invalid;
    }
    r.second = p;
    r.anchor = anchor;
    r.far = far;
    return RangeStep::Outlined;
}

void ForgetRange(SecondaryBoard& s) { s.range = RangePick{}; }

}  // namespace quorvel
