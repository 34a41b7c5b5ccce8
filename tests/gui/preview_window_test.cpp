// The record preview beside Qt's open dialog: files selected in the real dialog show their facts and their
// final position; other files, pipes and huge lists show nothing or what fits, without a hang.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QListView>
#include <QTest>
#include <QPainter>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>

#include "auxiliary/gui/preview_window.h"
#include "platform/gui/qt_text.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

class PreviewWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvel-preview-XXXXXX";
        dir = ::mkdtemp(pattern);
        Write("game.sgf", "(;GM[1]SZ[19]PB[本因坊 秀策]PW[井上 幻庵]DT[1846-09-11]RE[B+2]\r\n"
                          ";B[qd];W[dc];B[pq];W[oc];B[cp])");
        Write("notes.txt", "(;B[aa])");
    }
    void TearDown() override { fs::remove_all(dir); }

    void Write(const std::string& name, const std::string& text) {
        std::ofstream(dir + "/" + name, std::ios::binary) << text;
    }
    std::string Path(const std::string& name) const { return dir + "/" + name; }

    // Runs the real open dialog with the preview watching; `inside` acts on the dialog while it is open,
    // then the dialog is cancelled.
    void RunDialog(const std::function<void(QFileDialog&)>& inside) {
        QtFileDialogs files(nullptr);
        files.SetOpenDialogWatcher(&form);
        QTimer::singleShot(100, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), ToQString("棋譜の読み込み"));
            EXPECT_TRUE(form.isVisible());
            EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
            inside(*dialog);
            dialog->reject();
        });
        EXPECT_FALSE(files.RunOpenDialog(dir + "/").has_value());
        EXPECT_FALSE(form.isVisible());
    }

    // Selects a file as a click in the dialog's list would, once the list shows `rows` files of the folder.
    void Select(QFileDialog& dialog, const std::string& name, int rows) {
        auto* model = dialog.findChild<QFileSystemModel*>();
        ASSERT_NE(model, nullptr);
        const QString folder = QString::fromStdString(dir);
        ASSERT_TRUE(QTest::qWaitFor([&] { return model->rowCount(model->index(folder)) >= rows; }, 5000));
        auto* view = dialog.findChild<QListView*>(QStringLiteral("listView"));
        ASSERT_NE(view, nullptr);
        const QModelIndex index = model->index(QString::fromStdString(Path(name)));
        ASSERT_TRUE(index.isValid()) << name;
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
        QApplication::processEvents();
    }

    QColor Pixel(int x, int y) { return form.picture().pixelColor(x, y); }

    std::string dir;
    TForm8 form;
};

// The pixel of a 19-line preview inside the stone of a point (beside its grid lines).
QPoint InStone(int col, int row) { return {col * 10 - 4 - 1 + 2, row * 10 - 4 - 1 + 2}; }

TEST_F(PreviewWindowTest, SelectingARecordShowsItsFactsAndFinalPosition) {
    EXPECT_EQ(form.size(), QSize(192, 273));
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    RunDialog([&](QFileDialog& dialog) {
        Select(dialog, "game.sgf", 1);
        EXPECT_EQ(LinesFromQString(form.Memo1->toPlainText()),
                  "● 本因坊 秀策\r\n○ 井上 幻庵\r\n日付 ： 1846-09-11\r\n結果 ： 黒 2 目勝\r\n手数 ： 5");
        EXPECT_LT(Pixel(InStone(17, 4).x(), InStone(17, 4).y()).lightness(), 60);    // q4, Black
        EXPECT_GT(Pixel(InStone(4, 3).x(), InStone(4, 3).y()).lightness(), 200);     // d3, White
        const QColor empty = Pixel(InStone(10, 10).x(), InStone(10, 10).y());
        EXPECT_EQ(empty, QColor(222, 184, 110));

        if (const char* out = std::getenv("QUORVEL_SCREENSHOTS")) {
            fs::create_directories(out);
            const QPixmap shot = dialog.grab();
            QImage both(shot.width() + form.width() + 1, std::max(shot.height(), form.height()), QImage::Format_RGB32);
            both.fill(QColor(58, 110, 165));
            QPainter p(&both);
            p.drawPixmap(0, 0, shot);
            p.drawImage(shot.width() + 1, 0, form.picture());
            p.end();
            EXPECT_TRUE(both.save(QString::fromLocal8Bit(out) + QStringLiteral("/open-dialog-preview.png")));
        }

        // Another file that is no record by its name empties the preview.
        dialog.selectNameFilter(dialog.nameFilters().last());
        Select(dialog, "notes.txt", 2);
        EXPECT_TRUE(form.Memo1->toPlainText().isEmpty());
        EXPECT_EQ(Pixel(InStone(17, 4).x(), InStone(17, 4).y()), QColor(222, 184, 110));
    });
}

TEST_F(PreviewWindowTest, ResultsOfEachKind) {
    const struct {
        const char* value;
        const char* line;
    } cases[] = {{"B+R", "結果 ： 黒中押勝"},
                 {"W+3.5", "結果 ： 白 3 目半勝"},
                 {"B+0.5", "結果 ： 黒 半目勝"},
                 {"B+", "結果 ： 黒勝"}};
    int k = 0;
    for (const auto& c : cases) {
        const std::string name = "r" + std::to_string(k++) + ".sgf";
        Write(name, std::string("(;SZ[9]RE[") + c.value + "];B[ee])");
        form.OpenDialogSelectionChanged(Path(name));
        EXPECT_EQ(LinesFromQString(form.Memo1->toPlainText()), std::string(c.line) + "\r\n手数 ： 1") << c.value;
    }
    // A 9-line board: the centre stone at line 5 (pixel 95).
    EXPECT_LT(Pixel(95 + 2, 95 + 2).lightness(), 60);

    // A record in UTF-8 shows its names as written, Hangul too, whatever record the board shows.
    Write("utf8.sgf", u8"(;CA[UTF-8]SZ[9]PB[\xEC\x9D\xB4\xEC\xB0\xBD\xED\x98\xB8]PW[井山 裕太];B[ee])");
    form.OpenDialogSelectionChanged(Path("utf8.sgf"));
    EXPECT_EQ(form.Memo1->toPlainText(),
              QString::fromUtf8(u8"● \xEC\x9D\xB4\xEC\xB0\xBD\xED\x98\xB8\n○ 井山 裕太\n手数 ： 1"));
}

TEST_F(PreviewWindowTest, AHugeSetupListAndAPipeNeitherCrashNorHang) {
    std::string many = "(;SZ[19]AB";
    for (int k = 0; k < 600; ++k) many += std::string("[") + char('a' + k / 19 % 19) + char('a' + k % 19) + "]";
    Write("many.sgf", many + ";W[tt])");
    const std::string fifo = Path("pipe.sgf");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    RunDialog([&](QFileDialog& dialog) {
        Select(dialog, "many.sgf", 2);
        // 600 groups cover the board once (361) and then again: the list keeps 499, the board shows 361.
        EXPECT_EQ(form.preview().setupCount, 499);
        EXPECT_EQ(LinesFromQString(form.Memo1->toPlainText()), "手数 ： 0  |  前配置 ： 499");
        EXPECT_LT(Pixel(InStone(19, 19).x(), InStone(19, 19).y()).lightness(), 60);

        // The list shows no pipes; a name typed or a selection made before the pipe appeared still
        // reaches the preview, which must not wait for a writer.
        form.OpenDialogSelectionChanged(fifo);
        EXPECT_TRUE(form.Memo1->toPlainText().isEmpty());
    });
}

}  // namespace
}  // namespace quorvel
