// The build draws every picture the board window reads, at the sizes the window's layout needs, and the
// stone sound.
#include <gtest/gtest.h>

#include <QFile>
#include <cstdint>
#include <utility>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QLibrary>
#include <QString>

#include "core/gui/board_pictures.h"
#include "platform/gui/program_icons.h"
#include "platform/gui/qt_sound.h"

namespace quorvel {
namespace {

QString ProgramFile(const char* name) { return QStringLiteral(QUORVEL_PROGRAM_DIR "/") + QLatin1String(name); }

// The toolbar takes its icons from the strip: each must be the icon drawn into its own file.
TEST(ProgramPictures, TheIconStripHoldsEachIconAtItsName) {
    ProgramIcons icons(QStringLiteral(QUORVEL_PROGRAM_DIR));
    QFile index(ProgramFile("bmp/icons/strip.txt"));
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    const QList<QByteArray> names = index.readAll().split('\n');
    int compared = 0;
    for (const QByteArray& name : names) {
        if (name.isEmpty()) continue;
        const QImage own = QImage(ProgramFile("bmp/icons/") + QString::fromLatin1(name) + QStringLiteral(".png"))
                               .convertToFormat(QImage::Format_ARGB32);
        const QImage fromStrip =
            icons.Icon(QString::fromLatin1(name)).pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(fromStrip, own) << name.toStdString();
        ++compared;
    }
    EXPECT_GE(compared, 40);
    EXPECT_TRUE(icons.Icon(QStringLiteral("no such icon")).isNull());
}

TEST(ProgramPictures, EveryPictureIsThereAtItsSize) {
    const BoardPictures pictures(QStringLiteral(QUORVEL_PROGRAM_DIR));
    EXPECT_TRUE(pictures.missing.isEmpty()) << pictures.missing.join(QStringLiteral(", ")).toStdString();
    struct Expected {
        const char* file;
        int width;
        int height;
    };
    const Expected sizes[] = {
        {"bmp/GoBan19.bmp", 399, 395}, {"bmp/GoBan13.bmp", 399, 395}, {"bmp/GoBan9.bmp", 399, 395},
        {"bmp/GoBan7.bmp", 399, 395},  {"bmp/GoBan6.bmp", 399, 395},  {"bmp/GoStone.bmp", 40, 40},
        {"bmp/GoStone13.bmp", 60, 60}, {"bmp/GoStone9.bmp", 84, 84},  {"bmp/ShowTool.bmp", 168, 22},
        {"bmp/bar.bmp", 50, 20},       {"bmp/baron.bmp", 50, 20},     {"bmp/auto.bmp", 50, 40},
        {"bmp/hama.bmp", 49, 35},      {"bmp/MakeBack.bmp", 50, 21},
    };
    for (const Expected& e : sizes) {
        const QImage img(ProgramFile(e.file));
        EXPECT_EQ(img.size(), QSize(e.width, e.height)) << e.file;
    }
}

TEST(ProgramPictures, StoneSheetsHoldStonesOnWhiteAndTheirMasks) {
    for (const auto& [file, cell] : {std::pair{"bmp/GoStone.bmp", 20}, std::pair{"bmp/GoStone13.bmp", 30},
                                     std::pair{"bmp/GoStone9.bmp", 42}}) {
        const QImage sheet(ProgramFile(file));
        ASSERT_FALSE(sheet.isNull()) << file;
        const int mid = cell / 2 - 1;
        EXPECT_LT(qGray(sheet.pixel(mid, mid)), 90) << file << ": black stone";
        EXPECT_GT(qGray(sheet.pixel(mid, cell + mid)), 200) << file << ": white stone";
        for (int row = 0; row < 2; ++row) {
            EXPECT_EQ(sheet.pixel(0, row * cell), qRgb(255, 255, 255)) << file << ": white ground";
            EXPECT_EQ(sheet.pixel(cell, row * cell), qRgb(0, 0, 0)) << file << ": mask outside the disc";
            EXPECT_EQ(sheet.pixel(cell + mid, row * cell + mid), qRgb(255, 255, 255)) << file << ": mask";
            // The disc reaches the points c / 2 - 1 pixels left and right of its centre.
            EXPECT_GT(qGray(sheet.pixel(cell + mid - (cell / 2 - 1), row * cell + mid)), 100) << file;
            EXPECT_GT(qGray(sheet.pixel(cell + mid + (cell / 2 - 1), row * cell + mid)), 100) << file;
        }
    }
}

TEST(ProgramPictures, StoneSoundIsAShortWave) {
    QFile wav(ProgramFile("stone.wav"));
    ASSERT_TRUE(wav.open(QIODevice::ReadOnly));
    const QByteArray bytes = wav.readAll();
    ASSERT_GT(bytes.size(), 44);
    EXPECT_EQ(bytes.left(4), QByteArrayLiteral("RIFF"));
    EXPECT_EQ(bytes.mid(8, 8), QByteArrayLiteral("WAVEfmt "));
    // Well under a second of 16-bit mono at 22050 Hz, and not silent.
    EXPECT_LT(bytes.size(), 22050 * 2);
    bool loud = false;
    for (int i = 44; i + 1 < bytes.size(); i += 2) {
        const auto low = static_cast<uint16_t>(static_cast<uint8_t>(bytes[i]));
        const auto high = static_cast<uint16_t>(static_cast<uint8_t>(bytes[i + 1]));
        const int sample = static_cast<int16_t>(static_cast<uint16_t>(low | (high << 8)));
        loud = loud || sample > 8000 || sample < -8000;
    }
    EXPECT_TRUE(loud);
}

// The sound module lies in the program folder and gives its entry point; without the file no player is
// made. (The offscreen test machine has no audio device, so a player is not asked for.)
TEST(ProgramSoundModule, LoadsFromTheProgramFolderAndRefusesAMissingFile) {
    QLibrary module(SoundModulePath(QStringLiteral(QUORVEL_PROGRAM_DIR)));
    ASSERT_TRUE(module.load()) << module.errorString().toStdString();
    const auto open = reinterpret_cast<OpenSoundFunction>(module.resolve(kOpenSoundSymbol));
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open(QStringLiteral(QUORVEL_PROGRAM_DIR "/no-such.wav")), nullptr);
}

}  // namespace
}  // namespace quorvel
