// Screenshots of the three docked windows at start-up, compact and full, written when
// QUORVEL_SCREENSHOTS names a folder; without it the test checks only that the windows compose.
#include <gtest/gtest.h>

#include <QPainter>
#include <filesystem>
#include <fstream>

#include "app/gui/main_window.h"

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

    const QImage compact = Desktop(main);
    main.SwitchWindowSize();
    const QImage full = Desktop(main);
    EXPECT_GT(full.height(), compact.height() - 1);
    EXPECT_EQ(main.Form2->y(), main.frameGeometry().bottom() + 1);

    if (const char* out = std::getenv("QUORVEL_SCREENSHOTS")) {
        std::filesystem::create_directories(out);
        EXPECT_TRUE(compact.save(QString::fromLocal8Bit(out) + QStringLiteral("/main-compact.png")));
        EXPECT_TRUE(full.save(QString::fromLocal8Bit(out) + QStringLiteral("/main-full.png")));
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace quorvel
