// The net game log window on the real windows: a record with its chat file opened through the main window,
// the log shown from the board window's sign, comments clicked in Memo1 (Japanese text before them, so
// that characters and bytes differ), diagrams shown and stepped, entries moved and deleted, the log saved.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/gui/main_window.h"
#include "auxiliary/gui/log_window.h"
#include "auxiliary/gui/secondary_board_window.h"
#include "platform/gui/qt_text.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

class OpenAnswers : public FileDialogs {
public:
    std::optional<std::string> RunOpenDialog(const std::string&) override { return path; }
    std::optional<std::string> RunSaveDialog(const std::string&) override { return std::nullopt; }
    std::string path;
};

const std::string kSep = "               ";
const std::string kChatFile = "Oskelt - Oskelt - チャットログ\r\n\r\n{棋譜ログ}\r\n" + kSep +
                              "\r\n[ 12 ]：こんにちは、よろしくお願いします\r\n" + kSep + "\r\n[ 30 ]：この手はどうですか\r\n{ 碁盤 1 }\r\n" +
                              kSep + "\r\n[ 45 ]：ここは厳しい\r\n右上が大事です\r\n{ 碁盤 2 }\r\n" + kSep +
                              "\r\n[ 80 ]：ありがとうございました\r\n" + kSep + "\r\n\r\n\r\n---碁盤データ---\r\n\r\n" +
                              "{1}<<DiaData=SZ[19];B[pd];W[dd]>>\r\n" +
                              "{2}<<DiaData=SZ[19]AB[pd][dp]AW[dd];B[qj];W[jd];B[jj];W[cc];B[qq];W[tt];B[oc]>>\r\n";

class LogWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvel-log-XXXXXX";
        dir = ::mkdtemp(pattern);
        titles = std::make_unique<TitleRegistry>(dir + "/titles");
        files.path = dir + "/game.sgf";
        std::ofstream(files.path, std::ios::binary) << "(;GM[1]FF[4]SZ[19]PB[黒]PW[白];B[pd];W[dp];B[pp])";
        std::ofstream(dir + "/gameChat.dat", std::ios::binary) << kChatFile;
        window = std::make_unique<TForm1>(QStringLiteral(QUORVEL_PROGRAM_DIR), QStringList(), *titles, &dialogs,
                                          &files);
        window->ShowAtStart();
        window->action(QStringLiteral("KFO"))->trigger();
        log = window->Form10();
    }
    void TearDown() override {
        window.reset();
        titles.reset();
        fs::remove_all(dir);
    }
    std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    // A click in Memo1 on the character that holds a byte of the log text.
    void ClickLog(const std::string& what, Qt::KeyboardModifiers modifiers = {}) {
        const std::size_t byte = log->log().logText.find(what);
        ASSERT_NE(byte, std::string::npos) << what;
        ASSERT_TRUE(log->isVisible());  // Memo1 lays out only the lines it shows
        QTextCursor cursor = log->Memo1->textCursor();
        cursor.setPosition(log->MemoPositionOfByte(byte) + 1);
        log->Memo1->setTextCursor(cursor);
        log->Memo1->ensureCursorVisible();
        const QPoint at = log->Memo1->cursorRect(cursor).center();
        QTest::mouseClick(log->Memo1->viewport(), Qt::LeftButton, modifiers, at);
    }
    std::string Highlighted() { return LinesFromQString(log->Memo1->textCursor().selectedText()); }
    // Image3, the navigation picture, clicked at x.
    void Navigate(int x) { QTest::mouseClick(log->Image3, Qt::LeftButton, {}, QPoint(x, 10)); }
    // The board picture's colour inside the stone on a point (off the centre, beside any number).
    QColor StoneAt(int col, int row) {
        return log->boardPicture().pixelColor(col * 20 - 9 - 5, row * 20 - 9 + 5);
    }

    std::string dir;
    MemoryDialogs dialogs;
    OpenAnswers files;
    std::unique_ptr<TitleRegistry> titles;
    std::unique_ptr<TForm1> window;
    TForm10* log = nullptr;
};

TEST_F(LogWindowTest, TheSignOpensTheLogAndACommentShowsItsDiagram) {
    EXPECT_TRUE(window->files().chatLogPresent);
    EXPECT_FALSE(log->isVisible());
    QTest::mouseClick(window->Form2, Qt::LeftButton, {}, QPoint(150, 432));
    ASSERT_TRUE(log->isVisible());
    EXPECT_EQ(log->windowTitle(), ToQString(" [ Oskelt ]  対 局 ロ グ"));
    EXPECT_TRUE(log->Memo1->toPlainText().contains(ToQString("右上が大事です")));
    EXPECT_EQ(log->Memo1->width(), log->width() - 408);
    // It opens on the screen, its memo clear of the main, board and text windows.
    const QRect memo(log->Memo1->mapToGlobal(QPoint(0, 0)), log->Memo1->size());
    EXPECT_TRUE(log->screen()->availableGeometry().contains(log->frameGeometry()));
    for (const QWidget* other : {static_cast<QWidget*>(window.get()), static_cast<QWidget*>(window->Form2),
                                 static_cast<QWidget*>(window->Form3)}) {
        if (!other->isVisible()) continue;
        EXPECT_FALSE(memo.intersects(other->frameGeometry())) << other->metaObject()->className();
    }

    // The entry's second line selects it: its header is highlighted and diagram 2 shown at its end.
    const QColor empty = StoneAt(16, 4);
    ClickLog("右上");
    EXPECT_EQ(Highlighted(), "[ 45 ]");
    EXPECT_EQ(log->Panel1->text(), ToQString(" [碁盤2]   7手"));
    EXPECT_LT(StoneAt(16, 4).lightness(), 80);    // the black setup stone on p4
    EXPECT_GT(StoneAt(4, 4).lightness(), 200);    // the white one on d4
    EXPECT_NE(StoneAt(16, 4), empty);
    EXPECT_FALSE(log->PassLabel->isVisible());

    if (const char* out = std::getenv("QUORVEL_SCREENSHOTS")) {
        fs::create_directories(out);
        EXPECT_TRUE(log->grab().save(QString::fromLocal8Bit(out) + QStringLiteral("/net-game-log.png")));
    }

    // Back one move: White's pass is the move shown. To the setup: only the setup stones.
    Navigate(70);
    EXPECT_TRUE(log->PassLabel->isVisible());
    Navigate(5);
    EXPECT_FALSE(log->PassLabel->isVisible());
    EXPECT_EQ(log->logBoard().board.shownEntry, 3);
    EXPECT_GT(StoneAt(17, 10).lightness(), 120);  // q10, Black's first move, is gone
    Navigate(150);
    EXPECT_LT(StoneAt(17, 10).lightness(), 80);

    // A separator clears the board; F5 then gives the empty board's SGF.
    ClickLog(kSep + "\r\n[ 80 ]");
    EXPECT_EQ(Highlighted(), kSep);
    EXPECT_EQ(StoneAt(16, 4), empty);
    QTest::keyClick(log->Memo1, Qt::Key_F5);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("(;GM[1]FF[1]SZ[19])"));
}

TEST_F(LogWindowTest, SavingAnUnchangedLogKeepsEveryByteAndDeleteRemovesOneEntryWithItsDiagram) {
    log->show();
    window->action(QStringLiteral("KFW"))->trigger();
    EXPECT_EQ(Read(dir + "/gameChat.dat"), kChatFile);

    ClickLog("ここは");
    QTest::keyClick(log->Memo1, Qt::Key_Delete);
    EXPECT_FALSE(log->selection().any());
    EXPECT_FALSE(log->Memo1->toPlainText().contains(ToQString("ここは厳しい")));
    EXPECT_TRUE(log->Memo1->toPlainText().contains(ToQString("この手はどうですか")));
    window->action(QStringLiteral("KFW"))->trigger();
    const std::string saved = Read(dir + "/gameChat.dat");
    std::string expected = kChatFile;
    expected.erase(expected.find("[ 45 ]"), std::string("[ 45 ]：ここは厳しい\r\n右上が大事です\r\n{ 碁盤 2 }\r\n").size() +
                                                 kSep.size() + 2);
    expected.erase(expected.find("{2}"));
    EXPECT_EQ(saved, expected);
    // The number stays taken: the next board comment would be 3.
    EXPECT_EQ(log->log().diagramCounter, 2);
}

TEST_F(LogWindowTest, CtrlClickMovesACommentAndPanel1CyclesTheColours) {
    log->show();
    ClickLog("こんにちは");
    EXPECT_EQ(Highlighted(), "[ 12 ]");
    ClickLog("ありがとう", Qt::ControlModifier);
    const std::string& text = log->log().logText;
    EXPECT_LT(text.find("[ 80 ]"), text.find("[ 30 ]"));
    EXPECT_LT(text.find("[ 45 ]"), text.find("[ 12 ]"));
    EXPECT_FALSE(log->selection().any());
    // Each entry still reads whole.
    ClickLog("右上");
    EXPECT_EQ(log->Panel1->text(), ToQString(" [碁盤2]   7手"));

    const auto memoColour = [this] { return log->Memo1->palette().color(QPalette::Base); };
    EXPECT_EQ(memoColour(), QColor(240, 255, 240));
    for (const QColor next : {QColor(240, 240, 255), QColor(255, 240, 240), QColor(255, 255, 255),
                              QColor(240, 255, 240)}) {
        QTest::mouseClick(log->Panel1, Qt::LeftButton, {}, QPoint(300, 10));
        EXPECT_EQ(memoColour(), next);
    }
}

TEST_F(LogWindowTest, HomeEditsTheSelectedCommentOnTheSecondaryBoard) {
    log->show();
    ClickLog("この手は");
    TForm6* board = window->Form6();
    QTimer::singleShot(0, board, [board] {
        // The comment comes with its header and without its diagram line; the diagram is the log's.
        EXPECT_EQ(LinesFromQString(board->Memo1->toPlainText()), "[ 30 ]：この手はどうですか");
        EXPECT_EQ(board->board().shownEntry, 2);
        board->Memo1->setPlainText(ToQString("[ 30 ]：この手は悪手でした"));
        QTest::mouseClick(board->Panel3, Qt::LeftButton);
    });
    QTest::keyClick(log->Memo1, Qt::Key_Home);
    const ChatLog& edited = log->log();
    EXPECT_NE(edited.logText.find("[ 30 ]：この手は悪手でした\r\n{ 碁盤 1 }\r\n" + kSep + "\r\n[ 45 ]"), std::string::npos);
    EXPECT_EQ(edited.logText.find("どうですか"), std::string::npos);
    EXPECT_EQ(StoredDiagram(edited, 1), "SZ[19];B[pd];W[dd]");
    EXPECT_TRUE(log->Memo1->toPlainText().contains(ToQString("悪手でした")));
}

TEST_F(LogWindowTest, EditingACommentAgainKeepsItsWholeDiagramWhereverTheLogBoardWasStepped) {
    log->show();
    ClickLog("右上");
    Navigate(70);  // back one: the log board shows the pass, one move before the end
    ASSERT_EQ(log->logBoard().board.shownEntry, 9);
    TForm6* board = window->Form6();
    int shown = 0;
    QTimer::singleShot(0, board, [board, &shown] {
        shown = board->board().shownEntry;
        board->Memo1->setPlainText(ToQString("[ 45 ]：ここは厳しかった"));
        QTest::mouseClick(board->Panel3, Qt::LeftButton);
    });
    QTest::keyClick(log->Memo1, Qt::Key_Home);
    // The secondary board shows the end of the sequence, and the text-only edit keeps every move.
    EXPECT_EQ(shown, 10);
    EXPECT_NE(log->log().logText.find("[ 45 ]：ここは厳しかった\r\n{ 碁盤 2 }"), std::string::npos);
    EXPECT_EQ(StoredDiagram(log->log(), 2), "SZ[19]AB[pd][dp]AW[dd];B[qj];W[jd];B[jj];W[cc];B[qq];W[tt];B[oc]");
}

TEST_F(LogWindowTest, APastedRecordLeavesTheOldLogBehind) {
    ASSERT_NE(log->log().logText.find("ありがとう"), std::string::npos);
    window->HtmlSaveDialog1 = [this](const std::string&) { return std::optional<std::string>(dir + "/page.html"); };
    QApplication::clipboard()->setText(QStringLiteral("(;GM[1]SZ[19];B[dd];W[pp])"));
    window->action(QStringLiteral("KVS"))->trigger();
    ASSERT_EQ(window->board().lineEnd, 2);
    EXPECT_FALSE(window->files().chatLogPresent);
    EXPECT_EQ(log->log().logText.find("ありがとう"), std::string::npos);
    EXPECT_EQ(log->log().diagramCounter, 0);
    EXPECT_TRUE(log->Memo1->toPlainText().isEmpty());

    // No page of the old log beside the HTML page.
    window->board().messages().SetText("(;GM[1]SZ[19];B[dd];W[pp])");
    window->action(QStringLiteral("KVT"))->trigger();
    EXPECT_TRUE(fs::exists(dir + "/page.html"));
    EXPECT_FALSE(fs::exists(dir + "/pageChat.html"));

    // A board comment written now starts a log of its own: nothing of the old one comes back in the page.
    TForm6* board = window->Form6();
    QTimer::singleShot(0, board, [board] {
        board->Memo1->setPlainText(QStringLiteral("new"));
        QTest::mouseClick(board->Panel3, Qt::LeftButton);
    });
    window->action(QStringLiteral("KVE"))->trigger();
    ASSERT_TRUE(window->files().chatLogPresent);
    window->action(QStringLiteral("KVT"))->trigger();
    const std::string page = Read(dir + "/pageChat.html");
    EXPECT_NE(page.find("new"), std::string::npos);
    EXPECT_EQ(page.find("ありがとう"), std::string::npos);
    EXPECT_EQ(page.find("DiaData=SZ[19];B[pd]"), std::string::npos);
}

TEST_F(LogWindowTest, CtrlTabTakesTurnsBetweenTheLogAndTheOtherWindows) {
    // While the log window is hidden, Ctrl+Tab shows nothing.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_FALSE(log->isVisible());
    EXPECT_EQ(QApplication::activeWindow(), window.get());

    QTest::mouseClick(window->Form2, Qt::LeftButton, {}, QPoint(150, 432));
    ASSERT_TRUE(log->isVisible());
    const int shown = window->board().currentIndex;
    QWidget* const others[] = {window.get(), window->Form2};
    for (QWidget* other : others) {
        SCOPED_TRACE(other == window.get() ? "main window" : "board window");
        other->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(other));
        QTest::keyClick(other, Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_TRUE(QTest::qWaitForWindowActive(log));
        // And back from the log window to the main window.
        QTest::keyClick(log->Memo1, Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    EXPECT_EQ(window->board().currentIndex, shown);  // the key moved nothing on the board
}

TEST_F(LogWindowTest, ARecordWithoutAChatFileHasNoSignAndAnEmptyLog) {
    fs::remove(dir + "/gameChat.dat");
    window->action(QStringLiteral("KFO"))->trigger();
    EXPECT_FALSE(window->files().chatLogPresent);
    EXPECT_TRUE(log->Memo1->toPlainText().isEmpty());
    QTest::mouseClick(window->Form2, Qt::LeftButton, {}, QPoint(150, 432));
    EXPECT_FALSE(log->isVisible());
    window->action(QStringLiteral("KFW"))->trigger();
    EXPECT_FALSE(fs::exists(dir + "/gameChat.dat"));
}

TEST_F(LogWindowTest, AChatFileWithLfLineEndsShowsItsLogAndIsKept) {
    std::string lf = kChatFile;
    for (std::size_t at = lf.find("\r\n"); at != std::string::npos; at = lf.find("\r\n", at)) lf.erase(at, 1);
    std::ofstream(dir + "/gameChat.dat", std::ios::binary) << lf;
    window->action(QStringLiteral("KFO"))->trigger();
    QTest::mouseClick(window->Form2, Qt::LeftButton, {}, QPoint(150, 432));
    ASSERT_TRUE(log->isVisible());
    EXPECT_TRUE(log->Memo1->toPlainText().contains(ToQString("右上が大事です")));
    ClickLog("ここは厳しい");
    EXPECT_EQ(Highlighted(), "[ 45 ]");
    EXPECT_EQ(log->Panel1->text(), ToQString(" [碁盤2]   7手"));
    window->action(QStringLiteral("KFW"))->trigger();
    EXPECT_EQ(Read(dir + "/gameChat.dat"), lf);
}

TEST(LogWindowSize, TheKeptSizeIsHeldToTheScreen) {
    const std::string dir = (fs::temp_directory_path() / "quorvel-log-size").string();
    fs::create_directories(dir);
    TitleRegistry titles(dir + "/titles");
    MemoryDialogs dialogs;
    OpenAnswers files;
    for (const int kept : {999999999, 7000500}) {
        TForm1 window(QStringLiteral(QUORVEL_PROGRAM_DIR), QStringList(), titles, &dialogs, &files);
        window.ShowAtStart();
        window.shell().chatWindowSize = kept;
        TForm10* log = window.Form10();
        log->show();
        const QRect screen = log->screen()->availableGeometry();
        ASSERT_GE(screen.width(), 700);
        ASSERT_GE(screen.height(), 500);
        if (kept == 7000500) {
            EXPECT_EQ(log->size(), QSize(700, 500));
        } else {
            EXPECT_LE(log->width(), screen.width());
            EXPECT_LE(log->height(), screen.height());
        }
    }
    fs::remove_all(dir);
}

}  // namespace
}  // namespace quorvel
