// The picture of the secondary board: the board with its grid, the stones with their numbers and marks,
// and what the window's role adds (continuation letters, a range's outline, counting marks and the colours
// of a finished count).
#pragma once

#include <QColor>
#include <QImage>
#include <vector>

#include "auxiliary/secondary_board.h"
#include "core/gui/board_painter.h"

namespace quorvel {

// The colours of a count: Black's points and White's.
extern const QColor kBlackGainColour;  // lime
extern const QColor kWhiteGainColour;  // fuchsia

class SecondaryBoardPainter {
public:
    explicit SecondaryBoardPainter(const BoardPictures& pictures) : stones_(pictures) {}

    // Composes the board part of the window (the board picture's size) onto `picture`.
    void Paint(QImage& picture, const SecondaryBoard& s, const std::vector<Continuation>& continuations);

private:
    // A short text centred on the point's centre, white on a black stone and black on a white one.
    void StoneText(QPainter& p, const BoardGeometry& g, PointCode point, int colour, const char* text);
    void PaintRange(QPainter& p, const SecondaryBoard& s);

    BoardPainter stones_;
};

}  // namespace quorvel
