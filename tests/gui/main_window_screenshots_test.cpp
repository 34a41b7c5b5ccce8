// Screenshots of the three docked windows at start-up, compact and full, written when
// QUORVEL_SCREENSHOTS names a folder; without it the test checks only that the windows compose.
#include <gtest/gtest.h>

#include <QPainter>
#include <QPlainTextEdit>
#include <filesystem>
#include <fstream>

#include "app/gui/main_window.h"
#include "app/gui/text_window.h"

namespace quorvel {
namespace {

// The windows as they stand on the screen, painted into one picture.
QImage Desktop(TForm1& main) {
    const QRect area = main.frameGeometry().united(main.Form2->frameGeometry()).united(main.Form3->frameGeometry());
    QImage shot(area.size(), QImage::Format_RGB32);
    shot.fill(QColor(58, 110, 165));
    QPainter p(&shot);
    for (QWidget* w : {static_cast<QWidget*>(&main), static_cast<QWidget*>(main.Form2),
                       static_cast<QWidget*>(main.Form3)}) {
        p.drawPixmap(w->geometry().topLeft() - area.topLeft(), w->grab());
    }
    return shot;
}

TEST(MainWindowScreenshots, DockedWindowsCompactAndFull) {
    char pattern[] = "/tmp/quorvel-shots-XXXXXX";
    const std::string dir = ::mkdtemp(pattern);
    const std::string record = dir + "/game.sgf";
    std::ofstream(record, std::ios::binary)
        << "(;GM[1]FF[4]SZ[19]PB[山田]PW[鈴木]RE[B+R];B[pd];W[dp];B[pp];W[dd]C[序盤];B[fq](;W[cn];B[dr])(;W[jp]))";
    TitleRegistry titles(dir + "/titles");
    MemoryDialogs dialogs;
    TForm1 main(QStringLiteral(QUORVEL_PROGRAM_DIR), {QString::fromStdString(record)}, titles, &dialogs);
    main.ShowAtStart();
    main.files().OpenPath(record);
    main.board().ForwardTen();
    main.board().StepBack();
    main.Form2->Redraw();

    // A record on the command line opens in full mode; the switch turns it compact.
    const QImage full = Desktop(main);
    main.SwitchWindowSize();
    const QImage compact = Desktop(main);
    EXPECT_GE(full.height(), compact.height());
    EXPECT_EQ(main.Form2->y(), main.frameGeometry().bottom() + 1);

    if (const char* out = std::getenv("QUORVEL_SCREENSHOTS")) {
        std::filesystem::create_directories(out);
        EXPECT_TRUE(compact.save(QString::fromLocal8Bit(out) + QStringLiteral("/main-compact.png")));
        EXPECT_TRUE(full.save(QString::fromLocal8Bit(out) + QStringLiteral("/main-full.png")));
    }
    std::filesystem::remove_all(dir);
}

// Records in other encodings than Shift-JIS open with their real names in the board window's memos and
// the text window: a KGS record in UTF-8 (read in place from the shared corpus when it is there) and a
// GB2312 record whose CA comes after the names.
TEST(MainWindowScreenshots, RecordsInOtherEncodingsShowTheirRealNames) {
    struct Shot {
        std::filesystem::path file;
        const char* black;
        const char* white;
        const char* picture;
    };
    const Shot shots[] = {
        {std::filesystem::path(QUORVEL_SHARED_CORPUS) / "copyleft" / "kaya-kgs-kanji-names-utf8-ca.sgf", u8"ヒカル", u8"お顔",
         "/encoding-utf8-kgs.png"},
        {std::filesystem::path(QUORVEL_TEST_DATA) / "corpus" / "sabaki-chinese-gb2312-ca.sgf", u8"古力", u8"柯洁",
         "/encoding-gb2312.png"},
    };
    char pattern[] = "/tmp/quorvel-shots-XXXXXX";
    const std::string dir = ::mkdtemp(pattern);
    TitleRegistry titles(dir + "/titles");
    MemoryDialogs dialogs;
    TForm1 main(QStringLiteral(QUORVEL_PROGRAM_DIR), {}, titles, &dialogs);
    main.ShowAtStart();
    main.SwitchWindowSize();
    int shown = 0;
    for (const Shot& s : shots) {
        if (!std::filesystem::exists(s.file)) continue;  // the copyleft folder may be absent
        ++shown;
        ASSERT_TRUE(main.files().OpenPath(s.file.string()));
        main.Form2->Redraw();
        const QString black = QString::fromUtf8(s.black);
        const QString white = QString::fromUtf8(s.white);
        EXPECT_TRUE(main.Form3->memo()->toPlainText().startsWith(QStringLiteral("● ") + black + QStringLiteral(" | ○ ") + white))
            << main.Form3->memo()->toPlainText().toStdString();
        QStringList memos;
        for (const QPlainTextEdit* memo : main.Form2->findChildren<QPlainTextEdit*>()) memos << memo->toPlainText();
        EXPECT_TRUE(memos.contains(black) && memos.contains(white)) << memos.join(QStringLiteral("|")).toStdString();
        if (const char* out = std::getenv("QUORVEL_SCREENSHOTS")) {
            std::filesystem::create_directories(out);
            EXPECT_TRUE(Desktop(main).save(QString::fromLocal8Bit(out) + QString::fromLatin1(s.picture)));
        }
    }
    EXPECT_GE(shown, 1);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace quorvel
