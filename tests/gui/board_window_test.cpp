// The board window on the real widget: clicks on its pixel areas, keys, the wheel and the timer change the
// engine as the tables say, and the painted picture shows the position.
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QUrl>
#include <QWheelEvent>

#include "platform/gui/qt_text.h"
#include "board_window_fixture.h"
#include "formats/sgf_reader.h"

namespace quorvel::test {
namespace {

int Gray(const QColor& c) { return qGray(c.rgb()); }

// Pixels within `radius` of a point's centre that stand out from a stone of `colour`: the ink of its
// number. Also gives the bounding box of that ink.
struct Ink {
    int count = 0;
    QRect box;
};

class BoardWindowPixels : public BoardWindowTest {
protected:
    Ink InkOn(const QImage& img, const char* letters, int colour, int radius = 8) {
        const PointCode p = P(letters);
        const int cx = e.geometry->CentreX(p), cy = e.geometry->CentreY(p);
        Ink ink;
        for (int y = cy - radius; y <= cy + radius; ++y) {
            for (int x = cx - radius; x <= cx + radius; ++x) {
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) > radius * radius) continue;
                const int g = Gray(img.pixelColor(x, y));
                if (colour == kBlack ? g > 170 : g < 90) {
                    ++ink.count;
                    ink.box |= QRect(x, y, 1, 1);
                }
            }
        }
        return ink;
    }
    // Pixels in the hint letter colour around a point.
    int HintInk(const QImage& img, const char* letters) {
        const PointCode p = P(letters);
        int n = 0;
        for (int y = e.geometry->CentreY(p) - 12; y <= e.geometry->CentreY(p) + 12; ++y) {
            for (int x = e.geometry->CentreX(p) - 12; x <= e.geometry->CentreX(p) + 12; ++x) {
                const QColor c = img.pixelColor(x, y);
                if (c.green() > 215 && c.red() < 190 && c.blue() < 90) ++n;
            }
        }
        return n;
    }
};

// ---- Clicks on the navigation strip, the board and the switches ----

TEST_F(BoardWindowTest, NavigationButtonsStepAlongTheLine) {
    MakeMainLine("dd pp dp pd qq cc ee ff gg hh ii jj kk ll mm nn oo qr rr rs ss cq cr");
    ASSERT_EQ(e.lineEnd, 23);
    Click(NavigationButton(3).x(), NavigationButton(3).y());
    EXPECT_EQ(e.currentIndex, 1);
    Click(NavigationButton(4).x(), NavigationButton(4).y());
    EXPECT_EQ(e.currentIndex, 11);
    Click(NavigationButton(5).x(), NavigationButton(5).y());
    EXPECT_EQ(e.currentIndex, 23);
    EXPECT_EQ(messages.Text(), " No more moves.");
    Click(NavigationButton(2).x(), NavigationButton(2).y());
    EXPECT_EQ(e.currentIndex, 22);
    Click(NavigationButton(1).x(), NavigationButton(1).y());
    EXPECT_EQ(e.currentIndex, 12);
    Click(NavigationButton(0).x(), NavigationButton(0).y());
    EXPECT_EQ(e.currentIndex, 0);
    // The gap between two buttons does nothing.
    Click(313, 407);
    EXPECT_EQ(e.currentIndex, 0);
}

TEST_F(BoardWindowTest, RightClickStepsBackAndShiftClickGoesBackToTheStone) {
    MakeMainLine("dd pp dp pd qq cc");
    e.GoToEnd();
    ClickPoint("jj", Qt::RightButton);
    EXPECT_EQ(e.currentIndex, 5);
    ClickPoint("pp", Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(e.currentIndex, 2);
    EXPECT_EQ(e.lineMoves[e.currentIndex], P("pp"));
    // A plain click on a stone relocates it in the editing commands, which this window does not have: the
    // position stays.
    ClickPoint("dd");
    EXPECT_EQ(e.currentIndex, 2);
    // Beyond the board (x above 380) a right click is no board click.
    Click(390, 100, Qt::RightButton);
    EXPECT_EQ(e.currentIndex, 2);
}

TEST_F(BoardWindowTest, ClickOnTheNextMoveOrABranchFollowsItOnlyWithHintsOn) {
    MakeMainLine("dd pp dp");
    const int b = AddBranch(MakeOrigin(0, 0, 0), kBlack, "qd dc");
    Refresh();
    ClickPoint("qd");
    EXPECT_EQ(e.currentBranch, b);
    EXPECT_EQ(e.diagramBranch, b);
    EXPECT_EQ(e.currentIndex, 1);
    ClickPoint("dc");  // the line's own next move
    EXPECT_EQ(e.currentIndex, 2);

    e.ReturnToMainLine();
    e.ToggleHints();
    ClickPoint("dd");
    EXPECT_EQ(e.currentIndex, 0);
}

TEST_F(BoardWindowTest, VariationBoxesLeaveNestedVariationsStepByStep) {
    MakeMainLine("dd pp dp cc");
    const int b1 = AddBranch(MakeOrigin(0, 0, 0), kBlack, "qd dc qq");
    const int b2 = AddBranch(MakeOrigin(1, b1, 1), kBlack, "pc pd", 2);
    const int b3 = AddBranch(MakeOrigin(2, b2, 1), kBlack, "qc", 3);
    Refresh();
    // The boxes answer only when their condition holds: nothing to return to yet.
    Click(72, 407);
    Click(107, 407);
    Click(140, 407);
    EXPECT_EQ(e.currentBranch, 0);
    EXPECT_EQ(e.currentIndex, 0);

    ClickPoint("qd");
    ClickPoint("pc");
    ClickPoint("qc");
    ASSERT_EQ(e.currentBranch, b3);
    ASSERT_EQ(e.variationDepth, 2);
    Click(107, 407);  // back to the parent
    EXPECT_EQ(e.currentBranch, b2);
    EXPECT_EQ(e.variationDepth, 1);
    EXPECT_EQ(e.currentIndex, 2);
    Click(107, 407);  // the parent box is gone at depth 1
    EXPECT_EQ(e.currentBranch, b2);
    Click(140, 407);  // back to the diagram
    EXPECT_EQ(e.currentBranch, b1);
    EXPECT_EQ(e.variationDepth, 0);
    EXPECT_EQ(e.diagramBranch, b1);
    Click(72, 407);  // back to the main line
    EXPECT_EQ(e.currentBranch, 0);
    EXPECT_EQ(e.diagramBranch, 0);
}

TEST_F(BoardWindowTest, HintBoxFollowsAPassContinuationAndAsksNothingWithHintsOff) {
    MakeMainLine("dd pp dp");
    e.StepForward();
    const int b = AddBranch(MakeOrigin(0, 0, 1), kWhite, "-- qq");
    Refresh();
    ASSERT_TRUE(e.passHint);
    Click(180, 405);
    EXPECT_EQ(e.currentBranch, b);
    EXPECT_EQ(e.currentIndex, 2);

    // Hints off: the box shows the count and opens the variation chooser, which is not part of the
    // program yet and picks nothing.
    e.ReturnToMainLine();
    e.StepForward();
    e.ToggleHints();
    w.Redraw();
    ASSERT_EQ(e.hintCount, 1);
    Click(180, 405);
    EXPECT_EQ(e.currentBranch, 0);
    EXPECT_EQ(e.currentIndex, 1);
}

TEST_F(BoardWindowTest, PrisonerAndMoveNumberBoxesSwitchNumbersAndBranchMarking) {
    ASSERT_TRUE(e.settings.number);
    Click(20, 410);
    EXPECT_FALSE(e.settings.number);
    EXPECT_FALSE(w.markBranching());
    Click(420, 355, Qt::RightButton);
    EXPECT_TRUE(e.settings.number);
    EXPECT_TRUE(w.markBranching());
    Click(420, 355, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_FALSE(e.settings.number);
    EXPECT_TRUE(w.markBranching());
    Click(420, 355);
    EXPECT_FALSE(w.markBranching());
    // With the information panel the move-number box is not there.
    w.SetToolPanelShown(false);
    Click(420, 355);
    EXPECT_TRUE(e.settings.number);
}

TEST_F(BoardWindowTest, ALowClickNoAreaTakesAsksForTheTextWindow) {
    QSignalSpy asked(&w, &TForm2::textWindowRequested);
    Click(150, 435);  // below the comment-button strip
    Click(500, 420);  // right of the tool column
    EXPECT_EQ(asked.count(), 2);
    Click(300, 405);  // a navigation button
    Click(500, 300);  // not low enough
    Click(30, 420);   // the prisoner box
    EXPECT_EQ(asked.count(), 2);
}

TEST_F(BoardWindowTest, HintBarSwitchesTheHintsAndItsPicture) {
    auto barRed = [&] { return Shown().pixelColor(450, 75).red(); };
    const int on = barRed();
    Click(430, 70);
    EXPECT_FALSE(e.hintsShown);
    EXPECT_LT(barRed(), on - 60);  // the plain bar instead of the lit one
    Key(Qt::Key_F1);
    EXPECT_TRUE(e.hintsShown);
    EXPECT_EQ(barRed(), on);
}

TEST_F(BoardWindowTest, ALoadedRecordIsFollowedByClicksAndReadAgainByReSet) {
    LoadRecordText(e,
                   "(;GM[1]FF[4]SZ[19]PB[Kuro]PW[Shiro];B[pd];W[dp]C[two]"
                   "(;B[pp];W[dd])(;B[dd];W[pp])(;B[qq]))");
    w.Redraw();
    ClickPoint("pd");
    ClickPoint("dp");
    EXPECT_EQ(e.currentIndex, 2);
    EXPECT_EQ(messages.Text(), "two");
    EXPECT_EQ(e.hintLetters.size(), 3u);
    ClickPoint("qq");  // the branch lettered on 3-3
    EXPECT_NE(e.currentBranch, 0);
    EXPECT_EQ(e.board[P("qq")], kBlack);
    // "ReSet" reads the record again from its text and shows its start.
    Click(430, 335);
    EXPECT_EQ(e.currentBranch, 0);
    EXPECT_EQ(e.currentIndex, 0);
    EXPECT_EQ(e.lineEnd, 4);
    EXPECT_EQ(e.board[P("qq")], kEmpty);
}

// ---- Autoplay ----

TEST_F(BoardWindowTest, AutoplayControlsDriveTheTimer) {
    MakeMainLine("dd pp dp");
    QSignalSpy navigation(&w, &TForm2::navigationEnabledChanged);
    Click(410, 120);  // interval up
    Click(410, 120);
    EXPECT_EQ(e.autoplayInterval, 3000);
    EXPECT_EQ(w.timer().interval(), 3000);
    Click(428, 120);  // interval down
    EXPECT_EQ(e.autoplayInterval, 2000);
    EXPECT_EQ(w.timer().interval(), 2000);
    for (int i = 0; i < 10; ++i) Click(410, 120);
    EXPECT_EQ(e.autoplayInterval, 9000);

    Click(415, 140);  // backward at the start: nothing to play
    EXPECT_EQ(e.autoplayState, 0);
    Click(440, 140);  // forward
    EXPECT_EQ(e.autoplayState, 1);
    ASSERT_EQ(navigation.count(), 1);
    EXPECT_FALSE(navigation.at(0).at(0).toBool());
    // While autoplay runs, the board does not answer clicks.
    ClickPoint("jj", Qt::RightButton);
    w.Timer1Timer();
    EXPECT_EQ(e.currentIndex, 1);
    EXPECT_EQ(messages.Text(), "自動再生中");
    w.Timer1Timer();
    w.Timer1Timer();
    EXPECT_EQ(e.currentIndex, 3);
    EXPECT_EQ(e.autoplayState, 0);  // stopped by itself at the end
    ASSERT_EQ(navigation.count(), 2);
    EXPECT_TRUE(navigation.at(1).at(0).toBool());
    w.Timer1Timer();  // idle: nothing moves
    EXPECT_EQ(e.currentIndex, 3);

    Click(415, 140);  // backward
    EXPECT_EQ(e.autoplayState, 2);
    w.Timer1Timer();
    EXPECT_EQ(e.currentIndex, 2);
    Click(430, 165);  // STOP
    EXPECT_EQ(e.autoplayState, 0);
    EXPECT_EQ(messages.Text(), "");
}

// ---- Keys and wheel ----

TEST_F(BoardWindowTest, KeysStepFollowLettersAndControlAutoplay) {
    MakeMainLine("dd pp dp pd qq cc ee ff gg hh ii jj");
    const int b = AddBranch(MakeOrigin(0, 0, 1), kWhite, "qd");
    Key(Qt::Key_Down);
    EXPECT_EQ(e.currentIndex, 10);
    Key(Qt::Key_Up);
    EXPECT_EQ(e.currentIndex, 0);
    Key(Qt::Key_Right);
    EXPECT_EQ(e.currentIndex, 1);
    Key(Qt::Key_B);  // the branch lettered "B"
    EXPECT_EQ(e.currentBranch, b);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(e.currentBranch, 0);
    Key(Qt::Key_End);
    EXPECT_EQ(e.currentIndex, 12);
    Key(Qt::Key_Left);
    EXPECT_EQ(e.currentIndex, 11);
    Key(Qt::Key_Home);
    EXPECT_EQ(e.currentIndex, 0);

    Key(Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(e.autoplayInterval, 2000);
    Key(Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(e.autoplayInterval, 1000);
    Key(Qt::Key_6, Qt::KeypadModifier);  // a hint key while idle: no branch starts at the start
    EXPECT_EQ(e.autoplayState, 0);
    Click(440, 140);
    ASSERT_EQ(e.autoplayState, 1);
    Key(Qt::Key_Right);  // other keys rest while autoplay runs
    EXPECT_EQ(e.currentIndex, 0);
    Key(Qt::Key_5, Qt::KeypadModifier);
    EXPECT_EQ(e.autoplayState, 0);
    // The digits of the main keyboard are not the numeric pad.
    Key(Qt::Key_4);
    EXPECT_EQ(e.autoplayState, 0);
    EXPECT_EQ(e.currentIndex, 0);
}

TEST_F(BoardWindowTest, WheelStepsForwardAndBack) {
    MakeMainLine("dd pp dp");
    auto wheel = [&](int delta) {
        QWheelEvent event(QPointF(100, 100), w.mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&w, &event);
    };
    wheel(120);
    wheel(120);
    EXPECT_EQ(e.currentIndex, 2);
    wheel(-120);
    EXPECT_EQ(e.currentIndex, 1);
    e.StartAutoplayForward();
    wheel(120);
    EXPECT_EQ(e.currentIndex, 1);
    e.StopAutoplay();
}

TEST_F(BoardWindowTest, StoneSoundIsSilentWithoutAnAudioDevice) {
    MakeMainLine("dd pp dp");
    e.settings.stoneSound = true;
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    EXPECT_EQ(e.currentIndex, 2);
}

TEST_F(BoardWindowTest, OnlyDroppedRecordsAreTakenAndOnlyWhileIdle) {
    QSignalSpy dropped(&w, &TForm2::recordDropped);
    auto drop = [&](const QString& path) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w, &enter);
        QDropEvent event(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w, &event);
        return enter.isAccepted();
    };
    EXPECT_TRUE(drop(QStringLiteral("/tmp/games/Game.Sgf")));
    ASSERT_EQ(dropped.count(), 1);
    EXPECT_EQ(dropped.at(0).at(0).toString(), QStringLiteral("/tmp/games/Game.Sgf"));
    EXPECT_FALSE(drop(QStringLiteral("/tmp/games/notes.txt")));
    EXPECT_EQ(dropped.count(), 1);
    MakeMainLine("dd pp");
    e.StartAutoplayForward();
    EXPECT_FALSE(drop(QStringLiteral("/tmp/games/other.sgf")));
    EXPECT_EQ(dropped.count(), 1);
    e.StopAutoplay();
}

// ---- The information panel ----

TEST_F(BoardWindowTest, InformationPanelShowsTheMemosAndHidesTheToolColumn) {
    e.memos.blackName = "黒番 太郎";
    e.memos.whiteName = "白番 花子";
    e.memos.info = "コミ : 6目半";
    MakeMainLine("dd pp dp");
    w.SetToolPanelShown(false);
    const QList<QPlainTextEdit*> memos = w.findChildren<QPlainTextEdit*>();
    ASSERT_EQ(memos.size(), 3);
    QStringList texts;
    for (QPlainTextEdit* m : memos) {
        EXPECT_TRUE(m->isVisibleTo(&w));
        EXPECT_TRUE(m->isReadOnly());
        texts << m->toPlainText();
    }
    EXPECT_TRUE(texts.contains(ToQString("黒番 太郎")));
    EXPECT_TRUE(texts.contains(ToQString("白番 花子")));
    EXPECT_TRUE(texts.contains(ToQString("コミ : 6目半")));
    // The autoplay controls are not there.
    Click(440, 140);
    EXPECT_EQ(e.autoplayState, 0);
    w.SetToolPanelShown(true);
    for (QPlainTextEdit* m : memos) EXPECT_FALSE(m->isVisibleTo(&w));
}

TEST_F(BoardWindowTest, MissingPicturesAreListedAndTheWindowStillWorks) {
    TForm2 bare(messages, dialogs, QStringLiteral("/nonexistent/quorvel"));
    EXPECT_FALSE(bare.missingPictures().isEmpty());
    bare.engine().ChangeBoardSize(9);
    bare.Redraw();
    EXPECT_FALSE(bare.picture().isNull());
}

// ---- Painted pixels ----

TEST_F(BoardWindowPixels, StonesAreDarkAndLightAndStarPointsStandOnTheirLines) {
    MakeMainLine("dd pp dp pd qq");
    e.GoToEnd();
    Click(20, 410);  // numbers off: only the last stone carries one
    const QImage img = Shown();
    EXPECT_LT(Gray(Centre(img, "dd")), 70);
    EXPECT_LT(Gray(Centre(img, "dp")), 70);
    EXPECT_GT(Gray(Centre(img, "pp")), 200);
    EXPECT_GT(Gray(Centre(img, "pd")), 200);
    EXPECT_GT(Gray(img.pixelColor(e.geometry->CentreX(P("kk")) + 5, e.geometry->CentreY(P("kk")) + 5)), 120);
    // The arm of a star point reaches two pixels right of its crossing, above the line.
    auto starArm = [&](const QImage& i, int col, int row) {
        const PointCode p = MakePoint(col, row);
        return Gray(i.pixelColor(e.geometry->CentreX(p) + 2, e.geometry->CentreY(p) - 1)) < 60;
    };
    for (int col = 1; col <= 19; ++col) {
        for (int row = 1; row <= 19; ++row) {
            if (e.board[MakePoint(col, row)] != kEmpty) continue;
            const bool star = (col == 4 || col == 10 || col == 16) && (row == 4 || row == 10 || row == 16);
            EXPECT_EQ(starArm(img, col, row), star) << col << "," << row;
        }
    }
    struct Size {
        int size;
        std::vector<std::pair<int, int>> stars;
    };
    const Size sizes[] = {{13, {{4, 4}, {4, 10}, {10, 4}, {10, 10}, {7, 7}}},
                          {9, {{3, 3}, {3, 7}, {7, 3}, {7, 7}, {5, 5}}},
                          {7, {{4, 4}}},
                          {6, {}}};
    for (const Size& s : sizes) {
        MakeMainLine("", s.size);
        const QImage board = Shown();
        for (int col = 1; col <= s.size; ++col) {
            for (int row = 1; row <= s.size; ++row) {
                const bool star = std::find(s.stars.begin(), s.stars.end(), std::make_pair(col, row)) !=
                                  s.stars.end();
                EXPECT_EQ(starArm(board, col, row), star) << s.size << " lines " << col << "," << row;
            }
        }
    }
}

// A mark kept in a move's node is drawn while that move is shown, and only then.
TEST_F(BoardWindowPixels, MarksOfAMoveShowWithItsPosition) {
    ASSERT_TRUE(LoadRecordText(e, "(;GM[1];B[dd]CR[jj]LB[kk:B];W[pp])"));
    const auto blueInk = [&](const QImage& img, const char* letters) {
        const PointCode p = P(letters);
        int n = 0;
        for (int y = e.geometry->CentreY(p) - 9; y <= e.geometry->CentreY(p) + 9; ++y) {
            for (int x = e.geometry->CentreX(p) - 9; x <= e.geometry->CentreX(p) + 9; ++x) {
                const QColor c = img.pixelColor(x, y);
                n += c.blue() > 200 && c.red() < 80 && c.green() < 80;
            }
        }
        return n;
    };
    const int shownAt[] = {0, 1, 2};
    for (int move : shownAt) {
        e.GoToStart();
        for (int k = 0; k < move; ++k) e.StepForward();
        w.Redraw();
        const QImage img = Shown();
        for (const char* point : {"jj", "kk"}) {
            if (move == 1) {
                EXPECT_GT(blueInk(img, point), 5) << point;
            } else {
                EXPECT_EQ(blueInk(img, point), 0) << point << " at move " << move;
            }
        }
    }
}

TEST_F(BoardWindowPixels, CapturedThenReplacedPointShowsTheNewerStoneWithItsNumber) {
    MakeMainLine("aa ba cc ab dd aa");
    e.GoToEnd();
    w.Redraw();
    const QImage img = Shown();
    // A white stone (light around its number) with a dark number on it, and nothing of the black stone.
    const PointCode p = P("aa");
    EXPECT_GT(Gray(img.pixelColor(e.geometry->CentreX(p) - 6, e.geometry->CentreY(p) + 5)), 180);
    EXPECT_GT(InkOn(img, "aa", kWhite).count, 5);
    // Stepping back before the capture shows the black stone with a light number.
    e.GoToStart();
    e.StepForward();
    w.Redraw();
    const QImage before = Shown();
    EXPECT_LT(Gray(before.pixelColor(e.geometry->CentreX(p) - 6, e.geometry->CentreY(p) + 5)), 70);
    EXPECT_GT(InkOn(before, "aa", kBlack).count, 5);
}

TEST_F(BoardWindowPixels, WithNumbersOffOnlyTheLastMoveIsNumbered) {
    MakeMainLine("dd pp dp pd qq");
    e.GoToEnd();
    QImage img = Shown();
    for (const char* m : {"dd", "dp", "qq"}) EXPECT_GT(InkOn(img, m, kBlack).count, 4) << m;
    for (const char* m : {"pp", "pd"}) EXPECT_GT(InkOn(img, m, kWhite).count, 4) << m;
    Click(20, 410);
    img = Shown();
    for (const char* m : {"dd", "dp"}) EXPECT_EQ(InkOn(img, m, kBlack).count, 0) << m;
    for (const char* m : {"pp", "pd"}) EXPECT_EQ(InkOn(img, m, kWhite).count, 0) << m;
    EXPECT_GT(InkOn(img, "qq", kBlack).count, 4);
}

TEST_F(BoardWindowPixels, NumbersFitTheirStonesAndThreeDigitsUseTheSmallFont) {
    MakeMainLine("jj jd");
    e.GoToEnd();
    auto inkFor = [&](int number, const char* letters, int colour) {
        e.firstMoveNumber = number - (e.currentIndex - 1);
        w.Redraw();
        return InkOn(Shown(), letters, colour);
    };
    const Ink two = inkFor(42, "jd", kWhite);
    const Ink three = inkFor(123, "jd", kWhite);
    // Size 8 for three digits keeps "123" on the 19-pixel stone, lower than the two digits of size 10.
    EXPECT_LE(three.box.width(), 17);
    EXPECT_GE(three.box.width(), 9);
    EXPECT_LT(three.box.height(), two.box.height());
    const PointCode p = P("jd");
    for (const Ink& ink : {two, three}) {
        EXPECT_NEAR(ink.box.center().x(), e.geometry->CentreX(p), 2);
        EXPECT_NEAR(ink.box.center().y(), e.geometry->CentreY(p), 2);
    }
    // On the larger boards the numbers sit in the middle of their stones too.
    for (int size : {13, 9}) {
        MakeMainLine("dd cc", size);
        e.GoToEnd();
        const int radius = size == 13 ? 13 : 19;
        for (int colour : {kBlack, kWhite}) {
            const char* on = colour == kBlack ? "dd" : "cc";
            for (int number : {7, 42, 123}) {
                e.firstMoveNumber = number - (colour == kBlack ? 0 : 1);
                w.Redraw();
                const Ink ink = InkOn(Shown(), on, colour, radius);
                const PointCode at = P(on);
                EXPECT_GT(ink.count, 10) << size << " lines, " << number;
                EXPECT_NEAR(ink.box.center().x(), e.geometry->CentreX(at), 2) << size << " lines, " << number;
                EXPECT_NEAR(ink.box.center().y(), e.geometry->CentreY(at), 2) << size << " lines, " << number;
            }
        }
    }
}

TEST_F(BoardWindowPixels, MarksShowOnlyWhileTheirPointHoldsWhatTheyBelongTo) {
    // A square on a black setup stone, a triangle and a circle on empty points; black's move 2 fills the
    // circle's point.
    LoadRecordText(e, "(;GM[1]FF[4]SZ[19]AB[dd]SQ[dd]TR[jj]CR[cc];W[pp];B[cc])");
    ASSERT_EQ(e.markGrid[P("dd")], MakeStone(kBlack, 1));
    auto blue = [&](const QImage& img, const char* letters) {
        const PointCode p = P(letters);
        int n = 0;
        for (int y = e.geometry->CentreY(p) - 9; y <= e.geometry->CentreY(p) + 9; ++y) {
            for (int x = e.geometry->CentreX(p) - 9; x <= e.geometry->CentreX(p) + 9; ++x) {
                const QColor c = img.pixelColor(x, y);
                if (c.blue() > 180 && c.red() < 100 && c.green() < 100) ++n;
            }
        }
        return n;
    };
    w.Redraw();
    QImage img = Shown();
    EXPECT_GT(InkOn(img, "dd", kBlack).count, 3);  // the square, white on the black stone
    EXPECT_GT(blue(img, "jj"), 5);
    EXPECT_GT(blue(img, "cc"), 5);
    Key(Qt::Key_End);
    img = Shown();
    EXPECT_EQ(blue(img, "cc"), 0);  // the stone hides the empty point's mark
    EXPECT_GT(blue(img, "jj"), 5);
    EXPECT_GT(InkOn(img, "dd", kBlack).count, 3);
}

TEST_F(BoardWindowPixels, HintLettersMarkEveryContinuationAndGoWithTheSwitch) {
    MakeMainLine("dd pp dp");
    e.StepForward();
    AddBranch(MakeOrigin(0, 0, 1), kWhite, "qd");
    AddBranch(MakeOrigin(0, 0, 1), kWhite, "cc");
    Refresh();
    QImage img = Shown();
    for (const char* p : {"pp", "qd", "cc"}) EXPECT_GT(HintInk(img, p), 8) << p;
    EXPECT_EQ(HintInk(img, "jj"), 0);
    Key(Qt::Key_F1);
    img = Shown();
    for (const char* p : {"pp", "qd", "cc"}) EXPECT_EQ(HintInk(img, p), 0) << p;
    // With hints off the hint box shows the number of branches.
    EXPECT_EQ(img.pixelColor(168, 400), QColor(255, 255, 240));
}

TEST_F(BoardWindowPixels, CoordinateBoxFollowsTheMouse) {
    e.settings.showXY = true;
    const PointCode p = P("cc");
    const QPoint at(e.geometry->CentreX(p) + 3, e.geometry->CentreY(p) - 4);
    QMouseEvent move(QEvent::MouseMove, QPointF(at), w.mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&w, &move);
    EXPECT_EQ(e.hover.x, e.geometry->CentreX(p));
    EXPECT_EQ(e.hover.y, e.geometry->CentreY(p));
    const QImage img = Shown();
    EXPECT_EQ(img.pixelColor(e.hover.x + 40, e.hover.y + 20), QColor(255, 255, 224));
    // Near the right and bottom edges the box moves to the other side of the point.
    const PointCode corner = P("ss");
    const QPoint edge(e.geometry->CentreX(corner), e.geometry->CentreY(corner));
    QMouseEvent far(QEvent::MouseMove, QPointF(edge), w.mapToGlobal(QPointF(edge)), Qt::NoButton,
                    Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &far);
    const QImage img2 = Shown();
    EXPECT_EQ(img2.pixelColor(e.hover.x - 10, e.hover.y - 10), QColor(255, 255, 224));
}

}  // namespace
}  // namespace quorvel::test
