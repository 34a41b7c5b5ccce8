#include "auxiliary/gui/secondary_board_painter.h"

#include <QPainter>

#include "core/gui/font_names.h"
#include "core/move_numbers.h"
#include "platform/gui/qt_text.h"

namespace quorvel {

const QColor kBlackGainColour(0, 255, 0);
const QColor kWhiteGainColour(255, 0, 255);

namespace {

const QColor kHintLetter(127, 255, 0);
const QColor kRangeMark(0, 255, 0);
const QColor kRangeOutline(255, 0, 0);

// The counting texts ("X", "☆") grow with the stones.
int StoneTextSize(int boardSize) { return boardSize == 19 ? 9 : (boardSize == 13 ? 13 : 18); }

}  // namespace

void SecondaryBoardPainter::StoneText(QPainter& p, const BoardGeometry& g, PointCode point, int colour,
                                      const char* text) {
    p.setFont(BoardFont(StoneTextSize(g.boardSize), true));
    p.setPen(colour == kBlack ? Qt::white : Qt::black);
    const QRect cell(g.CentreX(point) - g.gridPitch / 2, g.CentreY(point) - g.gridPitch / 2, g.gridPitch,
                     g.gridPitch);
    p.drawText(cell, Qt::AlignCenter, ToQString(text));
}

void SecondaryBoardPainter::PaintRange(QPainter& p, const SecondaryBoard& s) {
    const BoardGeometry& g = *s.geometry;
    const RangePick& r = s.range;
    for (PointCode point : {r.first, r.second}) {
        if (point != 0) p.fillRect(g.CentreX(point) - 4, g.CentreY(point) - 4, 9, 9, kRangeMark);
    }
    if (r.second == 0) return;
    p.setPen(QPen(kRangeOutline, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(QPoint(g.CentreX(r.anchor), g.CentreY(r.anchor)), QPoint(g.CentreX(r.far), g.CentreY(r.far)))
                   .normalized());
}

void SecondaryBoardPainter::Paint(QImage& picture, const SecondaryBoard& s,
                                  const std::vector<Continuation>& continuations) {
    const BoardGeometry& g = *s.geometry;
    stones_.PrepareSize(g);
    QPainter p(&picture);
    p.drawImage(0, 0, stones_.BoardImage());
    for (PointCode point = 22; point <= 418; ++point) {
        if (!s.IsOnBoard(point)) continue;
        const int code = s.subBoard[point];
        const int colour = code >= kDeadBlack ? code / 1000 : CellColour(code);
        if (colour != kBlack && colour != kWhite) continue;
        stones_.DrawStone(p, g.CentreX(point), g.CentreY(point), colour);
        if (code == kProvisionalBlack || code == kProvisionalWhite) {
            StoneText(p, g, point, colour, "☆");
        } else if (code >= kDeadBlack) {
            StoneText(p, g, point, colour, "X");
        } else if (s.numbers[point] > 0) {
            stones_.DrawMoveNumber(p, DrawnStone{point, colour, s.numbers[point]}, g);
        }
    }
    // A mark shows only while the stone it was set on (or the empty point) is unchanged.
    for (PointCode point = 22; point <= 418; ++point) {
        const int mark = s.marks[point];
        if (mark > 0 && s.IsOnBoard(point) && s.numbers[point] == 0 &&
            StoneColour(mark) == std::max(0, s.subBoard[point])) {
            stones_.DrawMark(p, mark, point, g);
        }
    }
    for (const Continuation& c : continuations) {
        if (!s.IsOnBoard(c.point)) continue;
        const TextPlacement t = HintLetterPlacement(g.boardSize, c.number == 1);
        p.setFont(BoardFont(t.size, true));
        p.setPen(kHintLetter);
        const QFontMetrics metrics(p.font());
        p.drawText(g.CentreX(c.point) + t.dx, g.CentreY(c.point) + t.dy + metrics.ascent(),
                   QString(QLatin1Char(c.letter)));
    }
    for (const CountSquare& q : s.count.squares) {
        p.fillRect(g.CentreX(q.point) - 2, g.CentreY(q.point) - 2, 5, 5,
                   q.side == kBlack ? kBlackGainColour : kWhiteGainColour);
    }
    PaintRange(p, s);
}

}  // namespace quorvel
