// Web loading and sending on the real windows, against a web server on 127.0.0.1 and a browser stub.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/gui/main_window.h"
#include "app/gui/text_window.h"
#include "app/gui/web_address_window.h"
#include "auxiliary/gui/mail_window.h"
#include "platform/gui/qt_text.h"
#include "platform/text_codec.h"
#include "support/local_server.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using test::LocalServer;
using test::TempFolder;

// Counts the paints a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

class NoFileDialogs : public FileDialogs {
public:
    std::optional<std::string> RunOpenDialog(const std::string&) override { return Next(); }
    std::optional<std::string> RunSaveDialog(const std::string&) override { return Next(); }
    std::optional<std::string> Next() {
        ++asked;
        return answer;
    }
    std::optional<std::string> answer;
    int asked = 0;
};

// Every file of a folder with its size and time, to see that nothing was written there.
std::string FolderState(const fs::path& folder) {
    std::string state;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        state += entry.path().string() + " ";
        if (entry.is_regular_file()) {
            state += std::to_string(entry.file_size()) + " " +
                     std::to_string(entry.last_write_time().time_since_epoch().count());
        }
        state += "\n";
    }
    return state;
}

class WebRecordsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::ofstream(served / "game.sgf", std::ios::binary) << "(;GM[1]SZ[19]PB[黒]\n;B[pd]\n;W[dp]\n;B[pp])\n";
        std::ofstream(served / "Zarn.dat", std::ios::binary) << "(;GM[1]SZ[19]\n;B[dd]\n;W[qq])\n";
        std::ofstream(served / "local.sgf", std::ios::binary) << "(;GM[1]SZ[19];B[cc];W[qc];B[cq];W[qq];B[jj])";
        ASSERT_GT(server.port(), 0);
        window = std::make_unique<TForm1>(QStringLiteral(QUORVEL_PROGRAM_DIR), QStringList(), titles, &dialogs,
                                          &fileDialogs);
        window->ShowAtStart();
    }
    Engine& board() { return window->board(); }
    std::string TextWindow() { return board().messages().Text(); }

    // KNR with `url` typed into Form11 and "読み込む" clicked.
    void StartLoad(const std::string& url) {
        QTimer::singleShot(0, window.get(), [this, url] {
            window->Form11()->ComboBox1->setCurrentText(ToQString(url));
            QTest::mouseClick(window->Form11()->BitBtn1, Qt::LeftButton);
        });
        window->action(QStringLiteral("KNR"))->trigger();
    }
    void WaitForLoad() {
        for (int i = 0; i < 400 && window->web().Loading(); ++i) QTest::qWait(50);
        ASSERT_FALSE(window->web().Loading());
        QApplication::processEvents();
    }

    TempFolder served{"web-window"};
    TempFolder registry{"web-window-titles"};
    LocalServer server{"http_test_server.py", {served.path().string()}};
    TitleRegistry titles{registry.path().string()};
    MemoryDialogs dialogs;
    NoFileDialogs fileDialogs;
    std::unique_ptr<TForm1> window;
};

TEST_F(WebRecordsWindowTest, AServedRecordShowsWithItsAddressAndWritesNothing) {
    const std::string programFolder = FolderState(QUORVEL_PROGRAM_DIR);
    const QImage empty = window->Form2->grab().toImage();
    for (const char* name : {"/game.sgf", "/Zarn.dat"}) {
        const std::string url = server.Url(name);
        StartLoad(url);
        WaitForLoad();
        EXPECT_EQ(window->windowTitle(), ToQString(" Quorvel  " + url));
        EXPECT_EQ(window->ZarnItem[0]->text(), QStringLiteral("1 : ") + ToQString(url));
        EXPECT_TRUE(window->ZarnItem[0]->isVisible());
        EXPECT_EQ(window->Form11()->ComboBox1->itemText(0), ToQString(url));
        EXPECT_EQ(window->Form11()->ComboBox1->currentText(), ToQString(url));
    }
    EXPECT_EQ(board().lineEnd, 2);
    EXPECT_EQ(window->Form11()->ComboBox1->count(), 3);
    board().GoToEnd();
    window->Form2->Redraw();
    EXPECT_NE(window->Form2->grab().toImage(), empty);
    // Nothing the server sent reached the program folder.
    EXPECT_EQ(FolderState(QUORVEL_PROGRAM_DIR), programFolder);
    // The address is no file: overwriting asks for a name.
    window->action(QStringLiteral("KFW"))->trigger();
    EXPECT_EQ(fileDialogs.asked, 1);
}

TEST_F(WebRecordsWindowTest, TheBoardRepaintsWhileALoadTrickles) {
    StartLoad(server.Url("/local.sgf"));
    WaitForLoad();
    ASSERT_EQ(board().lineEnd, 5);
    const std::string record = board().recordText;
    window->web().httpOptions().timeoutMs = 3000;

    PaintCounter counter;
    window->Form2->installEventFilter(&counter);
    StartLoad(server.Url("/trickle/game.sgf"));
    ASSERT_TRUE(window->web().Loading());
    EXPECT_EQ(TextWindow(), " 受 信 中 ・・・");
    const QImage before = window->Form2->grab().toImage();
    // A key through the event queue: handled and painted while the load goes on.
    QCoreApplication::postEvent(window->Form2, new QKeyEvent(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier));
    const int paints = counter.paints;
    QTest::qWait(300);
    EXPECT_TRUE(window->web().Loading());
    EXPECT_EQ(board().currentIndex, 1);
    EXPECT_GT(counter.paints, paints);
    EXPECT_NE(window->Form2->grab().toImage(), before);

    WaitForLoad();
    EXPECT_EQ(TextWindow(), "指定されたファイルを読み込めません！");
    EXPECT_EQ(board().recordText, record);
    EXPECT_EQ(board().currentIndex, 1);
    window->Form2->removeEventFilter(&counter);
}

TEST_F(WebRecordsWindowTest, ARecentAddressLoadsFromTheWebAgain) {
    const std::string url = server.Url("/game.sgf");
    StartLoad(url);
    WaitForLoad();
    StartLoad(server.Url("/local.sgf"));
    WaitForLoad();
    ASSERT_EQ(board().lineEnd, 5);
    ASSERT_EQ(window->ZarnItem[1]->text(), QStringLiteral("2 : ") + ToQString(url));
    window->ZarnItem[1]->trigger();
    WaitForLoad();
    EXPECT_EQ(board().lineEnd, 3);
    EXPECT_EQ(window->windowTitle(), ToQString(" Quorvel  " + url));
    EXPECT_EQ(window->ZarnItem[0]->text(), QStringLiteral("1 : ") + ToQString(url));
}

TEST_F(WebRecordsWindowTest, AnAddressWithJapaneseAndAmpersandShowsAsTyped) {
    // The server finds the file only when the path is requested in UTF-8 escapes.
    std::ofstream(served / u8"棋譜&1.sgf", std::ios::binary) << "(;GM[1]SZ[19];B[pd];W[dp])";
    const std::string url = server.Url("/棋譜&1.sgf");
    StartLoad(url);
    WaitForLoad();
    EXPECT_EQ(board().lineEnd, 2);
    const QString typed = ToQString(url);
    EXPECT_TRUE(typed.contains(QStringLiteral(u"/棋譜&1.sgf")));
    EXPECT_EQ(window->windowTitle(), QStringLiteral(" Quorvel  ") + typed);
    QString shown = typed;
    shown.replace(QStringLiteral("&"), QStringLiteral("&&"));
    EXPECT_EQ(window->ZarnItem[0]->text(), QStringLiteral("1 : ") + shown);
    EXPECT_EQ(window->Form11()->ComboBox1->itemText(0), typed);
}

TEST_F(WebRecordsWindowTest, SendingOpensTheBrowserWithTheRecordsBytes) {
    // A browser stub on PATH that writes down the record part of the address, decoded by Python.
    TempFolder bin{"web-browser"};
    const std::string opened = bin / "opened.sgf";
    {
        std::ofstream stub(bin / "xdg-open");
        stub << "#!/bin/sh\nexec " << QUORVEL_PYTHON3
             << " -c 'import sys, urllib.parse; open(sys.argv[2], \"wb\").write("
                "urllib.parse.unquote_to_bytes(sys.argv[1].split(\"SGF=\", 1)[1]))' \"$1\" " << opened << "\n";
    }
    fs::permissions(bin / "xdg-open", fs::perms::owner_all);
    const std::string oldPath = std::getenv("PATH");
    setenv("PATH", (bin.path().string() + ":" + oldPath).c_str(), 1);

    std::ofstream(served / "comment.sgf", std::ios::binary) << "(;GM[1]SZ[19];B[pd]C[#&+ 日本];W[dp])";
    StartLoad(server.Url("/comment.sgf"));
    WaitForLoad();
    board().GoToEnd();
    window->Form2->Redraw();
    board().messages().Clear();
    window->action(QStringLiteral("KNN"))->trigger();
    for (int i = 0; i < 100 && !fs::exists(opened); ++i) QTest::qWait(50);
    QTest::qWait(100);
    setenv("PATH", oldPath.c_str(), 1);

    std::ifstream in(opened, std::ios::binary);
    const std::string sent((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(sent, TextWindow());
    EXPECT_NE(sent.find("C[#&+ 日本]"), std::string::npos) << sent;
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(WebRecordsWindowTest, ALargePageWithoutARecordShowsCutAndTheWindowsGoOn) {
    // 30 MB in lines of 100 bytes, and 2 MB on one line: either held the window thread for minutes when
    // the text window was given all of it.
    std::string lines;
    for (int i = 0; lines.size() < (30u << 20); ++i) {
        std::string line = "<p>line " + std::to_string(i) + " ";
        lines += line + std::string(99 - line.size(), 'x') + "\n";
    }
    std::ofstream(served / "lines.html", std::ios::binary) << lines;
    std::ofstream(served / "one-line.html", std::ios::binary) << "<html>" + std::string(2u << 20, 'y');
    const std::string before = board().recordText;
    const QString title = window->windowTitle();

    // What the window should show, read off the pages here: the line ends become CR LF (101 bytes a line),
    // as many whole lines as 64 KB hold, or the one line's first 1024 bytes.
    std::string firstLines;
    for (std::size_t at = 0; firstLines.size() + 101 <= 65536; at += 100) firstLines += lines.substr(at, 99) + "\r\n";
    const std::string linesShown = "指定されたファイルに棋譜データはありません。\r\n\r\n" + firstLines +
                                   "\r\n（ページが大きいため、一部だけを表示しています。全体は " +
                                   std::to_string(lines.size() / 100 * 101) + " バイトです。）";
    const std::string oneLineShown = "指定されたファイルに棋譜データはありません。\r\n\r\n<html>" + std::string(1018, 'y') +
                                     " ・・・\r\n\r\n（ページが大きいため、一部だけを表示しています。全体は " +
                                     std::to_string((2u << 20) + 6) + " バイトです。）";

    for (const auto& [name, shown] : {std::pair<std::string, std::string>{"/lines.html", linesShown},
                                     std::pair<std::string, std::string>{"/one-line.html", oneLineShown}}) {
        QElapsedTimer clock;
        clock.start();
        StartLoad(server.Url(name));
        WaitForLoad();
        // The window paints what it shows.
        const QImage painted = window->Form3->grab().toImage();
        std::cout << name << ": received and shown in " << clock.elapsed() << " ms\n";
        EXPECT_FALSE(painted.isNull());
        EXPECT_EQ(TextWindow(), shown) << name;
        EXPECT_EQ(FromQString(window->Form3->memo()->toPlainText()),
                  [&] { std::string s = shown; ReplaceAll(s, "\r\n", "\n"); return s; }());
        // The record on the board and its name stay.
        EXPECT_EQ(board().recordText, before);
        EXPECT_EQ(window->windowTitle(), title);
    }
}

TEST_F(WebRecordsWindowTest, TheMailCommandOpensTheMailWindow) {
    bool shown = false;
    QTimer::singleShot(0, window.get(), [&] {
        shown = window->Form9()->isVisible() && window->Form9()->isModal();
        window->Form9()->reject();
    });
    window->action(QStringLiteral("KNE"))->trigger();
    EXPECT_TRUE(shown);
    EXPECT_EQ(window->action(QStringLiteral("KNE"))->toolTip(), ToQString("メール送信 [ 棋譜付き ]"));
}

}  // namespace
}  // namespace quorvel
