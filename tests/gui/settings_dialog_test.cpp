// TForm5 in its three roles, driven through the main window's commands: what each role shows, what OK
// applies and what Cancel leaves, and the records saved after the game information was edited.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "app/gui/main_window.h"
#include "platform/file_io.h"
#include "platform/gui/qt_text.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

class OneFileDialogs : public FileDialogs {
public:
    std::optional<std::string> RunOpenDialog(const std::string&) override { return path; }
    std::optional<std::string> RunSaveDialog(const std::string&) override { return path; }
    std::optional<std::string> path;
};

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvel-form5-XXXXXX";
        dir = std::string(::mkdtemp(pattern)) + "/";
        titles = std::make_unique<TitleRegistry>(dir + "titles");
        window = std::make_unique<TForm1>(QStringLiteral(QUORVEL_PROGRAM_DIR), QStringList(), *titles, &dialogs,
                                          &files, dir);
        window->ShowAtStart();
    }
    void TearDown() override {
        window.reset();
        titles.reset();
        fs::remove_all(dir);
    }
    Engine& board() { return window->board(); }
    TForm5& form() { return *window->Form5(); }
    void Open(const std::string& name, const std::string& sgf) {
        std::ofstream(dir + name, std::ios::binary) << sgf;
        files.path = dir + name;
        window->action(QStringLiteral("KFO"))->trigger();
    }
    std::string SaveAndRead(const std::string& name) {
        files.path = dir + name;
        window->action(QStringLiteral("KFS"))->trigger();
        std::string bytes, error;
        EXPECT_TRUE(ReadWholeFile(dir + name, bytes, error)) << error;
        return bytes;
    }
    // Runs `act` on the dialog once it shows, then presses its OK (or Cancel) panel.
    void WhenShown(const std::function<void(TForm5&)>& act, bool ok = true) {
        QTimer::singleShot(0, window.get(), [this, act, ok] {
            TForm5& d = form();
            EXPECT_TRUE(d.isVisible());
            act(d);
            QTest::mouseClick(ok ? d.Panel1 : d.Panel2, Qt::LeftButton);
        });
    }
    static void Type(QLineEdit* edit, const char* text) {
        edit->clear();
        QTest::keyClicks(edit, ToQString(text));
    }

    std::string dir;
    MemoryDialogs dialogs;
    OneFileDialogs files;
    std::unique_ptr<TitleRegistry> titles;
    std::unique_ptr<TForm1> window;
};

TEST_F(SettingsDialogTest, SettingsRoleAppliesOnOkAndDropsEditsOnCancel) {
    WhenShown([](TForm5& d) {
        EXPECT_EQ(d.windowTitle(), ToQString(" Quorvel : 各種設定"));
        EXPECT_TRUE(d.Panel3->isVisible());
        EXPECT_FALSE(d.Panel4->isVisible());
        EXPECT_FALSE(d.Memo1->isVisible());
        EXPECT_FALSE(d.AllShow->isChecked());
        EXPECT_TRUE(d.AsOption->isChecked());
        EXPECT_TRUE(d.MacMouse->isChecked());
        EXPECT_EQ(d.Edit5->text(), QStringLiteral("99"));
        EXPECT_EQ(d.SendPath->count(), 1);
        QTest::mouseClick(d.AllShow, Qt::LeftButton, {}, QPoint(5, 11));
        QTest::mouseClick(d.EndingAsk, Qt::LeftButton, {}, QPoint(5, 11));
        Type(d.Edit5, "30");
        Type(d.Edit2, "pink");  // no colour: kept
        Type(d.Edit3, "600");
        d.GoBanXY->setEditText(QStringLiteral("1-1"));
        d.SendPath->setEditText(QStringLiteral("http://send.example.org/"));
    });
    EXPECT_TRUE(window->action(QStringLiteral("KSM"))->isEnabled());
    window->action(QStringLiteral("KSM"))->trigger();
    EXPECT_TRUE(board().settings.allShow);
    EXPECT_TRUE(window->files().endingAsk);
    EXPECT_EQ(board().settings.textBMoves, 30);
    EXPECT_EQ(window->shell().html.htmlColor, "f8e0e0");
    EXPECT_EQ(window->shell().html.appWidth, "600");
    EXPECT_EQ(board().settings.coordinates.xStyle, 1);
    EXPECT_EQ(window->shell().sendPath, "http://send.example.org/");
    EXPECT_EQ(window->shell().sendPaths.count, 2);
    EXPECT_EQ(form().SendPath->count(), 2);
    EXPECT_EQ(form().SendPath->itemText(0), QStringLiteral("http://send.example.org/"));

    // Out-of-range moves are ignored; Cancel drops the check box changed meanwhile.
    for (const char* moves : {"0", "100", "x"}) {
        WhenShown([moves](TForm5& d) { Type(d.Edit5, moves); });
        window->action(QStringLiteral("KSM"))->trigger();
        EXPECT_EQ(board().settings.textBMoves, 30) << moves;
    }
    WhenShown([](TForm5& d) { QTest::mouseClick(d.SameMark, Qt::LeftButton, {}, QPoint(5, 11)); }, false);
    window->action(QStringLiteral("KSM"))->trigger();
    EXPECT_FALSE(board().settings.salala);
    EXPECT_FALSE(form().SameMark->isChecked());

    // What was applied is what the file keeps.
    window->close();
    std::string written, error;
    ASSERT_TRUE(ReadWholeFile(dir + "Zarn.dat", written, error));
    for (const char* line : {"\r\nAllShow[1]\r\n", "\r\nEndingAsk[1]\r\n", "\r\nGoBanXY[1-1]\r\n", "\r\nTextBMoves[30]\r\n",
                             "\r\nAppWidth[600]\r\n", "\r\nPathCount[2]\r\nPath2[http://quorvel.example.org/cgi-bin/"
                             "KifuAuto.cgi?]\r\nPath1[http://send.example.org/]\r\n"}) {
        EXPECT_NE(written.find(line), std::string::npos) << line;
    }
}

TEST_F(SettingsDialogTest, AHintOptionShowsOnTheBoardAtOnce) {
    Open("h.sgf", "(;GM[1]SZ[19];B[pd];W[dp];B[pp])");
    board().StepForward();
    ASSERT_TRUE(board().hintsShown);
    ASSERT_TRUE(board().settings.noZarnNoHint);
    ASSERT_TRUE(board().hintLetters.empty());
    window->Form2->Redraw();
    const QImage withoutHint = window->Form2->grab().toImage();
    // Off, the next move of the line gets its letter without another step.
    WhenShown([](TForm5& d) { QTest::mouseClick(d.NoZarnNoHint, Qt::LeftButton, {}, QPoint(5, 11)); });
    window->action(QStringLiteral("KSM"))->trigger();
    ASSERT_FALSE(board().settings.noZarnNoHint);
    EXPECT_EQ(board().hintLetters.size(), 1u);
    EXPECT_NE(window->Form2->grab().toImage(), withoutHint);
}

TEST_F(SettingsDialogTest, GameInformationReplacesTheHeadsValuesAndKeepsTheList) {
    Open("game.sgf", "(;GM[1]FF[4]SZ[19]PB[Old]BR[3d]DT[2020-01-02]HA[2]KM[0.5];B[pd];W[dp])");
    WhenShown([](TForm5& d) {
        EXPECT_EQ(d.windowTitle(), ToQString(" Quorvel : 棋譜情報"));
        EXPECT_TRUE(d.Panel4->isVisible());
        EXPECT_FALSE(d.Panel3->isVisible());
        EXPECT_EQ(d.Edit6->text(), QStringLiteral("Old"));
        EXPECT_EQ(d.Edit7->text(), QString());  // 不明
        EXPECT_EQ(d.Edit15->text(), QStringLiteral("1"));
        EXPECT_EQ(d.focusWidget(), d.Edit15);
        EXPECT_TRUE(d.RadioButton[0]->isChecked());
        EXPECT_FALSE(d.RadioButton[1]->isEnabled());  // replay mode keeps the size
        Type(d.Edit6, "New]\\Name");
        d.Edit8->clear();  // an empty field changes nothing
        Type(d.Edit10, "6.5");
        Type(d.Edit15, "500");
    });
    window->action(QStringLiteral("KVF"))->trigger();
    EXPECT_EQ(board().info.blackPlayer, "New]\\Name");
    EXPECT_EQ(board().info.date, "2020-01-02");
    EXPECT_EQ(board().memos.info, "2020-01-02\r\n置石：2\r\nコミ：6.5");
    EXPECT_EQ(board().firstMoveNumber, 1);
    EXPECT_TRUE(board().recordModified);
    // The board window's information panel shows the new name and the list.
    window->Form2->SetToolPanelShown(false);
    QStringList shown;
    for (const QPlainTextEdit* memo : window->Form2->findChildren<QPlainTextEdit*>()) {
        if (memo->isVisible()) shown << memo->toPlainText();
    }
    EXPECT_TRUE(shown.contains(QStringLiteral("New]\\Name"))) << shown.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(shown.contains(ToQString("2020-01-02\n置石：2\nコミ：6.5"))) << shown.join(QLatin1Char('|')).toStdString();

    const std::string saved = SaveAndRead("saved.sgf");
    EXPECT_EQ(saved.find("PB[Old]"), std::string::npos) << saved;
    EXPECT_NE(saved.find("PB[New\\]\\\\Name]"), std::string::npos) << saved;
    EXPECT_NE(saved.find("KM[6.5]"), std::string::npos) << saved;

    WhenShown([](TForm5& d) { Type(d.Edit15, "499"); });
    window->action(QStringLiteral("KVF"))->trigger();
    EXPECT_EQ(board().firstMoveNumber, 499);
    WhenShown([](TForm5& d) { Type(d.Edit7, "Ignored"); Type(d.Edit15, "0"); }, false);
    window->action(QStringLiteral("KVF"))->trigger();
    EXPECT_EQ(board().info.whitePlayer, "不明");
    EXPECT_EQ(board().firstMoveNumber, 499);
}

TEST_F(SettingsDialogTest, AnEmptyNameOverUnknownWritesNoName) {
    Open("plain.sgf", "(;GM[1]FF[4]SZ[19];B[pd];W[dp])");
    WhenShown([](TForm5& d) { EXPECT_EQ(d.Edit6->text(), QString()); });
    window->action(QStringLiteral("KVF"))->trigger();
    EXPECT_EQ(board().info.blackPlayer, "不明");
    EXPECT_FALSE(board().recordModified);
    const std::string saved = SaveAndRead("plain-saved.sgf");
    EXPECT_EQ(saved.find("PB["), std::string::npos) << saved;
}

TEST_F(SettingsDialogTest, CommentRoleShowsOnlyTheMemoAndGivesItsTextOnOk) {
    Open("comment.sgf", "(;GM[1]FF[4]SZ[19];B[pd]C[first];W[dp])");
    board().StepForward();
    board().messages().SetText("first");
    WhenShown([this](TForm5& d) {
        EXPECT_EQ(d.windowTitle(), ToQString(" Quorvel : コメント入力"));
        EXPECT_TRUE(d.Memo1->isVisible());
        EXPECT_FALSE(d.Panel3->isVisible());
        EXPECT_FALSE(d.Panel4->isVisible());
        EXPECT_TRUE(board().commentDialogOpen);
        EXPECT_TRUE(board().Busy());
        EXPECT_EQ(d.Memo1->toPlainText(), QStringLiteral("first"));
        EXPECT_EQ(d.Memo1->textCursor().position(), 5);
        // The memo covers the dialog's width: white where the settings panel would leave the background.
        EXPECT_EQ(d.grab().toImage().pixelColor(500, 300), QColor(Qt::white));
        QTest::keyClicks(d.Memo1, QStringLiteral(" a]b"));
        QTest::keyClick(d.Memo1, Qt::Key_Return);
        QTest::keyClicks(d.Memo1, QStringLiteral("line"));
    });
    const std::optional<std::string> text = form().ShowForComment();
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, "first a]b\r\nline");
    EXPECT_FALSE(board().commentDialogOpen);

    board().StoreComment(*text);
    const std::string stored = board().CommentText(board().branchComments[0][1]);
    SaveAndRead("commented.sgf");
    Open("commented.sgf", SaveAndRead("commented.sgf"));
    board().StepForward();
    EXPECT_EQ(board().CommentText(board().branchComments[0][1]), stored);
    EXPECT_EQ(board().lineEnd, 2);

    WhenShown([](TForm5& d) { QTest::keyClicks(d.Memo1, QStringLiteral("dropped")); }, false);
    EXPECT_FALSE(form().ShowForComment().has_value());
    EXPECT_FALSE(board().commentDialogOpen);

    // The settings role's background where the memo was.
    WhenShown([](TForm5& d) { EXPECT_NE(d.grab().toImage().pixelColor(500, 300), QColor(Qt::white)); }, false);
    window->action(QStringLiteral("KSM"))->trigger();
}

TEST_F(SettingsDialogTest, NewRecordTakesItsInformationAndStartsFromTheHandicap) {
    Open("old.sgf", "(;GM[1]FF[4]SZ[19]PB[Old];B[pd];W[dp])");
    WhenShown([](TForm5& d) {
        EXPECT_EQ(d.windowTitle(), ToQString(" Quorvel : 棋譜情報"));
        EXPECT_EQ(d.Edit6->text(), QString());
        EXPECT_TRUE(d.RadioButton[2]->isEnabled());  // creation mode: the size may change
        Type(d.Edit6, "Maker");
        Type(d.Edit9, "3");
    });
    window->action(QStringLiteral("KFN"))->trigger();
    EXPECT_FALSE(board().replayMode);
    EXPECT_EQ(board().info.blackPlayer, "Maker");
    EXPECT_EQ(board().info.handicap, "3");
    EXPECT_EQ(board().baseIndex, 3);
    for (const auto& [col, row] : {std::pair{4, 16}, {16, 4}, {4, 4}}) {
        EXPECT_EQ(board().board[MakePoint(col, row)], kBlack) << col << "," << row;
    }
    EXPECT_EQ(board().blackFirst, 0);  // White to move
    const std::string saved = SaveAndRead("handicap.sgf");
    EXPECT_NE(saved.find("PB[Maker]"), std::string::npos) << saved;
    EXPECT_NE(saved.find("HA[3]"), std::string::npos) << saved;
    EXPECT_NE(saved.find("AB[dd][pd][dp]"), std::string::npos) << saved;  // written from the last stone back

    // "F": free placement of the stones, with setup input and its palette, White to move.
    WhenShown([](TForm5& d) { Type(d.Edit9, "f"); });
    window->action(QStringLiteral("KFN"))->trigger();
    EXPECT_EQ(board().inputMode, 3);
    EXPECT_EQ(board().blackFirst, 0);
    EXPECT_EQ(board().baseIndex, 0);
    EXPECT_TRUE(window->Form15()->isVisible());

    // A smaller board chosen in the dialog takes the handicap on its own star points.
    WhenShown([](TForm5& d) {
        QTest::mouseClick(d.RadioButton[2], Qt::LeftButton, {}, QPoint(5, 11));  // 9 lines
        Type(d.Edit9, "2");
    });
    window->action(QStringLiteral("KFN"))->trigger();
    EXPECT_EQ(board().boardSize, 9);
    EXPECT_EQ(board().baseIndex, 2);
    EXPECT_EQ(board().inputMode, 1);

    // Cancel: an empty board of the same size, nothing of the dialog taken.
    WhenShown([](TForm5& d) { Type(d.Edit9, "4"); Type(d.Edit6, "Nobody"); }, false);
    window->action(QStringLiteral("KFN"))->trigger();
    EXPECT_FALSE(board().replayMode);
    EXPECT_EQ(board().baseIndex, 0);
    EXPECT_EQ(board().info.blackPlayer, "不明");
}

TEST_F(SettingsDialogTest, NewRecordOverAChangedOneAsksFirstWithEndingAsk) {
    window->files().endingAsk = true;
    WhenShown([](TForm5&) {}, false);
    window->action(QStringLiteral("KFN"))->trigger();
    ASSERT_FALSE(board().replayMode);
    board().recordModified = true;
    dialogs.nextAnswer = Answer::Cancel;
    window->action(QStringLiteral("KFN"))->trigger();  // stopped: no dialog shows, so none is answered
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_FALSE(form().isVisible());
    EXPECT_FALSE(board().replayMode);
}

// The three roles as a user sees them, written when QUORVEL_SCREENSHOTS names a folder; each role paints
// its own panel.
TEST_F(SettingsDialogTest, Screenshots) {
    Open("shot.sgf", "(;GM[1]FF[4]SZ[19]PB[山田]BR[五段]PW[鈴木]WR[四段]DT[2024-05-06]KM[6.5]GN[名人戦];B[pd]C[序盤の要点];W[dp])");
    board().StepForward();
    board().messages().SetText("序盤の要点");
    std::vector<std::pair<const char*, QImage>> shots;
    const auto grab = [&shots](const char* name) {
        return [&shots, name](TForm5& d) { shots.emplace_back(name, d.grab().toImage()); };
    };
    WhenShown(grab("dialog-comment.png"), false);
    form().ShowForComment();
    WhenShown(grab("dialog-settings.png"), false);
    window->action(QStringLiteral("KSM"))->trigger();
    WhenShown(grab("dialog-game-info.png"), false);
    window->action(QStringLiteral("KVF"))->trigger();
    ASSERT_EQ(shots.size(), 3u);
    for (const auto& [name, image] : shots) EXPECT_EQ(image.size(), QSize(527, 572)) << name;
    EXPECT_NE(shots[1].second, shots[2].second);
    if (const char* out = std::getenv("QUORVEL_SCREENSHOTS")) {
        fs::create_directories(out);
        for (const auto& [name, image] : shots) {
            EXPECT_TRUE(image.save(QString::fromLocal8Bit(out) + QLatin1Char('/') + QString::fromLatin1(name)));
        }
    }
}

}  // namespace
}  // namespace quorvel
