#include "core/gui/board_pictures.h"

#include <QPainter>

#include "core/program_files.h"
#include "platform/gui/qt_ports.h"

namespace quorvel {
namespace {

// One stone of a sheet with its mask as alpha: the mask is a white disc on black, so its grey value is
// how much of the stone covers the picture.
QImage MaskedStone(const QImage& sheet, int cell, int row) {
    QImage stone(cell, cell, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < cell; ++y) {
        for (int x = 0; x < cell; ++x) {
            const QRgb s = sheet.pixel(x, row * cell + y);
            const int a = qGray(sheet.pixel(cell + x, row * cell + y));
            stone.setPixel(x, y, qRgba(qRed(s) * a / 255, qGreen(s) * a / 255, qBlue(s) * a / 255, a));
        }
    }
    return stone;
}

}  // namespace

BoardPictures::BoardPictures(const QString& programDir) : programDir_(programDir) {
    showTool = Load("bmp\\ShowTool.bmp");
    bg1 = Load("bmp\\bg1.bmp");
    bg2 = Load("bmp\\bg2.bmp");
    bar = Load("bmp\\bar.bmp");
    baron = Load("bmp\\baron.bmp");
    autoplay = Load("bmp\\auto.bmp");
    hama = Load("bmp\\hama.bmp");
    makeBack = Load("bmp\\MakeBack.bmp");
    tete = Load("bmp\\tete.bmp");
    init = Load("bmp\\init.bmp");
    kuroBB = Load("bmp\\kuroBB.bmp");
    siroBB = Load("bmp\\siroBB.bmp");
    kazuwaku = Load("bmp\\kazuwaku.bmp");
    passSign = Load("bmp\\pass.bmp");
}

QImage BoardPictures::Load(const char* programPath) const {
    const std::string path = ProgramFilePath(programDir_.toStdString(), programPath);
    QImage img = ReadImageFile(QString::fromStdString(path), "BMP");
    if (img.isNull()) {
        missing.append(QString::fromStdString(path));
        return img;
    }
    return img.convertToFormat(QImage::Format_RGB32);
}

QImage BoardPictures::BoardPicture(const BoardGeometry& g) const {
    if (!ownDir.isEmpty()) {
        const QString own = QString::fromStdString(ProgramFilePath(ownDir.toStdString(), g.boardPicture));
        const QImage img = ReadImageFile(own, "BMP");
        if (!img.isNull()) return img.convertToFormat(QImage::Format_RGB32);
    }
    return Load(g.boardPicture);
}

StoneSheet BoardPictures::Stones(const BoardGeometry& g) const {
    StoneSheet s;
    const QImage sheet = Load(g.stonePicture);
    if (sheet.isNull()) return s;
    s.cell = sheet.width() / 2;
    s.black = MaskedStone(sheet, s.cell, 0);
    s.white = MaskedStone(sheet, s.cell, 1);
    return s;
}

}  // namespace quorvel
