// The analysis on the real board window: F8 on the window, GNU Go at level 0 (or the streaming stand-in)
// answering off the window thread, the candidates and the score painted where the window shows them.
#include "gtp/gui/board_analysis.h"

#include <QApplication>
#include <QMouseEvent>

#include "board_window_fixture.h"
#include "platform/gui/qt_net_ports.h"
#include "platform/gui/qt_text.h"

namespace quorvel::test {
namespace {

// An opening on 9 lines; after it White is to play.
constexpr char kNine[] = "ee cc gc cg ge dd ed dc ec eg gg";

class BoardAnalysisTest : public BoardWindowTest {
  protected:
    void Start(const std::string& commandLine) {
        worker = std::make_unique<gtp::EngineWorker>(events, commandLine);
        analysis = std::make_unique<gtp::BoardAnalysis>(w, *worker);
    }
    // Waits until the shown position's answer is painted (or the analysis went off).
    bool WaitForAnswer() {
        for (int i = 0; i < 200; ++i) {
            if (analysis->shownAnalysis() || !analysis->active()) return true;
            QTest::qWait(25);
        }
        return false;
    }
    QColor At(const QImage& img, PointCode p) const {
        return img.pixelColor(e.geometry->CentreX(p) + 3, e.geometry->CentreY(p) + 3);
    }

    // The pointer resting at (x, y): the move event the window gets from the system.
    void PointerTo(int x, int y) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y), w.mapToGlobal(QPointF(x, y)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&w, &move);
    }

    QtEventPort events{&w};
    std::unique_ptr<gtp::EngineWorker> worker;
    std::unique_ptr<gtp::BoardAnalysis> analysis;
};

TEST_F(BoardAnalysisTest, F8ShowsTheCandidatesOfEachPositionSteppedTo) {
    MakeMainLine(kNine, 9);
    e.GoToEnd();
    w.Redraw();
    Start("gnugo --mode gtp --level 0");
    const QImage before = Shown();

    Key(Qt::Key_F8);
    ASSERT_TRUE(analysis->active());
    ASSERT_TRUE(WaitForAnswer());
    const gtp::Analysis* a = analysis->shownAnalysis();
    ASSERT_NE(a, nullptr) << FromQString(analysis->ScoreLine());
    ASSERT_FALSE(a->candidates.empty());
    EXPECT_EQ(a->toMove, kWhite);
    EXPECT_TRUE(analysis->ScoreLine().startsWith(ToQString("形勢 ")));
    const QImage shown = Shown();
    // The best candidate is a blue disc on an empty point; the information panel's line has its text.
    const QColor best = At(shown, a->candidates[0].point);
    EXPECT_GT(best.blue(), best.red() + 60) << best.name().toStdString();
    EXPECT_NE(At(before, a->candidates[0].point), best);
    EXPECT_NE(shown.copy(410, 186, 152, 20), before.copy(410, 186, 152, 20));

    // A step back: the next answer is Black's, for the position shown.
    Key(Qt::Key_Left);
    ASSERT_TRUE(WaitForAnswer());
    ASSERT_NE(analysis->shownAnalysis(), nullptr);
    EXPECT_EQ(analysis->shownAnalysis()->toMove, kBlack);
    for (const gtp::Candidate& c : analysis->shownAnalysis()->candidates) {
        EXPECT_TRUE(e.IsPlayable(c.point)) << gtp::VertexText(c.point, 9);
    }

    // F8 again: the board is as it was before, the panel line gone.
    Key(Qt::Key_Right);
    Key(Qt::Key_F8);
    EXPECT_FALSE(analysis->active());
    EXPECT_EQ(Shown(), before);
}

TEST_F(BoardAnalysisTest, QuickStepsAskOnlyForThePositionShown) {
    MakeMainLine(kNine, 9);
    Start("gnugo --mode gtp --level 0");
    Key(Qt::Key_F8);
    for (int i = 0; i < 11; ++i) Key(Qt::Key_Right);
    ASSERT_TRUE(WaitForAnswer());
    const gtp::Analysis* a = analysis->shownAnalysis();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->toMove, kWhite);  // the answer of the last position, never one stepped past
    for (const gtp::Candidate& c : a->candidates)
        EXPECT_TRUE(e.IsPlayable(c.point)) << gtp::VertexText(c.point, 9);
}

TEST_F(BoardAnalysisTest, AnEngineThatCannotStartTurnsTheAnalysisOffAndSaysWhy) {
    MakeMainLine(kNine, 9);
    e.GoToEnd();
    w.Redraw();
    Start("no-such-engine-of-quorvel");
    const int entries = e.lineEnd;
    Key(Qt::Key_F8);
    ASSERT_TRUE(WaitForAnswer());
    EXPECT_FALSE(analysis->active());
    EXPECT_EQ(analysis->lastError(), "エンジン「no-such-engine-of-quorvel」が見つかりません。");
    EXPECT_TRUE(analysis->ScoreLine().contains(ToQString("見つかりません")));
    // The record is untouched and the window still steps.
    EXPECT_EQ(e.lineEnd, entries);
    Key(Qt::Key_Left);
    EXPECT_EQ(e.currentIndex, entries - 1);
}

TEST_F(BoardAnalysisTest, ThePointerOnACandidateShowsItsVariation) {
    MakeMainLine("ee", 9);
    e.GoToEnd();
    w.Redraw();
    Start(std::string(QUORVEL_PYTHON3) + " " + QUORVEL_TEST_SERVERS + "/../engine/fake_kata_engine.py");
    analysis->SetStreamTime(std::chrono::milliseconds(300));
    Key(Qt::Key_F8);
    ASSERT_TRUE(WaitForAnswer());
    const gtp::Analysis* a = analysis->shownAnalysis();
    ASSERT_NE(a, nullptr) << FromQString(analysis->ScoreLine());
    EXPECT_TRUE(analysis->ScoreLine().contains(ToQString("白勝率 61.0%")));
    // The stand-in's best move C3 continues with D4 for Black.
    const PointCode c3 = MakePoint(3, 7);
    const PointCode d4 = MakePoint(4, 6);
    ASSERT_EQ(a->candidates[0].point, c3);
    const QColor d4Before = At(Shown(), d4);
    PointerTo(e.geometry->CentreX(c3), e.geometry->CentreY(c3));
    const QColor d4Shown = At(Shown(), d4);
    EXPECT_LT(d4Shown.value(), 80) << "no black stone of the variation on D4: "
                                   << d4Shown.name().toStdString();
    PointerTo(e.geometry->CentreX(MakePoint(8, 8)), e.geometry->CentreY(MakePoint(8, 8)));
    EXPECT_EQ(At(Shown(), d4), d4Before);
}

}  // namespace
}  // namespace quorvel::test
