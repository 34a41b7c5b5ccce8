// Screenshots of the engine's windows for looking at them as a user does: the candidates on the board,
// the review window with its graph, a game against the engine. Written only when QUORVEL_SCREENSHOTS
// names a folder (scripts/screenshots.sh sets it); otherwise the test is skipped.
#include <QDir>
#include <QListWidget>

#include "board_window_fixture.h"
#include "gtp/gui/board_analysis.h"
#include "gtp/gui/engine_game.h"
#include "gtp/gui/review_dialog.h"
#include "platform/gui/qt_net_ports.h"

namespace quorvel::test {
namespace {

// An opening of 40 moves on 19 lines.
constexpr char kGame19[] =
    "pd dp pp dd fq qf nc cn jj qn nq dj jd cf fc qj jq nd dn oq qo pq qp cq dq cp eq do ep co bn bo bm bp "
    "em fp qe re rf rg";

class EngineScreenshots : public BoardWindowTest {
  protected:
    void SetUp() override {
        dir_ = qEnvironmentVariable("QUORVEL_SCREENSHOTS");
        if (dir_.isEmpty()) GTEST_SKIP() << "QUORVEL_SCREENSHOTS names no folder";
        QDir().mkpath(dir_);
        worker = std::make_unique<gtp::EngineWorker>(events, "gnugo --mode gtp --level 1");
    }
    QString Path(const char* name) const { return dir_ + QLatin1Char('/') + QLatin1String(name); }
    template <typename Done>
    void WaitUntil(Done done) {
        for (int i = 0; i < 600 && !done(); ++i) QTest::qWait(25);
    }
    QString dir_;
    QtEventPort events{&w};
    std::unique_ptr<gtp::EngineWorker> worker;
};

TEST_F(EngineScreenshots, CandidatesReviewAndGame) {
    MakeMainLine(kGame19);
    e.GoToEnd();
    w.SetToolPanelShown(false);
    {
        gtp::BoardAnalysis analysis(w, *worker);
        analysis.SetActive(true);
        WaitUntil([&] { return analysis.shownAnalysis() != nullptr; });
        ASSERT_NE(analysis.shownAnalysis(), nullptr);
        EXPECT_TRUE(Shown().save(Path("engine_candidates.png")));
        w.SetToolPanelShown(true);
        EXPECT_TRUE(Shown().save(Path("engine_candidates_tools.png")));
        w.SetToolPanelShown(false);
    }
    {
        gtp::ReviewDialog review(w, *worker);
        review.show();
        review.Start();
        WaitUntil([&] { return !review.Running(); });
        ASSERT_TRUE(review.result().complete);
        review.GoToMove(25);
        EXPECT_TRUE(review.grab().save(Path("engine_review.png")));
    }
    e.NewRecord();
    if (e.replayMode) e.SwitchToCreationMode();
    e.ChangeBoardSize(9);
    w.Redraw();
    gtp::EngineGame game(w, *worker);
    game.Start(kWhite);
    for (const char* p : {"ee", "cc", "gg", "cg"}) {
        if (!game.playing()) break;
        if (e.board[P(p)] != kEmpty) continue;
        ClickPoint(p);
        WaitUntil([&] { return !game.thinking(); });
    }
    EXPECT_GE(e.lineEnd, 4);
    EXPECT_TRUE(Shown().save(Path("engine_game.png")));
}

}  // namespace
}  // namespace quorvel::test
