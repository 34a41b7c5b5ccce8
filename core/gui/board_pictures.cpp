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

namespace {

// The pictures of the window's frame and panels, by their members.
struct FramePicture {
    QImage BoardPictures::*member;
    const char* file;
};
const FramePicture kFramePictures[] = {
    {&BoardPictures::showTool, "bmp\\ShowTool.bmp"}, {&BoardPictures::bg1, "bmp\\bg1.bmp"},
    {&BoardPictures::bg2, "bmp\\bg2.bmp"},           {&BoardPictures::bar, "bmp\\bar.bmp"},
    {&BoardPictures::baron, "bmp\\baron.bmp"},       {&BoardPictures::autoplay, "bmp\\auto.bmp"},
    {&BoardPictures::hama, "bmp\\hama.bmp"},         {&BoardPictures::makeBack, "bmp\\MakeBack.bmp"},
    {&BoardPictures::tete, "bmp\\tete.bmp"},         {&BoardPictures::init, "bmp\\init.bmp"},
    {&BoardPictures::kuroBB, "bmp\\kuroBB.bmp"},     {&BoardPictures::siroBB, "bmp\\siroBB.bmp"},
    {&BoardPictures::kazuwaku, "bmp\\kazuwaku.bmp"}, {&BoardPictures::passSign, "bmp\\pass.bmp"},
};

}  // namespace

BoardPictures::BoardPictures(const QString& programDir) : programDir_(programDir) {
    for (const FramePicture& f : kFramePictures) this->*f.member = Load(f.file);
}

std::vector<std::pair<QString, const char*>> BoardPictures::FilesAtStart(const QString& programDir) {
    std::vector<std::pair<QString, const char*>> files;
    for (const FramePicture& f : kFramePictures) files.emplace_back(PathOf(programDir, f.file), "BMP");
    const BoardGeometry& g = *GeometryFor(19);
    files.emplace_back(PathOf(programDir, g.boardPicture), "BMP");
    files.emplace_back(PathOf(programDir, g.stonePicture), "BMP");
    return files;
}

QString BoardPictures::PathOf(const QString& programDir, const char* programPath) {
    return QString::fromStdString(ProgramFilePath(programDir.toStdString(), programPath));
}

QImage BoardPictures::Load(const char* programPath) const {
    const QString path = PathOf(programDir_, programPath);
    QImage img = ReadImageFile(path, "BMP");
    if (img.isNull()) {
        missing.append(path);
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
