// The range of a text board, picked on the secondary board with two clicks: a corner of the board (the
// anchor) and the opposite point of the rectangle, which must be empty.
#pragma once

#include "core/point.h"

namespace quorvel {

struct SecondaryBoard;

extern const char* const kInvalidRangeMessage;  // "指定された範囲は無効です！"
extern const char* const kRangeQuestion;         // "指定された範囲でテキスト碁盤に出力しますか？"
extern const char* const kRangeQuestionCaption;  // " 範囲指定の確認"

struct RangePick {
    PointCode first = 0;   // the first click, marked on the board
    PointCode second = 0;  // the second click of an outlined range
    PointCode anchor = 0;  // the board corner of the outlined range
    PointCode far = 0;     // its opposite point
};

enum class RangeStep {
    Ignored,      // a click that changes nothing
    FirstMarked,  // the first point is marked
    Invalid,      // no range there: both points are forgotten
    Outlined,     // a valid range, waiting for the question
};

// True for the four corner points of a board of `boardSize` lines.
bool IsBoardCorner(int boardSize, PointCode p);

// A click on point p while picking. A second click on the first point, and any click while a range is
// outlined, is ignored.
RangeStep RangeClick(SecondaryBoard& s, PointCode p);
// Both points are forgotten (an invalid range, or "No" to the question).
void ForgetRange(SecondaryBoard& s);

}  // namespace quorvel
