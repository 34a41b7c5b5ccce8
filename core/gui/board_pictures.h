// The board window's pictures, read from the program folder's bmp/ at start.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include "core/board_geometry.h"

namespace quorvel {

// A stone sheet cut into the two stones, each carrying its mask as transparency: drawing one replaces the
// picture exactly where the mask is white.
struct StoneSheet {
    int cell = 0;  // 20, 30 or 42 pixels
    QImage black;
    QImage white;
};

struct BoardPictures {
    // Reads every picture; a missing file is listed in `missing` and stays a null picture.
    explicit BoardPictures(const QString& programDir);

    // The board picture and stone sheet of a board size (the board picture without grid lines). A board
    // picture in `ownDir` (one the user chose in place of the standard one) comes first.
    QImage BoardPicture(const BoardGeometry& g) const;
    QString ownDir;
    StoneSheet Stones(const BoardGeometry& g) const;

    QImage showTool;  // Image3
    QImage bg1;       // background tile with the tool column
    QImage bg2;       // background tile with the information panel
    QImage bar;
    QImage baron;
    QImage autoplay;  // autoimg
    QImage hama;
    QImage makeBack;
    QImage tete;      // move input
    QImage init;      // setup input
    QImage kuroBB;
    QImage siroBB;
    QImage kazuwaku;
    QImage passSign;  // Image11
    mutable QStringList missing;

private:
    QImage Load(const char* programPath) const;
    QString programDir_;
};

}  // namespace quorvel
