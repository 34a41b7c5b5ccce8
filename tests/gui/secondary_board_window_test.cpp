// The secondary board window on the real widget: its roles driven by clicks on the board and its panels,
// checked in the board window's record, the window's texts and the painted pixels.
#include <QApplication>
#include <QDir>
#include <QWindow>

#include "auxiliary/gui/secondary_board_window.h"
#include "board_window_fixture.h"
#include "formats/sgf_reader.h"
#include "formats/sgf_writer.h"
#include "platform/gui/qt_text.h"

namespace quorvel::test {
namespace {

class SecondaryBoardWindowTest : public BoardWindowTest {
protected:
    TForm6 f{dialogs, QStringLiteral(QUORVEL_PROGRAM_DIR), &w};

    SecondaryBoardWindowTest() { w.SetPointPicker(f); }

    QPoint At(const char* letters) const {
        const PointCode p = P(letters);
        return QPoint(e.geometry->CentreX(p), e.geometry->CentreY(p));
    }
    void ClickBoard(const char* letters, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(&f, button, Qt::NoModifier, At(letters));
    }
    QImage Painted() { return f.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QColor PaintedAt(const char* letters) { return Painted().pixelColor(At(letters)); }

    // The board window's position without a record: rows of "X", "O" and ".".
    void SetPosition(const std::vector<std::string>& rows) {
        DrawPosition(e, rows);
    }

    // Runs `step` inside the next modal run of the secondary board.
    static void InModalRun(std::function<void()> step) { QTimer::singleShot(0, std::move(step)); }
};

int HintInk(const QImage& img, QPoint centre) {
    int n = 0;
    for (int y = centre.y() - 12; y <= centre.y() + 12; ++y) {
        for (int x = centre.x() - 12; x <= centre.x() + 12; ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c.green() > 215 && c.red() < 190 && c.blue() < 90) ++n;
        }
    }
    return n;
}

// ---- Variation choice ----

TEST_F(SecondaryBoardWindowTest, WithHintsOffTheHintBoxAndAVariationsFirstPointEnterIt) {
    MakeMainLine("dd pp dp");
    const int b = AddBranch(MakeOrigin(0, 0, 0), kBlack, "cc qq");
    e.ToggleHints();
    ASSERT_FALSE(e.hintsShown);
    Refresh();
    bool shown = false;
    InModalRun([&] {
        shown = f.isVisible() && f.windowTitle() == ToQString(" Quorvel : 変化図の選択");
        const QImage img = Painted();
        // The continuations carry their letters: the line's next move and the branch.
        EXPECT_GT(HintInk(img, At("dd")), 10);
        EXPECT_GT(HintInk(img, At("cc")), 10);
        EXPECT_EQ(HintInk(img, At("ee")), 0);
        ClickBoard("ee");  // no continuation there: nothing
        EXPECT_TRUE(f.isVisible());
        ClickBoard("cc");
    });
    Click(183, 408);  // the hint box
    EXPECT_TRUE(shown);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(e.currentBranch, b);
    EXPECT_EQ(e.currentIndex, 1);
    EXPECT_EQ(e.board[P("cc")], kBlack);
}

TEST_F(SecondaryBoardWindowTest, TheChoosersKeysWorkWithHintsOff) {
    MakeMainLine("dd pp dp");
    const int b = AddBranch(MakeOrigin(0, 0, 0), kBlack, "cc qq");
    e.ToggleHints();
    Refresh();
    InModalRun([&] { QTest::keyClick(&f, Qt::Key_I); });  // "I" (9) selects nothing
    InModalRun([&] { QTest::keyClick(&f, Qt::Key_B); });
    Click(183, 408);
    EXPECT_EQ(e.currentBranch, b);

    e.ReturnToMainLine();
    Refresh();
    InModalRun([&] { QTest::keyClick(&f, Qt::Key_A); });
    Click(183, 408);
    EXPECT_EQ(e.currentBranch, 0);
    EXPECT_EQ(e.currentIndex, 1);

    // "Back" picks nothing.
    e.StepBack();
    Refresh();
    InModalRun([&] { QTest::mouseClick(f.Panel1, Qt::LeftButton); });
    Click(183, 408);
    EXPECT_EQ(e.currentIndex, 0);
}

TEST_F(SecondaryBoardWindowTest, APassOfTheLineIsChosenWithThePassPanel) {
    MakeMainLine("dd -- pp");
    AddBranch(MakeOrigin(0, 0, 1), kWhite, "qq");
    e.ToggleHints();
    e.StepForward();
    Refresh();
    InModalRun([&] {
        EXPECT_TRUE(f.Panel2->isVisible());
        QTest::mouseClick(f.Panel2, Qt::LeftButton);
    });
    Click(183, 408);
    EXPECT_EQ(e.currentIndex, 2);
    EXPECT_EQ(e.lineMoves[2], kPass);
}

// ---- Counting ----

const std::vector<std::string> kNine = {
    "...X.O...", "...X.O.X.", "...X.O.X.", "...X.O...", ".O.X.O...",
    "...X.O...", "...X.O...", "...X.O...", "...X.O...",
};

TEST_F(SecondaryBoardWindowTest, TheWindowManagerKeepsItAboveTheBoardWindow) {
    w.show();
    f.Open(SecondaryRole::Counting, e);
    f.show();
    ASSERT_NE(f.windowHandle(), nullptr);
    EXPECT_EQ(f.windowHandle()->transientParent(), w.windowHandle());
}

TEST_F(SecondaryBoardWindowTest, ACountShowsTerritoryColoursTotalsAndTheResultInTheTitle) {
    SetPosition(kNine);
    e.whiteCaptured = 11;
    e.info.komi = "6.5";
    f.Open(SecondaryRole::Counting, e);
    f.show();
    EXPECT_EQ(f.windowTitle(), ToQString(" Quorvel : 地の計算"));
    EXPECT_EQ(f.Label1->text(), ToQString("黒 : 11"));
    EXPECT_EQ(f.width(), 408);
    EXPECT_FALSE(f.Panel2->isVisible());

    ClickBoard("be");
    ClickBoard("hb");
    EXPECT_EQ(f.Label1->text(), ToQString("黒 : 12"));
    EXPECT_EQ(f.Label2->text(), ToQString("白 : 2"));
    // A provisional stone, then taken away again.
    ClickBoard("ae", Qt::RightButton);
    EXPECT_GT(qGray(Painted().pixelColor(At("ae") + QPoint(0, 10)).rgb()), 200) << "drawn as a white stone";
    EXPECT_EQ(f.board().subBoard[P("ae")], kProvisionalWhite);
    ClickBoard("ae");
    EXPECT_EQ(f.board().subBoard[P("ae")], kEmpty);
    const QColor boardColour = PaintedAt("ea");

    QTest::mouseClick(f.Panel3, Qt::LeftButton);
    EXPECT_EQ(f.windowTitle(), ToQString(" Quorvel : 地の計算  [ コミ ： 6.5 ]    黒 3 目半勝ち"));
    EXPECT_EQ(f.Panel3->text(), ToQString("再計算"));
    EXPECT_EQ(f.Label1->text(), ToQString("黒 : 39"));
    EXPECT_EQ(f.Label2->text(), ToQString("白 : 29"));
    // The window paints the result at once while the title flashes on a timer.
    EXPECT_TRUE(f.flashTimer().isActive());
    EXPECT_EQ(PaintedAt("aa"), QColor(0, 255, 0));
    EXPECT_EQ(PaintedAt("be"), QColor(0, 255, 0)) << "the dead white stone's point is Black's";
    EXPECT_EQ(PaintedAt("ii"), QColor(255, 0, 255));
    EXPECT_EQ(PaintedAt("hc"), QColor(255, 0, 255));
    EXPECT_EQ(PaintedAt("ea"), boardColour) << "dame";
    QTRY_VERIFY_WITH_TIMEOUT(!f.flashTimer().isActive(), 3000);
    EXPECT_FALSE(f.flashing());

    // After a count a click goes to the variation choice; without a continuation it does nothing.
    ClickBoard("aa");
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.board().subBoard[P("aa")], kEmpty);

    QTest::mouseClick(f.Panel3, Qt::LeftButton);
    EXPECT_EQ(f.windowTitle(), ToQString(" Quorvel : 地の計算"));
    EXPECT_EQ(f.Panel3->text(), ToQString("計 算"));
    EXPECT_EQ(f.Label1->text(), ToQString("黒 : 12"));
    EXPECT_NE(PaintedAt("aa"), QColor(0, 255, 0));
    // The dead stone is back, white with its mark.
    const QColor dead = Painted().pixelColor(At("be") + QPoint(0, 8));
    EXPECT_GT(qGray(dead.rgb()), 200);
    QTest::mouseClick(f.Panel1, Qt::LeftButton);
    EXPECT_FALSE(f.isVisible());
}

TEST_F(SecondaryBoardWindowTest, DraggingPlacesProvisionalStones) {
    SetPosition(kNine);
    f.Open(SecondaryRole::Counting, e);
    f.show();
    QTest::mousePress(&f, Qt::LeftButton, Qt::NoModifier, At("ea"));
    QMouseEvent move(QEvent::MouseMove, At("eb"), f.mapToGlobal(At("eb")), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&f, &move);
    QTest::mouseRelease(&f, Qt::LeftButton, Qt::NoModifier, At("eb"));
    EXPECT_EQ(f.board().subBoard[P("ea")], kProvisionalBlack);
    EXPECT_EQ(f.board().subBoard[P("eb")], kProvisionalBlack);
    EXPECT_LT(qGray(Painted().pixelColor(At("eb") + QPoint(0, 8)).rgb()), 80) << "drawn as a black stone";
}

// ---- Text board range ----

TEST_F(SecondaryBoardWindowTest, ARangeIsMarkedOutlinedAndAskedAboutAfterAWait) {
    SetPosition({".........", ".........", "..X......", ".........", ".........", ".........", ".........",
                 ".........", "........."});
    f.Open(SecondaryRole::TextBoardRange, e);
    f.show();
    // The squares lie under the outline's corners; their outer parts show.
    ClickBoard("dd");
    EXPECT_EQ(Painted().pixelColor(At("dd") + QPoint(3, 3)), QColor(0, 255, 0));
    ClickBoard("aa");
    EXPECT_EQ(Painted().pixelColor(At("aa") - QPoint(3, 3)), QColor(0, 255, 0));
    // The red outline runs through both points.
    const QPoint mid((At("aa").x() + At("dd").x()) / 2, At("aa").y());
    const QColor edge = Painted().pixelColor(mid);
    EXPECT_EQ(edge, QColor(255, 0, 0));
    EXPECT_TRUE(f.rangeTimer().isActive());
    EXPECT_TRUE(dialogs.asked.empty()) << "the question waits";
    dialogs.nextAnswer = Answer::No;
    QTRY_COMPARE(dialogs.asked.size(), std::size_t{1});
    EXPECT_EQ(dialogs.asked[0], "指定された範囲でテキスト碁盤に出力しますか？");
    EXPECT_EQ(dialogs.askedCaptions[0], " 範囲指定の確認");
    EXPECT_EQ(f.board().range.first, 0);
    EXPECT_NE(Painted().pixelColor(At("aa") - QPoint(3, 3)), QColor(0, 255, 0));
    EXPECT_NE(Painted().pixelColor(mid), QColor(255, 0, 0));

    // An invalid range is refused and the first mark goes.
    ClickBoard("bb");
    ClickBoard("dd");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0], "指定された範囲は無効です！");
    EXPECT_NE(PaintedAt("bb"), QColor(0, 255, 0));

    // "Yes" closes the window with the range.
    dialogs.nextAnswer = Answer::Yes;
    InModalRun([&] {
        ClickBoard("ii");
        ClickBoard("fg");
    });
    EXPECT_TRUE(f.PickTextBoardRange(e));
    EXPECT_EQ(f.board().range.anchor, P("ii"));
    EXPECT_EQ(f.board().range.far, P("fg"));
}

// ---- Creation ----

TEST_F(SecondaryBoardWindowTest, MakingABoardCommentPutsItAndItsDiagramIntoTheChatLog) {
    MakeMainLine("dd pp");
    e.StepForward();
    Refresh();
    bool added = false;
    f.boardCommentAdded = [&] { added = true; };
    bool refusedEmpty = false;
    InModalRun([&] {
        EXPECT_TRUE(f.Panel3->isEnabled());
        QTest::mouseClick(f.Panel3, Qt::LeftButton);
        refusedEmpty = !dialogs.shown.empty() && dialogs.shown.back() == "コメントが入力されていません" && f.isVisible();
        ClickBoard("cc");
        f.Memo1->setPlainText(ToQString("白の好手 >> 次\r\n二行目"));
        QTest::mouseClick(f.Panel3, Qt::LeftButton);
    });
    f.CreateBoardComment(e);
    EXPECT_TRUE(refusedEmpty);
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(added);
    const ChatLog& log = f.chatLog();
    EXPECT_EQ(log.logText, "{棋譜ログ}\r\n" + std::string(15, ' ') + "\r\n[ 1 ]：白の好手 ＞＞ 次\r\n二行目\r\n{ 碁盤 1 }\r\n" +
                               std::string(15, ' ') + "\r\n");
    EXPECT_EQ(log.diagramStore, "{1}<<DiaData=SZ[19]/<SiroSaki>/AB[dd];W[cc]>>\r\n");
    // The second comment takes the next number.
    InModalRun([&] {
        f.Memo1->setPlainText(QStringLiteral("again"));
        QTest::mouseClick(f.Panel3, Qt::LeftButton);
    });
    f.CreateBoardComment(e);
    EXPECT_EQ(f.chatLog().diagramCounter, 2);
    EXPECT_NE(f.chatLog().logText.find("[ 1 ]：again\r\n{ 碁盤 2 }"), std::string::npos);
}

TEST_F(SecondaryBoardWindowTest, ABoardCommentInCreationModeCountsTheMovesAfterTheLinesOwnSetup) {
    // The record loaded before has two setup stones; the created line has four handicap stones.
    ASSERT_TRUE(LoadRecordText(e, "(;GM[1]FF[4]SZ[19]AB[aa][bb];W[cc])"));
    ASSERT_EQ(e.setupCount, 2);
    e.SwitchToCreationMode();
    ASSERT_TRUE(e.PlaceHandicapStones(4));
    w.Redraw();
    for (const char* point : {"qf", "fq", "kk"}) ClickPoint(point);
    ASSERT_EQ(e.currentIndex, 7);
    InModalRun([&] {
        f.Memo1->setPlainText(QStringLiteral("moves"));
        QTest::mouseClick(f.Panel3, Qt::LeftButton);
    });
    f.CreateBoardComment(e);
    EXPECT_NE(f.chatLog().logText.find("[ 3 ]：moves\r\n{ 碁盤 1 }"), std::string::npos) << f.chatLog().logText;
}

TEST_F(SecondaryBoardWindowTest, DiagramsLoadFromTheClipboardAndTheLogWindowsBoard) {
    MakeMainLine("dd");
    MemoryClipboard clipboard;
    f.SetClipboard(clipboard);
    std::vector<std::string> messagesShown;
    QImage loaded;
    InModalRun([&] {
        for (PanelButton* panel : {f.Panel5, f.Panel6}) EXPECT_TRUE(panel->isEnabled() && panel->isVisible());
        QTest::mouseClick(f.Panel5, Qt::LeftButton);  // the log window shows no diagram
        clipboard.SetText("SZ[9]AB[cc]");          // no ";": no diagram
        QTest::mouseClick(f.Panel6, Qt::LeftButton);
        messagesShown = dialogs.shown;
        clipboard.SetText("(;SZ[9]AB[cc]AW[gg];B[ee])");
        QTest::mouseClick(f.Panel6, Qt::LeftButton);
        loaded = Painted();
        f.reject();
    });
    f.CreateBoardComment(e);
    ASSERT_EQ(messagesShown.size(), 2u);
    EXPECT_EQ(messagesShown[0], "チャット 碁 盤 に 石 は あ り ま せ ん ！");
    EXPECT_EQ(messagesShown[1], "クリップボードに棋譜データが見付かりません");
    EXPECT_EQ(f.board().boardSize, 9);
    EXPECT_EQ(f.board().shownEntry, 3);
    // The 9-line board is drawn (lines 42 pixels apart): a black stone on E5 (left of its number), a white
    // one on G3.
    EXPECT_LT(loaded.pixelColor(5 * 42 - 18 - 13, 5 * 42 - 18).lightness(), 80);
    EXPECT_GT(loaded.pixelColor(7 * 42 - 18, 7 * 42 - 18).lightness(), 200);
}

TEST_F(SecondaryBoardWindowTest, TheCreationRoleBuildsADiagram) {
    e.ChangeBoardSize(9);
    e.board[P("aa")] = kBlack;
    e.markGrid[P("ee")] = 1;
    w.Redraw();
    f.Open(SecondaryRole::BoardComment, e);
    f.show();
    EXPECT_EQ(f.windowTitle(), ToQString(" Quorvel - 碁盤付きコメントの作成"));
    EXPECT_EQ(f.width(), 600);
    EXPECT_TRUE(f.Memo1->isVisible());
    EXPECT_TRUE(f.Panel4->isEnabled());
    EXPECT_TRUE(f.Panel3->isEnabled());
    EXPECT_TRUE(f.Panel5->isEnabled());
    EXPECT_TRUE(f.Panel6->isEnabled());

    ClickBoard("cc");
    ClickBoard("gg");
    EXPECT_EQ(f.board().shownEntry, 3);
    // Beside the numbers: a black stone and a white one.
    EXPECT_LT(qGray(Painted().pixelColor(At("cc") - QPoint(15, 0)).rgb()), 80);
    EXPECT_GT(qGray(Painted().pixelColor(At("gg") - QPoint(15, 0)).rgb()), 200);
    QTest::mouseClick(f.Panel9, Qt::LeftButton);
    EXPECT_EQ(f.board().subBoard[P("gg")], kEmpty);

    dialogs.nextAnswer = Answer::Yes;
    QTest::mouseClick(f.Panel2, Qt::LeftButton);
    EXPECT_EQ(dialogs.asked.back(), "  パ  ス  し  ま  す  か  ？");
    EXPECT_EQ(f.board().stoneList[f.board().shownEntry], kPass);

    // Setup input: a white stone with the right button.
    QTest::mouseClick(f.Image4, Qt::LeftButton);
    EXPECT_EQ(f.board().inputMode, 3);
    ClickBoard("hh", Qt::RightButton);
    EXPECT_EQ(f.board().setupCount, 2);
    EXPECT_GT(qGray(Painted().pixelColor(At("hh") + QPoint(0, 10)).rgb()), 200);

    QTest::mouseClick(f.Panel4, Qt::LeftButton);
    EXPECT_EQ(f.board().setupCount, 3);
    EXPECT_EQ(f.board().shownEntry, 3);
    QTest::mouseClick(f.Image6, Qt::LeftButton);
    EXPECT_FALSE(f.board().blackFirst);

    // "| <" twice: the moves, then the whole diagram.
    QTest::mouseClick(f.Image3, Qt::LeftButton);
    ClickBoard("dd");
    QTest::mouseClick(f.Panel8, Qt::LeftButton);
    EXPECT_EQ(f.board().shownEntry, 3);
    QTest::mouseClick(f.Panel8, Qt::LeftButton);
    EXPECT_EQ(f.board().shownEntry, 0);
    EXPECT_EQ(f.board().subBoard[P("aa")], kEmpty);
}

}  // namespace
// ---- The board window's picks: deleting moves, relocating a stone, replacing a pass ----

TEST_F(SecondaryBoardWindowTest, DelDeletesTheLastMovesClickedAndGoesBackWhenClosed) {
    MakeMainLine("dd pp dp cc");
    e.StepForward();
    w.Redraw();
    std::vector<int> lineEnds;
    InModalRun([&] {
        EXPECT_EQ(f.windowTitle(), ToQString(" Quorvel : 手順の削除"));
        EXPECT_EQ(e.currentIndex, 4);  // the line played to its end
        ClickBoard("pp");              // not the last stone: nothing
        lineEnds.push_back(e.lineEnd);
        ClickBoard("cc");
        lineEnds.push_back(e.lineEnd);
        EXPECT_EQ(PaintedAt("cc"), Painted().pixelColor(At("ee")));  // the window shows the stone gone
        ClickBoard("dp");
        lineEnds.push_back(e.lineEnd);
        EXPECT_TRUE(f.isVisible());
        QTest::mouseClick(f.Panel1, Qt::LeftButton);  // "Back"
    });
    Click(430, 30);  // "DEL"
    EXPECT_EQ(lineEnds, (std::vector<int>{4, 3, 2}));
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(e.currentIndex, 1);  // back where the deletion started
    EXPECT_EQ(e.board[P("dp")], kEmpty);
    EXPECT_TRUE(e.recordModified);
}

TEST_F(SecondaryBoardWindowTest, DelOnTheFirstStoneOfAVariationDeletesItAndCloses) {
    MakeMainLine("dd pp dp");
    AddBranch(MakeOrigin(0, 0, 0), kBlack, "cc qq");
    Refresh();
    ASSERT_TRUE(e.FollowPoint(P("cc")));
    ASSERT_NE(e.currentBranch, 0);
    InModalRun([&] { ClickBoard("cc"); });
    Click(430, 30);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(e.currentBranch, 0);
    EXPECT_EQ(e.branchCount, 0);
    EXPECT_EQ(e.lineEnd, 3);
}

TEST_F(SecondaryBoardWindowTest, DelOfTheLastStoneTakesTheBranchesAtThatMoveAlong) {
    MakeMainLine("dd pp dp cc");
    AddBranch(MakeOrigin(0, 0, 3), kWhite, "qq dq");
    Refresh();
    ASSERT_EQ(e.branchCount, 1);
    InModalRun([&] {
        ClickBoard("cc");
        QTest::mouseClick(f.Panel1, Qt::LeftButton);
    });
    Click(430, 30);
    EXPECT_EQ(e.lineEnd, 3);
    EXPECT_EQ(e.branchCount, 0);
}

TEST_F(SecondaryBoardWindowTest, AClickedStoneIsRelocatedToThePointPickedThere) {
    MakeMainLine("dd pp dp");
    e.GoToEnd();
    w.Redraw();
    const QColor whiteStone = Centre(Shown(), "pp");
    QString doneTitle;
    InModalRun([&] {
        EXPECT_EQ(f.windowTitle(), ToQString(" Quorvel : 既着石の位置変更 (移動先の空点をクリック)"));
        ClickBoard("dd");  // occupied: ignored
        EXPECT_EQ(f.Panel1->text(), QStringLiteral("Back"));
        ClickBoard("qq");
        doneTitle = f.windowTitle();
        EXPECT_EQ(f.Panel1->text(), QStringLiteral("O K"));
        QTest::mouseClick(f.Panel1, Qt::LeftButton);
    });
    ClickPoint("pp");
    EXPECT_EQ(doneTitle, ToQString(" Quorvel ： 既着石の位置変更 [完了]"));
    EXPECT_EQ(e.lineMoves[2], P("qq"));
    EXPECT_EQ(e.board[P("pp")], kEmpty);
    EXPECT_EQ(e.board[P("qq")], kWhite);
    // The board window draws the stone at its new point as it drew it at the old one.
    const QImage after = Shown();
    EXPECT_EQ(Centre(after, "qq"), whiteStone);
    EXPECT_NE(Centre(after, "pp"), whiteStone);

    // Closed with "Back", nothing moves.
    InModalRun([&] { QTest::mouseClick(f.Panel1, Qt::LeftButton); });
    ClickPoint("dp");
    EXPECT_EQ(e.lineMoves[3], P("dp"));
    EXPECT_EQ(e.board[P("dp")], kBlack);
}

TEST_F(SecondaryBoardWindowTest, ARelocationThatWouldBeSuicideIsRefused) {
    // White's fourth move cannot go to the corner that Black's first and third stones close.
    MakeMainLine("ba pp ab qq");
    e.GoToEnd();
    w.Redraw();
    InModalRun([&] {
        ClickBoard("aa");  // the window takes it: no capture there
        QTest::mouseClick(f.Panel1, Qt::LeftButton);
    });
    ClickPoint("qq");
    EXPECT_EQ(e.lineMoves[4], P("qq"));
    EXPECT_EQ(e.board[P("qq")], kWhite);
    EXPECT_EQ(e.board[P("aa")], kEmpty);
    EXPECT_FALSE(e.recordModified);
}

TEST_F(SecondaryBoardWindowTest, AReplacedPassCapturesAndTheSavedRecordReplaysToTheShownPosition) {
    // Black's pass becomes "ab", which takes the white stone in the corner.
    MakeMainLine("ba aa --");
    e.GoToEnd();
    w.Redraw();
    InModalRun([&] { ClickBoard("ab"); });
    Click(80, 430);
    EXPECT_EQ(e.board[P("ab")], kBlack);
    EXPECT_EQ(e.board[P("aa")], kEmpty);
    e.StepBack();  // the take-back puts the captured stone back
    EXPECT_EQ(e.board[P("aa")], kWhite);
    e.GoToEnd();
    const auto shown = e.board;

    MemoryMessageArea otherMessages;
    MemoryDialogs otherDialogs;
    Engine reread{otherMessages, otherDialogs};
    ASSERT_TRUE(LoadRecordText(reread, WholeRecordText(e)));
    reread.GoToEnd();
    EXPECT_EQ(reread.lineEnd, 3);
    EXPECT_EQ(reread.board, shown);
}

TEST_F(SecondaryBoardWindowTest, ThePassSignReplacesThePassWithAPointPickedThere) {
    MakeMainLine("dd pp --");
    e.GoToEnd();
    w.Redraw();
    ASSERT_TRUE(e.PassSignShown());
    InModalRun([&] {
        EXPECT_EQ(f.windowTitle(), ToQString(" Quorvel : (パス変更の) 着手入力 → 空点にクリックして下さい"));
        ClickBoard("pp");  // a stone: ignored
        EXPECT_TRUE(f.isVisible());
        ClickBoard("qq");
    });
    Click(80, 430);  // the pass sign
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(e.lineMoves[3], P("qq"));
    EXPECT_EQ(e.board[P("qq")], kBlack);
    EXPECT_FALSE(e.PassSignShown());
    EXPECT_TRUE(e.recordModified);
}

}  // namespace quorvel::test

namespace quorvel::test {
namespace {

// Screenshots of each role's window, for looking at them as a user does. Written only when
// QUORVEL_SCREENSHOTS names a folder (scripts/screenshots.sh sets it).
class SecondaryBoardScreenshots : public SecondaryBoardWindowTest {
protected:
    void SetUp() override {
        dir_ = qEnvironmentVariable("QUORVEL_SCREENSHOTS");
        if (dir_.isEmpty()) GTEST_SKIP() << "QUORVEL_SCREENSHOTS names no folder";
        QDir().mkpath(dir_);
    }
    void Save(const char* name) { EXPECT_TRUE(Painted().save(dir_ + QLatin1Char('/') + QLatin1String(name))); }
    QString dir_;
};

TEST_F(SecondaryBoardScreenshots, EveryRole) {
    MakeMainLine("pd dp pp dd fq qf nc cn jj qn nq dj jd");
    AddBranch(MakeOrigin(0, 0, 4), kBlack, "cc");
    AddBranch(MakeOrigin(0, 0, 4), kBlack, "qq");
    for (int i = 0; i < 4; ++i) e.StepForward();
    e.ToggleHints();
    Refresh();
    f.Open(SecondaryRole::VariationChoice, e);
    f.show();
    Save("secondary-variation-choice.png");

    f.Open(SecondaryRole::TextBoardRange, e);
    ClickBoard("aa");
    ClickBoard("gh");
    Save("secondary-text-board-range.png");
    f.rangeTimer().stop();

    f.Open(SecondaryRole::Counting, e);
    Save("secondary-counting-marking.png");

    SetPosition(kNine);
    e.whiteCaptured = 11;
    e.info.komi = "6.5";
    f.Open(SecondaryRole::Counting, e);
    ClickBoard("be");
    ClickBoard("hb");
    ClickBoard("ea");
    ClickBoard("ei", Qt::RightButton);
    Save("secondary-counting-marked.png");
    QTest::mouseClick(f.Panel3, Qt::LeftButton);
    QTRY_VERIFY(!f.flashTimer().isActive());
    Save("secondary-counting-result.png");

    e.markGrid[P("ee")] = 3;
    f.Open(SecondaryRole::BoardComment, e);
    ClickBoard("cc");
    ClickBoard("gg");
    ClickBoard("cg");
    Save("secondary-board-comment.png");
}

}  // namespace
}  // namespace quorvel::test
