#include <gtest/gtest.h>

#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/gui/main_window.h"
#include "platform/gui/qt_text.h"
#include "core/keys.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

class AnsweredFileDialogs : public FileDialogs {
public:
    std::optional<std::string> RunOpenDialog(const std::string&) override { return Next(); }
    std::optional<std::string> RunSaveDialog(const std::string&) override { return Next(); }
    std::optional<std::string> Next() {
        if (answers.empty()) return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
    std::deque<std::optional<std::string>> answers;
};

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

TEST_F(MainWindowTest, MenusCarryTheCommandTableAndUnbuiltCommandsAreDisabled) {
    QAction* open = window->action(QStringLiteral("KFO"));
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->text(), ToQString(" 開く(&O)"));
    EXPECT_EQ(open->toolTip(), ToQString("開く"));
    EXPECT_TRUE(open->isEnabled());
    EXPECT_TRUE(window->action(QStringLiteral("KKH"))->isChecked());
    EXPECT_TRUE(window->action(QStringLiteral("KKW"))->isChecked());
    EXPECT_TRUE(window->action(QStringLiteral("KSB"))->isChecked());
    // Printing, the comment dialog, web loading and the like are not built: visible, disabled.
    for (const char* code : {"KFP", "KKE", "KKD", "KVK", "KHA", "KKM"}) {
        EXPECT_FALSE(window->action(QString::fromLatin1(code))->isEnabled()) << code;
    }
    EXPECT_EQ(window->Label1->text(), ToQString("保存名"));
    EXPECT_EQ(window->Edit2->text(), QStringLiteral("1"));
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
    ClickButton("KFN");
    EXPECT_EQ(board().lineEnd, 0);
    EXPECT_EQ(window->files().currentFileName, "NoTitle");
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
    const auto drop = [](QWidget* target, const std::vector<std::string>& files) {
        QMimeData data;
        QList<QUrl> urls;
        for (const std::string& f : files) urls << QUrl::fromLocalFile(QString::fromStdString(f));
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    };
    for (QWidget* target : {static_cast<QWidget*>(window.get()), static_cast<QWidget*>(window->Form2)}) {
        drop(target, {text});
        drop(target, {inFolder});
        drop(target, {text, record});
        EXPECT_EQ(board().lineEnd, 0);
    }
    drop(window->Form2, {upper, text});
    EXPECT_EQ(board().lineEnd, 4);
    EXPECT_EQ(window->files().currentFileName, upper);
    drop(window.get(), {record});
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

TEST_F(MainWindowTest, TheWindowSwitchShowsOneOrBothToolbarRows) {
    const int compact = window->height();
    EXPECT_FALSE(window->ToolBar2->isVisible());
    window->SwitchWindowSize();
    EXPECT_TRUE(window->ToolBar2->isVisible());
    EXPECT_EQ(window->width(), 575);
    EXPECT_EQ(window->height(), compact + 27);
    QTest::mouseClick(window->Image1, Qt::LeftButton);
    EXPECT_EQ(window->width(), 525);
    EXPECT_FALSE(window->ToolBar2->isVisible());
}

TEST(CommandLine, OneArgumentTwoJoinedMoreTheFirst) {
    EXPECT_EQ(TForm1::RecordPathOf({}), QString());
    EXPECT_EQ(TForm1::RecordPathOf({QStringLiteral("a.sgf")}), QStringLiteral("a.sgf"));
    EXPECT_EQ(TForm1::RecordPathOf({QStringLiteral("my"), QStringLiteral("game.sgf")}), QStringLiteral("my game.sgf"));
    EXPECT_EQ(TForm1::RecordPathOf({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}), QStringLiteral("a"));
}

}  // namespace
}  // namespace quorvel
