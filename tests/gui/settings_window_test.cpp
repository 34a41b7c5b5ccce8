// The settings file through the real windows: read when the windows are built (check marks, recent-file
// menu, the board's drawing follow it), written when the main window closes.
#include <gtest/gtest.h>

#include <QTest>
#include <deque>
#include <filesystem>
#include <fstream>

#include "app/gui/main_window.h"
#include "platform/file_io.h"
#include "platform/gui/qt_text.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

class SettingsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvel-settings-window-XXXXXX";
        dir = std::string(::mkdtemp(pattern)) + "/";
        conf = dir + "conf/";
        fs::create_directory(conf);
        titles = std::make_unique<TitleRegistry>(dir + "titles");
        first = dir + "first ゾ].sgf";
        second = dir + "second.sgf";
        std::ofstream(first, std::ios::binary) << "(;GM[1]SZ[19]PB[First];B[pd];W[dp])";
        std::ofstream(second, std::ios::binary) << "(;GM[1]SZ[19]PB[Second];B[pp])";
    }
    void TearDown() override {
        window.reset();
        titles.reset();
        fs::remove_all(dir);
    }
    void WriteSettings(const std::string& text) { std::ofstream(conf + "Zarn.dat", std::ios::binary) << text; }
    std::string SettingsText() {
        std::string bytes, error;
        EXPECT_TRUE(ReadWholeFile(conf + "Zarn.dat", bytes, error)) << error;
        return bytes;
    }
    void Start() {
        window.reset();
        window = std::make_unique<TForm1>(QStringLiteral(QUORVEL_PROGRAM_DIR), QStringList(), *titles, &dialogs,
                                          &files, conf);
        window->ShowAtStart();
        QCoreApplication::processEvents();
    }
    QAction* Act(const char* code) { return window->action(QString::fromLatin1(code)); }
    QString Item(int k) { return window->ZarnItem[k - 1]->isVisible() ? window->ZarnItem[k - 1]->text() : QString(); }
    static QString Caption(int k, const std::string& path) {
        return QStringLiteral("%1 : ").arg(k) + PathToQString(path);
    }

    std::string dir, conf, first, second;
    MemoryDialogs dialogs;
    AnsweredFileDialogs files;
    std::unique_ptr<TitleRegistry> titles;
    std::unique_ptr<TForm1> window;
};

TEST_F(SettingsWindowTest, TheFileSetsTheOptionsTheirChecksAndTheBoardDrawing) {
    WriteSettings("ShowXY[1]\r\nZarnHint[0]\r\nStoneSound[1]\r\nZarnStyle[1]\r\nGoBanXY[1-1]\r\nEndingAsk[1]\r\n");
    Start();
    EXPECT_TRUE(Act("KSH")->isChecked());
    EXPECT_TRUE(Act("KSS")->isChecked());
    EXPECT_TRUE(Act("KSL")->isChecked());
    EXPECT_FALSE(Act("KKH")->isChecked());
    EXPECT_FALSE(window->board().hintsShown);
    EXPECT_TRUE(window->files().endingAsk);
    EXPECT_EQ(window->board().settings.coordinates.xStyle, 1);
    EXPECT_TRUE(dialogs.shown.empty());

    // The coordinate read-out follows the pointer over the board: its pale yellow box beside the point.
    TForm2* board = window->Form2;
    const int x = board->engine().geometry->CentreX(MakePoint(10, 10));
    const int y = board->engine().geometry->CentreY(MakePoint(10, 10));
    // From another point first: a move to where an earlier test left the pointer is no move.
    QTest::mouseMove(board, QPoint(x + 60, y + 60));
    QTest::mouseMove(board, QPoint(x, y));
    const QColor box = board->picture().pixelColor(x + 9, y + 14);
    EXPECT_EQ(box, QColor(255, 255, 224));
}

TEST_F(SettingsWindowTest, RecentFilesReopenNewestFirstAndComeBackAtTheNextStart) {
    Start();
    EXPECT_FALSE(window->action(QStringLiteral("N6"))->isVisible());
    files.answers = {first, second};
    Act("KFO")->trigger();
    Act("KFO")->trigger();
    EXPECT_EQ(Item(1), Caption(1, second));
    EXPECT_EQ(Item(2), Caption(2, first));
    EXPECT_EQ(Item(3), QString());

    window->ZarnItem[1]->trigger();  // the older record comes back and to the front
    EXPECT_EQ(window->board().info.blackPlayer, "First");
    EXPECT_EQ(window->files().currentFileName, first);
    EXPECT_EQ(Item(1), Caption(1, first));
    EXPECT_EQ(Item(2), Caption(2, second));

    window->close();
    const std::string written = SettingsText();
    EXPECT_NE(written.find("\r\nItemCount[2]\r\nItem2[" + second + "]\r\nItem1[" + first + "]\r\n"), std::string::npos);
    EXPECT_NE(written.find("\r\nOpenDialogDir[" + dir + "]\r\n"), std::string::npos);

    Start();
    EXPECT_TRUE(window->action(QStringLiteral("N6"))->isVisible());
    EXPECT_EQ(Item(1), Caption(1, first));
    EXPECT_EQ(Item(2), Caption(2, second));
    window->ZarnItem[1]->trigger();
    EXPECT_EQ(window->board().info.blackPlayer, "Second");
    window->close();
    EXPECT_NE(SettingsText().find("Item2[" + first + "]\r\nItem1[" + second + "]\r\n"), std::string::npos);
    // A start and a close without changes write the same bytes.
    const std::string settled = SettingsText();
    Start();
    window->close();
    EXPECT_EQ(SettingsText(), settled);
}

TEST_F(SettingsWindowTest, ADamagedFileIsSaidOnceAndAFailedWriteIsSaid) {
    WriteSettings(std::string("\x7f" "ELF\x02\x01\x01\0\0\0 Number[0]", 20));
    Start();
    QCoreApplication::processEvents();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].find("Zarn.dat"), std::string::npos);
    EXPECT_TRUE(window->board().settings.number);
    window->close();
    EXPECT_EQ(SettingsText().substr(0, 22), "ShowXY[0]\r\nNumber[1]\r\n");
    ASSERT_EQ(dialogs.shown.size(), 1u);

    // A settings file that is a folder cannot be replaced: the close says so and still closes.
    fs::remove(conf + "Zarn.dat");
    fs::create_directory(conf + "Zarn.dat");
    Start();
    window->close();
    EXPECT_FALSE(window->isVisible());
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_NE(dialogs.shown[1].find(conf + "Zarn.dat"), std::string::npos);
}

TEST_F(SettingsWindowTest, EndingAskFromTheFileAsksBeforeAChangedRecordIsClosed) {
    WriteSettings("EndingAsk[1]\r\n");
    Start();
    files.answers = {first};
    Act("KFO")->trigger();
    window->close();  // nothing changed: nothing asked
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_FALSE(window->isVisible());

    Start();
    Act("KFO")->trigger();
    window->board().recordModified = true;
    fs::remove(conf + "Zarn.dat");
    dialogs.nextAnswer = Answer::Cancel;
    window->close();
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0], " 変更が加えられています。変更を保存しますか？");
    EXPECT_EQ(dialogs.askedCaptions[0], "  Quorvel ： 棋譜保存の確認");
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(fs::exists(conf + "Zarn.dat"));  // a close that was called off writes nothing

    window->board().recordModified = true;
    dialogs.nextAnswer = Answer::No;
    window->close();
    EXPECT_EQ(dialogs.asked.size(), 2u);
    EXPECT_FALSE(window->isVisible());
    EXPECT_NE(SettingsText().find("\r\nEndingAsk[1]\r\n"), std::string::npos);

    // Off in the file: nothing is asked.
    WriteSettings("EndingAsk[0]\r\n");
    Start();
    Act("KFO")->trigger();
    window->board().recordModified = true;
    window->close();
    EXPECT_EQ(dialogs.asked.size(), 2u);
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace quorvel
