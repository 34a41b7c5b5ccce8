#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/gui/main_window.h"
#include "auxiliary/gui/secondary_board_window.h"
#include "platform/gui/qt_text.h"
#include "core/keys.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvel-main-XXXXXX";
        dir = ::mkdtemp(pattern);
        titles = std::make_unique<TitleRegistry>(dir + "/titles");
        record = dir + "/game.sgf";
        std::ofstream(record, std::ios::binary) << "(;GM[1]FF[4]SZ[19]PB[黒]PW[白];B[pd];W[dp](;B[pp];W[dd])(;B[dc]))";
        window = std::make_unique<TForm1>(QStringLiteral(QUORVEL_PROGRAM_DIR), QStringList(), *titles, &dialogs,
                                          &files);
        window->ShowAtStart();
    }
    void TearDown() override {
        window.reset();
        titles.reset();
        fs::remove_all(dir);
    }
    Engine& board() { return window->board(); }
    void Open() {
        files.answers = {record};
        window->action(QStringLiteral("KFO"))->trigger();
        ASSERT_EQ(board().lineEnd, 4);
    }
    // Files dropped on a window, as a file manager drops them.
    static void Drop(QWidget* target, const std::vector<std::string>& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const std::string& f : paths) urls << QUrl::fromLocalFile(QString::fromStdString(f));
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
    std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    // The game-information dialog a new record opens, closed with Cancel once it shows.
    void CancelNextDialog() {
        QTimer::singleShot(0, window.get(), [this] { window->Form5()->reject(); });
    }
    // The toolbar button of a command, clicked.
    void ClickButton(const char* code) {
        QAction* a = window->action(QString::fromLatin1(code));
        QWidget* button = window->ToolBar1->widgetForAction(a);
        if (!button) button = window->ToolBar2->widgetForAction(a);
        ASSERT_NE(button, nullptr) << code;
        ASSERT_TRUE(button->isVisible()) << code;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    std::string dir;
    std::string record;
    MemoryDialogs dialogs;
    AnsweredFileDialogs files;
    std::unique_ptr<TitleRegistry> titles;
    std::unique_ptr<TForm1> window;
};

TEST_F(MainWindowTest, MenusCarryTheCommandTableAndEveryCommandIsWired) {
    QAction* open = window->action(QStringLiteral("KFO"));
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->text(), ToQString(" 開く(&O)"));
    EXPECT_EQ(open->toolTip(), ToQString("開く"));
    EXPECT_TRUE(open->isEnabled());
    EXPECT_TRUE(window->action(QStringLiteral("KKH"))->isChecked());
    EXPECT_TRUE(window->action(QStringLiteral("KKW"))->isChecked());
    EXPECT_TRUE(window->action(QStringLiteral("KSB"))->isChecked());
    for (const char* code : {"KHA", "KFP", "KVT", "KVB", "KVM", "KKT", "KKB", "KVS", "KKD", "KKE", "KNR"}) {
        EXPECT_TRUE(window->action(QString::fromLatin1(code))->isEnabled()) << code;
    }
    EXPECT_EQ(window->Label1->text(), ToQString("保存名"));
    EXPECT_EQ(window->Edit2->text(), QStringLiteral("1"));
}

TEST_F(MainWindowTest, TextBoardsGoToTheTextWindowAndTheClipboardAndPasteBackAsANewRecord) {
    Open();
    board().GoToEnd();
    ClickButton("KKT");
    const std::string text = board().messages().Text();
    EXPECT_EQ(text.substr(0, 17), "Board <1> (1-4)\r\n");
    EXPECT_EQ(text.substr(text.size() - 25), "Text GoBoard (by Quorvel)");
    EXPECT_EQ(FromQString(QGuiApplication::clipboard()->text()), text);

    // Pasted back: the same moves, a record without a file.
    const std::string before = Read(record);
    window->action(QStringLiteral("KVS"))->trigger();
    EXPECT_EQ(board().lineEnd, 4);
    EXPECT_EQ(board().setupCount, 0);
    EXPECT_EQ(window->windowTitle(), QStringLiteral(" Quorvel [Quorvel]"));
    EXPECT_EQ(window->files().currentFileName, "NoTitle");
    EXPECT_EQ(board().messages().Text(), " MainMoves：4\r\n");
    files.answers = {std::nullopt};  // overwriting asks for a name, and is cancelled
    window->action(QStringLiteral("KFW"))->trigger();
    EXPECT_EQ(Read(record), before);

    // Nothing readable: a message, and the record stays.
    QGuiApplication::clipboard()->setText(QStringLiteral("hello"));
    window->action(QStringLiteral("KVS"))->trigger();
    EXPECT_EQ(board().messages().Text(), "No datas to read");
    EXPECT_EQ(board().lineEnd, 4);
    QGuiApplication::clipboard()->clear();
    window->action(QStringLiteral("KVS"))->trigger();
    EXPECT_EQ(board().messages().Text(), "Nothing in Clipbord");

    // A record in characters Shift-JIS lacks shows them in the text window.
    const QString foreign = QString::fromStdU32String(U"(;GM[1]FF[4]CA[UTF-8]SZ[19]PB[山田太郎]PW[이세돌] ;B[pd]C[良い手 좋아];W[dp])");
    const QString names = QString::fromStdU32String(U"● 山田太郎 | ○ 이세돌");
    const QString comment = QString::fromStdU32String(U"良い手 좋아");
    QGuiApplication::clipboard()->setText(foreign);
    window->action(QStringLiteral("KVS"))->trigger();
    EXPECT_TRUE(window->Form3->memo()->toPlainText().startsWith(names));
    board().StepForward();
    EXPECT_TRUE(window->Form3->memo()->toPlainText().contains(comment));
}

// Pixels near a point of the secondary board's picture that pass `ink`.
template <typename Ink>
int InkAround(const QImage& img, QPoint centre, Ink ink) {
    int n = 0;
    for (int y = centre.y() - 8; y <= centre.y() + 8; ++y) {
        for (int x = centre.x() - 8; x <= centre.x() + 8; ++x) n += ink(img.pixelColor(x, y)) ? 1 : 0;
    }
    return n;
}

TEST_F(MainWindowTest, MarksChosenOnThePaletteArePlacedOnTheSecondaryBoardAndKeptInTheBoardComment) {
    Open();
    board().GoToEnd();
    TForm6* sub = window->Form6();
    // Points of the 20-pixel secondary board: column and row from 1, at k * 20 - 9.
    const auto at = [](int col, int row) { return QPoint(col * 20 - 9, row * 20 - 9); };
    const auto white = [](const QColor& c) { return c.lightness() > 130; };
    const auto blue = [](const QColor& c) { return c.blue() > 200 && c.red() < 90 && c.green() < 90; };
    bool placed = false;
    QTimer::singleShot(0, window.get(), [&] {
        QTest::mouseClick(sub->Image4, Qt::LeftButton);
        TForm15* palette = window->Form15();
        ASSERT_TRUE(palette->isVisible());
        EXPECT_EQ(palette->pos(), QPoint(250, 0));
        EXPECT_EQ(sub->y(), 50);
        // The triangle, clicked through the window system as a user clicks it: the modal board must leave
        // the palette usable.
        QTest::mouseClick(palette->windowHandle(), Qt::LeftButton, {}, palette->ToolButton(5)->geometry().center());
        EXPECT_EQ(palette->selectedMark(), 5);
        QTest::mouseClick(sub, Qt::LeftButton, {}, at(3, 3));  // a black setup stone on C17, with the mark
        QTest::keyPress(sub, Qt::Key_Space);
        QTest::mouseClick(sub, Qt::LeftButton, {}, at(5, 5));  // the space bar held: only the mark, on E15
        QTest::mouseClick(sub, Qt::LeftButton, {}, at(16, 4));  // on a stone it does nothing
        QTest::keyRelease(sub, Qt::Key_Space);
        const QImage img = sub->picture();
        // Light ink on the black stone, beyond what Q16, a black stone without a mark, shows.
        EXPECT_GT(InkAround(img, at(3, 3), white), InkAround(img, at(16, 4), white) + 8);
        EXPECT_GT(InkAround(img, at(5, 5), blue), 8);    // blue on the empty point
        EXPECT_EQ(InkAround(img, at(7, 7), blue), 0);
        placed = sub->board().subBoard[3 * 21 + 3] == kBlack;

        // Move input hides the palette, and the board goes back under the board window's top.
        QTest::mouseClick(sub->Image3, Qt::LeftButton);
        EXPECT_FALSE(palette->isVisible());
        EXPECT_EQ(sub->y(), std::max(0, window->Form2->y() - 60));
        sub->Memo1->setPlainText(QStringLiteral("marks"));
        QTest::mouseClick(sub->Panel3, Qt::LeftButton);
    });
    window->action(QStringLiteral("KVE"))->trigger();
    EXPECT_TRUE(placed);
    EXPECT_EQ(sub->chatLog().diagramStore, "{1}<<DiaData=SZ[19]AB[pd][pp][cc]AW[dd][dp]\r\nTR[cc][ee]>>\r\n");
    // The palette is the board window's again, hidden as it was.
    EXPECT_FALSE(window->Form15()->isVisible());
    EXPECT_EQ(window->Form15()->parentWidget(), nullptr);
}

TEST_F(MainWindowTest, ARangePickedOnTheSecondaryBoardBecomesARangeTextBoard) {
    Open();
    board().GoToEnd();
    dialogs.nextAnswer = Answer::Yes;
    QTimer::singleShot(0, window.get(), [this] {
        // The corner A19 and the far point E15, on the 20-pixel lines of the secondary board.
        QTest::mouseClick(window->Form6(), Qt::LeftButton, Qt::NoModifier, QPoint(11, 11));
        QTest::mouseClick(window->Form6(), Qt::LeftButton, Qt::NoModifier, QPoint(91, 91));
    });
    window->action(QStringLiteral("KKB"))->trigger();
    EXPECT_EQ(board().messages().Text(),
              "┌┬┬┬┬\r\n├┼┼┼┼\r\n├┼┼┼┼\r\n├┼┼４┼\r\n├┼┼┼┼\r\n\r\nText GoBoard (by Quorvel)");
    EXPECT_EQ(FromQString(QGuiApplication::clipboard()->text()), board().messages().Text());
}

TEST_F(MainWindowTest, OpenThroughMenuAndToolbar) {
    Open();
    EXPECT_EQ(window->windowTitle(), QString::fromStdString(" Quorvel  " + record));
    EXPECT_EQ(board().info.blackPlayer, "黒");
    EXPECT_TRUE(window->ZarnItem[0]->isVisible());
    EXPECT_EQ(window->ZarnItem[0]->text(), QString::fromStdString("1 : " + record));

    board().GoToEnd();
    files.answers = {record};
    ClickButton("KFO");
    EXPECT_EQ(board().currentIndex, 0);  // a fresh load shows the start
}

TEST_F(MainWindowTest, HintsResetAndAddThroughMenuAndToolbar) {
    Open();
    window->action(QStringLiteral("KKH"))->trigger();
    EXPECT_FALSE(board().hintsShown);
    EXPECT_FALSE(window->action(QStringLiteral("KKH"))->isChecked());
    ClickButton("KKH");
    EXPECT_TRUE(board().hintsShown);

    board().GoToEnd();
    window->action(QStringLiteral("KKR"))->trigger();
    EXPECT_EQ(board().currentIndex, 0);
    board().GoToEnd();
    ClickButton("KKR");
    EXPECT_EQ(board().currentIndex, 0);

    // A trial move after move 1, then "ADD": a new variation and the record in the text window.
    board().StepForward();
    const PointCode qq = MakePoint(17, 17);
    ASSERT_TRUE(board().IsPlayable(qq));
    board().PlayColour(board().ColourToMove());
    board().moveLimit = board().currentIndex;
    ClickButton("KKA");
    EXPECT_EQ(board().branchCount, 2);
    EXPECT_EQ(window->Form3->Text().compare(0, 2, "(;"), 0);

    window->action(QStringLiteral("KKS"))->trigger();
    EXPECT_EQ(window->Form3->Text().compare(0, 15, "(;GM[1]FF[1]SZ["), 0);
    window->Form3->SetText("");
    ClickButton("KKS");
    EXPECT_EQ(window->Form3->Text().compare(0, 15, "(;GM[1]FF[1]SZ["), 0);

    // ADD through the menu: another trial move becomes another variation.
    board().ReturnToMainLine();
    board().StepForward();
    const PointCode cc = MakePoint(3, 3);
    ASSERT_TRUE(board().IsPlayable(cc));
    board().PlayColour(board().ColourToMove());
    board().moveLimit = board().currentIndex;
    window->action(QStringLiteral("KKA"))->trigger();
    EXPECT_EQ(board().branchCount, 3);

    CancelNextDialog();
    window->action(QStringLiteral("KFN"))->trigger();
    EXPECT_EQ(board().lineEnd, 0);
    EXPECT_EQ(board().branchCount, 0);
}

TEST_F(MainWindowTest, SaveAsAndOverwriteThroughTheToolbar) {
    Open();
    files.answers = {dir + "/copy"};
    ClickButton("KFS");
    EXPECT_TRUE(fs::exists(dir + "/copy.sgf"));
    EXPECT_EQ(window->files().currentFileName, dir + "/copy.sgf");
    fs::remove(dir + "/copy.sgf");
    ClickButton("KFW");
    EXPECT_TRUE(fs::exists(dir + "/copy.sgf"));
    CancelNextDialog();
    ClickButton("KFN");
    EXPECT_EQ(board().lineEnd, 0);
    EXPECT_EQ(window->files().currentFileName, "NoTitle");
}

TEST_F(MainWindowTest, ADroppedRecordWithAShiftJisNameOpens) {
    // "棋譜.sgf" as Shift-JIS bytes, sent percent-encoded as file managers send a name.
    const std::string sjis = dir + "/\x8A\xFB\x95\x88.sgf";
    fs::copy_file(record, sjis);
    QMimeData data;
    data.setUrls({QUrl::fromEncoded(QByteArray("file://") + QByteArray::fromStdString(sjis).toPercentEncoding("/"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->Form2, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->Form2, &event);
    EXPECT_EQ(board().lineEnd, 4);
    EXPECT_EQ(window->files().currentFileName, sjis);
    EXPECT_EQ(window->files().recentFiles.Slot(1), sjis);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(MainWindowTest, OverwritingRightAfterMakeKeepsTheRecordFile) {
    Open();
    const std::string before = Read(record);
    window->action(QStringLiteral("KKM"))->trigger();
    ASSERT_FALSE(board().replayMode);
    ClickButton("KFW");
    EXPECT_EQ(Read(record), before);
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_EQ(dialogs.shown.back(), "保存する棋譜がありません。");
    EXPECT_EQ(window->Form3->Text(), "");
}

TEST_F(MainWindowTest, FileCommandsThroughTheWindows) {
    // Overwriting a record without a name saves it under a new one, with ".sgf" added to a bare name.
    files.answers = {dir + "/fresh"};
    window->action(QStringLiteral("KFW"))->trigger();
    EXPECT_TRUE(fs::exists(dir + "/fresh.sgf"));
    EXPECT_EQ(window->windowTitle(), QString::fromStdString(" Quorvel  " + dir + "/fresh.sgf"));

    // SGF the user put into the text window is saved as it stands.
    window->Form3->SetText("(;GM[1]SZ[9]C[hand made])");
    files.answers = {dir + "/hand.sgf"};
    window->action(QStringLiteral("KFS"))->trigger();
    std::ifstream in(dir + "/hand.sgf", std::ios::binary);
    std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(saved, "(;GM[1]SZ[9]C[hand made])\r\n");

    // A record another running copy shows is not overwritten.
    TitleRegistry otherCopy(dir + "/titles");
    otherCopy.Claim(" Quorvel  " + record);
    window->files().OpenPath(record);
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral(" @")));
    window->action(QStringLiteral("KFW"))->trigger();
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_EQ(dialogs.shown.back(), "同名のファイルが既に開かれているので、上書きできません。");
}

TEST_F(MainWindowTest, SettingsSwitchesAndTheTurnedBoard) {
    Open();
    window->action(QStringLiteral("KSS"))->trigger();
    EXPECT_TRUE(board().settings.stoneSound);
    window->action(QStringLiteral("KSL"))->trigger();
    EXPECT_TRUE(board().settings.zarnStyle);
    window->action(QStringLiteral("KSB"))->trigger();
    EXPECT_FALSE(window->textBoardBlackFirst());
    window->SwitchWindowSize();  // the coordinate switch is on the second row
    ClickButton("KSH");
    EXPECT_TRUE(board().settings.showXY);
    EXPECT_TRUE(window->action(QStringLiteral("KSH"))->isChecked());
    // Switching the hints on switches the coordinates off, menu check included.
    window->action(QStringLiteral("KKH"))->trigger();
    window->action(QStringLiteral("KKH"))->trigger();
    EXPECT_FALSE(board().settings.showXY);
    EXPECT_FALSE(window->action(QStringLiteral("KSH"))->isChecked());

    board().StepForward();  // B[pd] on the upper right
    window->action(QStringLiteral("KVG"))->trigger();
    EXPECT_EQ(board().board[MakePoint(4, 16)], kBlack);  // now on the lower left
    EXPECT_EQ(board().currentIndex, 1);
}

TEST_F(MainWindowTest, SpeedButtonsStopAtNineAndOneSecond) {
    window->SwitchWindowSize();  // the autoplay panel is on the second row
    ASSERT_TRUE(window->Panel2->isVisible());
    for (int i = 0; i < 10; ++i) QTest::mouseClick(window->SpeedButton4, Qt::LeftButton);
    EXPECT_EQ(board().autoplayInterval, 9000);
    EXPECT_EQ(window->Edit2->text(), QStringLiteral("9"));
    EXPECT_EQ(window->Form2->timer().interval(), 9000);
    QTest::mouseClick(window->SpeedButton4, Qt::LeftButton);
    EXPECT_EQ(board().autoplayInterval, 9000);
    for (int i = 0; i < 10; ++i) QTest::mouseClick(window->SpeedButton5, Qt::LeftButton);
    EXPECT_EQ(board().autoplayInterval, 1000);
    EXPECT_EQ(window->Edit2->text(), QStringLiteral("1"));
}

TEST_F(MainWindowTest, AutoplayDisablesTheNavigationCommandsUntilItStops) {
    Open();
    window->SwitchWindowSize();
    QTest::mouseClick(window->SpeedButton3, Qt::LeftButton);
    EXPECT_EQ(board().autoplayState, 1);
    EXPECT_FALSE(window->ToolBar1->isEnabled());
    // Guarded commands do nothing meanwhile.
    window->action(QStringLiteral("KKR"))->trigger();
    window->Form2->Timer1Timer();
    EXPECT_EQ(board().currentIndex, 1);
    QTest::mouseClick(window->SpeedButton2, Qt::LeftButton);
    EXPECT_EQ(board().autoplayState, 0);
    EXPECT_TRUE(window->ToolBar1->isEnabled());
    QTest::mouseClick(window->SpeedButton1, Qt::LeftButton);
    EXPECT_EQ(board().autoplayState, 2);
}

TEST_F(MainWindowTest, KeysGoToTheBoardButCtrlKeysDoNot) {
    Open();
    QTest::keyClick(window.get(), Qt::Key_End);
    EXPECT_EQ(board().currentIndex, 4);
    QTest::keyClick(window.get(), Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(board().currentIndex, 4);
    QTest::keyClick(window.get(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(board().currentIndex, 4);
    QTest::keyClick(window.get(), Qt::Key_Left);
    EXPECT_EQ(board().currentIndex, 3);
    QTest::keyClick(window.get(), Qt::Key_Home);
    QTest::keyClick(window.get(), Qt::Key_Right);
    QTest::keyClick(window.get(), Qt::Key_Right);
    QTest::keyClick(window.get(), Qt::Key_B);  // the variation's letter
    EXPECT_EQ(board().currentBranch, 1);

    // Keys typed into the save-name field stay there; keys on the toolbars go to the board.
    QTest::keyClicks(window->Edit1, QStringLiteral("abc"));
    EXPECT_EQ(window->Edit1->text(), QStringLiteral("abc"));
    EXPECT_EQ(board().currentBranch, 1);
    const int before = board().currentIndex;
    QTest::keyClick(window->ToolBar1, Qt::Key_Left);
    EXPECT_EQ(board().currentIndex, before - 1);
}

TEST_F(MainWindowTest, DroppedRecordsOpenOnlyWhenTheFirstFileIsSgf) {
    const std::string upper = dir + "/GAME.SGF";
    fs::copy_file(record, upper);
    const std::string text = dir + "/game.txt";
    fs::copy_file(record, text);
    // A folder named like a record does not make the file in it one.
    fs::create_directories(dir + "/old.sgf");
    const std::string inFolder = dir + "/old.sgf/notes.txt";
    fs::copy_file(record, inFolder);
    for (QWidget* target : {static_cast<QWidget*>(window.get()), static_cast<QWidget*>(window->Form2)}) {
        Drop(target, {text});
        Drop(target, {inFolder});
        Drop(target, {text, record});
        EXPECT_EQ(board().lineEnd, 0);
    }
    Drop(window->Form2, {upper, text});
    EXPECT_EQ(board().lineEnd, 4);
    EXPECT_EQ(window->files().currentFileName, upper);
    Drop(window.get(), {record});
    EXPECT_EQ(window->files().currentFileName, record);
}

TEST_F(MainWindowTest, TheBoardAndADockedTextWindowFollowTheMainWindow) {
    const QPoint board0 = window->Form2->pos();
    EXPECT_EQ(board0.y(), window->frameGeometry().bottom() + 1);
    window->move(window->x() + 30, window->y() + 20);
    window->Timer1Timer();
    EXPECT_EQ(window->Form2->pos(), board0 + QPoint(30, 20));
    EXPECT_EQ(window->Form3->x(), window->x() - 1);
    // An undocked text window stays where the user put it.
    window->Form3->move(5, 500);
    window->move(window->x() + 10, window->y());
    window->Timer1Timer();
    EXPECT_EQ(window->Form3->pos(), QPoint(5, 500));
    EXPECT_EQ(window->Form2->x(), window->x());
}

// Pixels of the window as it is painted, children (the memos) included.
QImage Painted(QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); }

// Whether the picture file shows at (x, y) of the painted window, compared over its first `columns`
// columns (all of them by default), where nothing is written on it.
bool ShowsPicture(const QImage& painted, const char* file, int x, int y, int columns = 0) {
    QImage picture = QImage(QStringLiteral(QUORVEL_PROGRAM_DIR "/bmp/") + QLatin1String(file))
                         .convertToFormat(QImage::Format_RGB32);
    if (columns > 0) picture = picture.copy(0, 0, columns, picture.height());
    if (picture.isNull() || x + picture.width() > painted.width()) return false;
    return painted.copy(x, y, picture.width(), picture.height()) == picture;
}

// Pixels darker than grey in a rectangle: text drawn on a light ground.
int DarkPixels(const QImage& img, const QRect& area) {
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) dark += qGray(img.pixel(x, y)) < 100;
    }
    return dark;
}

TEST_F(MainWindowTest, TheWindowSwitchShowsTheInformationPanelOnTheBoardWindow) {
    Open();
    const int compact = window->height();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_FALSE(window->ToolBar2->isVisible());
    // The tool column fits a board window 3 pixels narrower than the compact main window.
    EXPECT_EQ(window->Form2->width(), 522);
    QImage shown = Painted(window->Form2);
    EXPECT_TRUE(ShowsPicture(shown, "bar.bmp", 404, 0, 3));
    EXPECT_FALSE(ShowsPicture(shown, "kuroBB.bmp", 473, 16));

    QTest::mouseClick(window->Image1, Qt::LeftButton);
    EXPECT_TRUE(window->ToolBar2->isVisible());
    EXPECT_EQ(window->width(), 575);
    EXPECT_EQ(window->height(), compact + 27);
    EXPECT_EQ(window->Form2->geometry(), QRect(window->x(), window->frameGeometry().bottom() + 1, 572, 443));
    // The docked text window follows under the board and reaches the bottom of the screen.
    EXPECT_EQ(window->Form3->geometry(),
              QRect(window->x() - 1, window->Form2->geometry().bottom() + 1, 573,
                    screen.bottom() - window->Form2->geometry().bottom()));
    shown = Painted(window->Form2);
    EXPECT_FALSE(ShowsPicture(shown, "bar.bmp", 404, 0, 3));
    EXPECT_TRUE(ShowsPicture(shown, "kuroBB.bmp", 473, 16));
    EXPECT_TRUE(ShowsPicture(shown, "siroBB.bmp", 473, 90));
    // The players' names are written in their memos: black under the black bowl, white under the white.
    EXPECT_GT(DarkPixels(shown, QRect(412, 45, 140, 22)), 10);
    EXPECT_GT(DarkPixels(shown, QRect(412, 119, 140, 22)), 10);
    EXPECT_GT(DarkPixels(shown, QRect(413, 210, 130, 140)), 10);  // the game information

    window->action(QStringLiteral("KVG"))->trigger();  // any redraw keeps the panel
    EXPECT_TRUE(ShowsPicture(Painted(window->Form2), "kuroBB.bmp", 473, 16));

    QTest::mouseClick(window->Image1, Qt::LeftButton);
    EXPECT_EQ(window->width(), 525);
    EXPECT_FALSE(window->ToolBar2->isVisible());
    EXPECT_EQ(window->Form2->width(), 522);
    // Every button of the first row fits beside the save name, none behind an overflow arrow.
    QApplication::processEvents();
    for (QAction* a : window->ToolBar1->actions()) {
        const QWidget* button = window->ToolBar1->widgetForAction(a);
        if (button) {
            EXPECT_TRUE(button->isVisible()) << a->objectName().toStdString();
        }
    }
    EXPECT_TRUE(window->Image1->isVisible());
    shown = Painted(window->Form2);
    EXPECT_TRUE(ShowsPicture(shown, "bar.bmp", 404, 0, 3));
    EXPECT_EQ(DarkPixels(shown, QRect(460, 45, 60, 22)), 0);  // no memo right of the tool column
}

TEST_F(MainWindowTest, ARecordOnTheCommandLineOpensInFullModeWithTheTextWindowToTheScreensBottom) {
    window.reset();
    window = std::make_unique<TForm1>(QStringLiteral(QUORVEL_PROGRAM_DIR), QStringList{QString::fromStdString(record)},
                                      *titles, &dialogs, &files);
    EXPECT_EQ(window->width(), 575);
    window->ShowAtStart();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return board().lineEnd == 4; }));
    EXPECT_FALSE(window->compactMode());
    EXPECT_EQ(window->Form2->width(), 572);
    EXPECT_EQ(window->Form3->geometry().top(), window->Form2->geometry().bottom() + 1);
    EXPECT_EQ(window->Form3->geometry().bottom(), QGuiApplication::primaryScreen()->availableGeometry().bottom());
    const QImage shown = Painted(window->Form2);
    EXPECT_TRUE(ShowsPicture(shown, "kuroBB.bmp", 473, 16));
    EXPECT_GT(DarkPixels(shown, QRect(412, 45, 140, 22)), 10);
}

TEST_F(MainWindowTest, ADropAsksAboutUnsavedChangesFirstOnEitherWindow) {
    const std::string other = dir + "/other.sgf";
    std::ofstream(other, std::ios::binary) << "(;GM[1]SZ[9];B[ee])";
    window->files().endingAsk = true;
    int saves = 0;
    for (QWidget* target : {static_cast<QWidget*>(window.get()), static_cast<QWidget*>(window->Form2)}) {
        for (const Answer answer : {Answer::Cancel, Answer::No, Answer::Yes}) {
            Open();
            board().recordModified = true;
            dialogs.nextAnswer = answer;
            const std::string saved = dir + "/saved" + std::to_string(++saves) + ".sgf";
            files.answers = {saved};
            const std::size_t asked = dialogs.asked.size();
            Drop(target, {other});
            ASSERT_EQ(dialogs.asked.size(), asked + 1);
            EXPECT_EQ(dialogs.asked.back(), " 変更が加えられています。変更を保存しますか？");
            if (answer == Answer::Cancel) {
                EXPECT_EQ(window->files().currentFileName, record);
                EXPECT_EQ(board().lineEnd, 4);
                EXPECT_TRUE(board().recordModified);
            } else {
                EXPECT_EQ(window->files().currentFileName, other);
                EXPECT_EQ(board().boardSize, 9);
            }
            // Yes saves the shown record before the dropped one replaces it; the others save nothing.
            EXPECT_EQ(fs::exists(saved), answer == Answer::Yes);
            if (answer == Answer::Yes) {
                EXPECT_NE(Read(saved).find(";B[pd];W[dp]"), std::string::npos);
            }
        }
    }
}

TEST_F(MainWindowTest, OpeningAFileWithoutARecordKeepsTheNameSoOverwriteSavesTheShownRecord) {
    Open();
    const std::string notes = dir + "/notes.sgf";
    std::ofstream(notes, std::ios::binary) << "just some notes";
    const QString title = window->windowTitle();
    window->action(QStringLiteral("KVG"))->trigger();
    board().recordModified = true;
    files.answers = {notes};
    window->action(QStringLiteral("KFO"))->trigger();
    EXPECT_EQ(window->windowTitle(), title);
    EXPECT_FALSE(window->ZarnItem[1]->isVisible());  // still the one recent file
    EXPECT_TRUE(board().recordModified);
    EXPECT_EQ(window->Form3->Text(), "No data to read");

    window->action(QStringLiteral("KFW"))->trigger();
    EXPECT_EQ(Read(notes), "just some notes");
    EXPECT_NE(Read(record).find(";B[dd];W[pp]"), std::string::npos);  // the turned record
}

TEST_F(MainWindowTest, ATurnedRecordSavesAndReadsBackAsShown) {
    const std::string setup = dir + "/setup.sgf";
    std::ofstream(setup, std::ios::binary)
        << "(;GM[1]FF[4]SZ[19]AS[3,1]AB[dd]AW[pq]TR[dd]LB[qc:A];B[qd];W[cc];B[qq](;W[jj])(;W[kk]))";
    files.answers = {setup};
    window->action(QStringLiteral("KFO"))->trigger();
    ASSERT_EQ(board().baseIndex, 3);  // two setup stones and the move AS keeps in the background

    window->action(QStringLiteral("KVG"))->trigger();
    files.answers = {dir + "/turned.sgf"};
    window->action(QStringLiteral("KFS"))->trigger();
    files.answers = {dir + "/turned.sgf"};
    window->action(QStringLiteral("KFO"))->trigger();
    ASSERT_EQ(window->files().currentFileName, dir + "/turned.sgf");

    // dd and pq turn to pp and dc, qd (hidden by AS) to cp; the marks go along.
    const auto at = [&](const char* letters) { return SgfLettersToPoint(letters[0], letters[1], 19); };
    EXPECT_EQ(board().baseIndex, 3);
    EXPECT_EQ(board().board[at("pp")], kBlack);
    EXPECT_EQ(board().board[at("dc")], kWhite);
    EXPECT_EQ(board().board[at("cp")], kBlack);
    EXPECT_EQ(board().board[at("dd")], kEmpty);
    EXPECT_EQ(board().markGrid[at("pp")] % 1000, 5);
    EXPECT_EQ(board().markGrid[at("cq")] % 1000, 9);
    board().StepForward();
    EXPECT_EQ(board().board[at("qq")], kWhite);  // cc
    // The stones in the background are painted where they now stand, off their centres' numbers.
    const QImage shown = Painted(window->Form2);
    const BoardGeometry& g = *board().geometry;
    EXPECT_LT(qGray(shown.pixel(g.CentreX(at("cp")) + 3, g.CentreY(at("cp")) + 3)), 80);
    EXPECT_GT(qGray(shown.pixel(g.CentreX(at("dc")) - 3, g.CentreY(at("dc")) - 3)), 220);
    EXPECT_LT(qGray(shown.pixel(g.CentreX(at("qd")) + 3, g.CentreY(at("qd")) + 3)), 220);  // no stone left
}

TEST_F(MainWindowTest, ActivatingTheBoardWindowBringsTheMainWindowForwardFirst) {
    std::vector<QObject*> raised;
    struct Recorder : QObject {
        std::vector<QObject*>* raised = nullptr;
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::ZOrderChange) raised->push_back(watched);
            return false;
        }
    } recorder;
    recorder.raised = &raised;
    window->installEventFilter(&recorder);
    window->Form2->installEventFilter(&recorder);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    raised.clear();
    window->Form2->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window->Form2));
    ASSERT_GE(raised.size(), 2u);
    EXPECT_EQ(raised[raised.size() - 2], window.get());
    EXPECT_EQ(raised.back(), window->Form2);
}

TEST_F(MainWindowTest, ThePointerOverTheToolbarsClearsTheCoordinateReadout) {
    Open();
    window->action(QStringLiteral("KSH"))->trigger();
    ASSERT_TRUE(board().settings.showXY);
    const QColor readoutFill(255, 255, 224);
    const QPoint over(191, 191);  // the point jj
    QTest::mouseMove(window->Form2, over);
    EXPECT_EQ(window->Form2->picture().pixelColor(over + QPoint(9, 9)), readoutFill);

    QTest::mouseMove(window->ToolBar1, QPoint(window->ToolBar1->width() - 5, 5));
    EXPECT_TRUE(window->Form2->coordinateReadoutCleared());
    EXPECT_NE(window->Form2->picture().pixelColor(over + QPoint(9, 9)), readoutFill);

    QTest::mouseMove(window->Form2, over);
    EXPECT_EQ(window->Form2->picture().pixelColor(over + QPoint(9, 9)), readoutFill);
}

TEST(CommandLine, OneArgumentTwoJoinedMoreTheFirst) {
    EXPECT_EQ(TForm1::RecordPathOf({}), QString());
    EXPECT_EQ(TForm1::RecordPathOf({QStringLiteral("a.sgf")}), QStringLiteral("a.sgf"));
    EXPECT_EQ(TForm1::RecordPathOf({QStringLiteral("my"), QStringLiteral("game.sgf")}), QStringLiteral("my game.sgf"));
    EXPECT_EQ(TForm1::RecordPathOf({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}), QStringLiteral("a"));
}

TEST_F(MainWindowTest, ACommentWrittenFromEditCIsShownAndSaved) {
    Open();
    board().StepForward();
    window->Form2->Redraw();
    bool commentRole = false;
    QTimer::singleShot(0, window.get(), [this, &commentRole] {
        commentRole = window->Form5()->Memo1->isVisible() && board().commentDialogOpen;
        window->Form5()->Memo1->setPlainText(LinesToQString("良い手\r\nです"));
        QTest::mouseClick(window->Form5()->Panel1, Qt::LeftButton);
    });
    QTest::mouseClick(window->Form2, Qt::LeftButton, Qt::NoModifier, QPoint(430, 50));  // "EditC"
    EXPECT_TRUE(commentRole);
    EXPECT_FALSE(board().commentDialogOpen);
    EXPECT_EQ(window->Form3->Text(), "良い手\r\nです");
    ClickButton("KFW");
    EXPECT_NE(Read(record).find(";B[pd]C[良い手___です]"), std::string::npos) << Read(record);

    // Cancel changes nothing; the menu item opens the same dialog.
    QTimer::singleShot(0, window.get(), [this] {
        window->Form5()->Memo1->setPlainText(QStringLiteral("other"));
        window->Form5()->reject();
    });
    window->action(QStringLiteral("KKE"))->trigger();
    EXPECT_EQ(window->Form3->Text(), "良い手\r\nです");
}

TEST_F(MainWindowTest, TheDeleteItemDeletesOnTheSecondaryBoard) {
    Open();
    QTimer::singleShot(0, window.get(), [this] {
        const PointCode last = board().lineMoves[board().lineEnd];
        QTest::mouseClick(window->Form6(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(board().geometry->CentreX(last), board().geometry->CentreY(last)));
        QTest::mouseClick(window->Form6()->Panel1, Qt::LeftButton);
    });
    window->action(QStringLiteral("KKD"))->trigger();
    EXPECT_EQ(board().lineEnd, 3);
    EXPECT_EQ(board().currentIndex, 0);
    EXPECT_TRUE(board().recordModified);
}

TEST_F(MainWindowTest, ModeItemsAndCaptionFollowTheBoardWindowsMode) {
    Open();
    const QString title = window->windowTitle();
    const QString suffix = ToQString(" 　   『 棋譜データ作成 』");
    window->action(QStringLiteral("KKM"))->trigger();
    ASSERT_FALSE(board().replayMode);
    EXPECT_TRUE(window->action(QStringLiteral("KKM"))->isChecked());
    EXPECT_FALSE(window->action(QStringLiteral("KKW"))->isChecked());
    EXPECT_EQ(window->windowTitle(), title + suffix);
    EXPECT_TRUE(board().memos.blackName.empty());
    window->action(QStringLiteral("KKP"))->trigger();
    EXPECT_EQ(board().currentIndex, 1);
    EXPECT_EQ(window->Form3->memo()->toPlainText(), ToQString(" 黒 が パ ス !"));
    // The board window's own "Show" bar: the main window follows.
    QTest::mouseClick(window->Form2, Qt::LeftButton, Qt::NoModifier, QPoint(428, 388));
    EXPECT_TRUE(board().replayMode);
    EXPECT_TRUE(window->action(QStringLiteral("KKW"))->isChecked());
    EXPECT_EQ(window->windowTitle(), title);
    // A new record starts in creation mode.
    CancelNextDialog();
    window->action(QStringLiteral("KFN"))->trigger();
    EXPECT_FALSE(board().replayMode);
    EXPECT_TRUE(window->windowTitle().endsWith(suffix));
}

}  // namespace
}  // namespace quorvel
