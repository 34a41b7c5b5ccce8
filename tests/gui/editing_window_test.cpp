// Record editing on the real board window and the mark palette: the bars and strip buttons of both
// modes, stones and setup stones by click, marks by palette and space bar, and what the window paints.
#include <QKeyEvent>

#include "board_window_fixture.h"
#include "core/gui/mark_palette.h"
#include "formats/sgf_reader.h"

namespace quorvel::test {
namespace {

// Tool column bars and creation-strip buttons, by their pixel areas.
const QPoint kMakeBar(428, 408);
const QPoint kShowBar(428, 388);
const QPoint kCallBar(428, 335);
const QPoint kPassButton(442, 315);
const QPoint kSwapBar(428, 90);
const QPoint kMoveInput(291, 410);
const QPoint kSetupInput(318, 410);
const QPoint kFirstColour(365, 410);
const QPoint kTakeBack(250, 410);
const QPoint kClearToStart(224, 410);

class EditingWindowTest : public BoardWindowTest {
  protected:
    TForm15 palette{e, QStringLiteral(QUORVEL_PROGRAM_DIR), &w, nullptr};

    EditingWindowTest() { w.SetPalette(&palette); }
    void ClickAt(QPoint at, Qt::MouseButton button = Qt::LeftButton,
                 Qt::KeyboardModifiers m = Qt::NoModifier) {
        Click(at.x(), at.y(), button, m);
    }
    // Pixels near a point's centre that are light (a mark's ink on a black stone), or pure blue (a mark on
    // an empty point).
    int Count(const QImage& img, const char* letters, const std::function<bool(const QColor&)>& which) {
        const PointCode p = P(letters);
        const int cx = e.geometry->CentreX(p), cy = e.geometry->CentreY(p);
        int n = 0;
        for (int y = cy - 8; y <= cy + 8; ++y) {
            for (int x = cx - 8; x <= cx + 8; ++x) n += which(img.pixelColor(x, y)) ? 1 : 0;
        }
        return n;
    }
    static bool White(const QColor& c) { return qGray(c.rgb()) > 140; }
    static bool Blue(const QColor& c) { return c.blue() > 200 && c.red() < 90 && c.green() < 90; }
    void Release(Qt::Key key, bool autoRepeat) {
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(), autoRepeat);
        QApplication::sendEvent(&w, &release);
    }
};

TEST_F(EditingWindowTest, MakeTwoClicksAndShowBuildAMainLineOfThoseMoves) {
    MakeMainLine("aa bb");
    ClickAt(kMakeBar);
    ASSERT_FALSE(e.replayMode);
    EXPECT_EQ(e.currentIndex, 0);
    ClickPoint("pd");
    ClickPoint("dp");
    const QImage shown = Shown();
    EXPECT_LT(qGray(Centre(shown, "pd").rgb()), 90);
    EXPECT_GT(qGray(Centre(shown, "dp").rgb()), 170);
    ClickAt(kTakeBack);
    EXPECT_EQ(e.currentIndex, 1);
    ClickPoint("dp");
    ClickAt(kShowBar);
    ASSERT_TRUE(e.replayMode);
    EXPECT_EQ(e.BranchLength(0), 2);
    EXPECT_EQ(e.branchMoves[0][1], P("pd"));
    EXPECT_EQ(e.branchMoves[0][2], P("dp"));
    EXPECT_EQ(messages.Text(), "\r\n MainMoves : 2");
}

TEST_F(EditingWindowTest, SetupInputShowsThePaletteAndButtonsChooseTheColour) {
    MakeMainLine("");
    ClickAt(kMakeBar);
    ClickAt(kSetupInput);
    EXPECT_EQ(e.inputMode, 3);
    EXPECT_TRUE(palette.isVisible());
    ClickPoint("cc");
    ClickPoint("dd", Qt::RightButton);
    ClickPoint("ee", Qt::LeftButton, Qt::AltModifier);  // Alt stands for the right button
    QImage shown = Shown();
    EXPECT_LT(qGray(Centre(shown, "cc").rgb()), 90);
    EXPECT_GT(qGray(Centre(shown, "dd").rgb()), 170);
    EXPECT_GT(qGray(Centre(shown, "ee").rgb()), 170);
    ClickPoint("dd");  // the other colour recolours
    EXPECT_EQ(e.board[P("dd")], kBlack);
    ClickPoint("dd");  // the same colour removes
    EXPECT_EQ(e.board[P("dd")], kEmpty);
    EXPECT_EQ(e.baseIndex, 2);
    ClickAt(kMoveInput);
    EXPECT_FALSE(palette.isVisible());
    // The first colour box turns the disc white.
    const QColor before = Shown().pixelColor(366, 411);
    ClickAt(kFirstColour);
    EXPECT_EQ(e.blackFirst, 0);
    EXPECT_LT(qGray(before.rgb()), 90);
    EXPECT_GT(qGray(Shown().pixelColor(366, 411).rgb()), 170);
    // The clear button works in setup input too, as its key does: with only setup stones left it clears
    // the board.
    ClickAt(kSetupInput);
    ClickAt(kClearToStart);
    EXPECT_EQ(e.baseIndex, 0);
    EXPECT_EQ(e.board[P("cc")], kEmpty);
    // Off the grid lines, inside where the stone was: the wood again.
    EXPECT_GT(qGray(Shown().pixelColor(e.geometry->CentreX(P("cc")) + 5, e.geometry->CentreY(P("cc")) + 5).rgb()), 90);
}

TEST_F(EditingWindowTest, AMarkOnABlackSetupStoneIsWhiteAndFollowsTheStone) {
    MakeMainLine("");
    ClickAt(kMakeBar);
    ClickAt(kSetupInput);
    const int plain = [&] {
        ClickPoint("bb");
        const int n = Count(Shown(), "bb", White);
        ClickPoint("bb");  // removed again
        return n;
    }();
    palette.ToolButton(5)->click();  // the triangle
    ClickPoint("bb");
    ASSERT_EQ(e.markGrid[P("bb")], MakeMark(kBlack, 5));
    const int marked = Count(Shown(), "bb", White);
    EXPECT_GT(marked, plain + 6) << "no white triangle on the black stone";
    // White captures it: the mark is not drawn on the empty point, and comes back with the take-back.
    ClickAt(kMoveInput);
    ClickAt(kFirstColour);  // white first
    for (const char* p : {"ab", "ee", "ba", "ff", "cb", "gg"}) ClickPoint(p);
    ASSERT_EQ(e.board[P("bb")], kBlack);
    ClickPoint("bc");
    ASSERT_EQ(e.board[P("bb")], kEmpty);
    const QImage captured = Shown();
    EXPECT_EQ(Count(captured, "bb", Blue), 0);
    EXPECT_EQ(qGray(Centre(captured, "bb").rgb()), qGray(Centre(captured, "jj").rgb()));  // bare board
    ClickPoint("jj", Qt::RightButton);                                                    // take back
    EXPECT_EQ(Count(Shown(), "bb", White), marked);
}

TEST_F(EditingWindowTest, ThePaletteKeepsOneButtonAndTheSpaceBarPlacesMarks) {
    MakeMainLine("");
    ClickAt(kMakeBar);
    ClickAt(kSetupInput);
    palette.ToolButton(2)->click();
    palette.ToolButton(11)->click();
    EXPECT_FALSE(palette.ToolButton(2)->isChecked());
    EXPECT_TRUE(palette.ToolButton(11)->isChecked());
    EXPECT_EQ(e.editing.selectedMark, 11);
    palette.ToolButton(11)->click();
    EXPECT_EQ(e.editing.selectedMark, 0);
    Key(Qt::Key_Space);  // pressed and released: no mark chosen, so no mark mode either
    QTest::keyPress(&w, Qt::Key_Space);
    EXPECT_FALSE(e.editing.markMode);
    Release(Qt::Key_Space, false);

    palette.ToolButton(3)->click();
    QTest::keyPress(&w, Qt::Key_Space);
    EXPECT_TRUE(e.editing.markMode);
    Release(Qt::Key_Space, true);  // X11's repeat of the held key
    EXPECT_TRUE(e.editing.markMode);
    ClickPoint("jj");
    EXPECT_EQ(e.markGrid[P("jj")], 3);
    EXPECT_EQ(e.board[P("jj")], kEmpty);  // no stone while marks are placed
    EXPECT_GT(Count(Shown(), "jj", Blue), 5);
    Release(Qt::Key_Space, false);
    EXPECT_FALSE(e.editing.markMode);
    ClickPoint("jj");
    EXPECT_EQ(e.board[P("jj")], kBlack);
    EXPECT_EQ(Count(Shown(), "jj", Blue), 0);  // the empty point's mark hides under the stone
}

TEST_F(EditingWindowTest, CallPassAndSwapFromTheToolColumn) {
    LoadRecordText(e, "(;GM[1]SZ[19];B[pd];W[dp](;B[pp])(;B[dd]))");
    w.Redraw();
    ClickAt(kPassButton);
    EXPECT_EQ(messages.Text(), " 黒 が パ ス !");
    e.ReturnToMainLine();
    e.StepForward();
    e.StepForward();
    ClickPoint("dd");  // into the variation
    ASSERT_NE(e.currentBranch, 0);
    dialogs.nextAnswer = Answer::Yes;
    ClickAt(kSwapBar);
    EXPECT_EQ(e.currentBranch, 0);
    EXPECT_EQ(e.branchMoves[0][3], P("dd"));

    ClickAt(kMakeBar);
    ClickPoint("jj");
    ClickAt(kCallBar);
    EXPECT_EQ(messages.Text(), "CALL NG ( You have to clear the board )");
    ClickAt(kTakeBack);
    ClickAt(kCallBar);
    EXPECT_EQ(e.baseIndex, 3);
    EXPECT_EQ(e.board[P("dd")], kBlack);
}

TEST_F(EditingWindowTest, KeysOfCreationModeAndThePalettesPlace) {
    MakeMainLine("");
    w.move(40, 60);
    ClickAt(kMakeBar);
    ClickAt(kSetupInput);
    ASSERT_TRUE(palette.isVisible());
    EXPECT_EQ(palette.pos(), QPoint(40 + 62, 60 + 447));  // under the board
    ClickPoint("cc");
    ClickAt(kMoveInput);
    ClickPoint("dd");
    ClickPoint("ee");
    Key(Qt::Key_Left);
    EXPECT_EQ(e.currentIndex, 2);
    Key(Qt::Key_Home);  // back to the setup stones
    EXPECT_EQ(e.currentIndex, 1);
    Key(Qt::Key_Home);  // and then an empty board
    EXPECT_EQ(e.currentIndex, 0);
    EXPECT_EQ(e.board[P("cc")], kEmpty);
    // Off the grid lines, cc shows the bare board as an untouched point does.
    const QImage shown = Shown();
    const auto nearCentre = [&](const char* at) {
        return shown.pixelColor(e.geometry->CentreX(P(at)) - 4, e.geometry->CentreY(P(at)) - 4);
    };
    EXPECT_LT(std::abs(qGray(nearCentre("cc").rgb()) - qGray(nearCentre("hh").rgb())), 40);
}

}  // namespace
}  // namespace quorvel::test
