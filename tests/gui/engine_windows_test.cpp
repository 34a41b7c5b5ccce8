// The review window and the game against the engine on the real board window, with GNU Go at level 0 on
// 9 lines: the window's own buttons, list and graph clicked, the board checked after each click.
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include "board_window_fixture.h"
#include "formats/board_diagram.h"
#include "formats/sgf_writer.h"
#include "gtp/gui/engine_game.h"
#include "gtp/gui/review_dialog.h"
#include "platform/gui/qt_net_ports.h"
#include "platform/gui/qt_text.h"

namespace quorvel::test {
namespace {

constexpr char kNine[] = "ee cc gc cg ge dd ed dc ec eg gg";

class EngineWindowsTest : public BoardWindowTest {
  protected:
    void Start(const std::string& commandLine = "gnugo --mode gtp --level 0") {
        worker = std::make_unique<gtp::EngineWorker>(events, commandLine);
    }
    template <typename Done>
    bool WaitUntil(Done done) {
        for (int i = 0; i < 400 && !done(); ++i) QTest::qWait(25);
        return done();
    }
    QtEventPort events{&w};
    std::unique_ptr<gtp::EngineWorker> worker;
};

TEST_F(EngineWindowsTest, AReviewScoresEveryMoveAndItsListAndGraphGoToTheMoves) {
    MakeMainLine(kNine, 9);
    Start();
    gtp::ReviewDialog review(w, *worker);
    review.Start();
    ASSERT_TRUE(WaitUntil([&] { return !review.Running(); }));
    ASSERT_TRUE(review.lastError().empty()) << review.lastError();
    ASSERT_TRUE(review.result().complete);
    EXPECT_EQ(review.result().blackLead.size(), 12u);  // the start and eleven moves
    EXPECT_EQ(review.progress()->value(), review.progress()->maximum());
    EXPECT_FALSE(review.cancelButton()->isEnabled());

    const std::vector<gtp::Loss> losses = gtp::LargestLosses(review.result(), 10);
    ASSERT_EQ(review.losses()->count(), static_cast<int>(losses.size()));
    ASSERT_GT(losses.size(), 0u);
    // The list's first line is the largest loss; a click shows the position after that move.
    QListWidget* list = review.losses();
    const QRect first = list->visualItemRect(list->item(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, first.center());
    EXPECT_EQ(e.currentIndex, losses[0].move);
    EXPECT_TRUE(list->item(0)->text().startsWith(QStringLiteral("%1").arg(losses[0].move, 3)));

    // A click on the graph at move 5 shows move 5.
    review.resize(460, 420);
    review.show();
    gtp::ScoreGraph* graph = review.graph();
    QTest::mouseClick(graph, Qt::LeftButton, Qt::NoModifier, QPoint(graph->XOfMove(5), graph->height() / 2));
    EXPECT_EQ(e.currentIndex, 5);
    // The graph draws Black's lead above its middle and White's below, where the scores say.
    const QImage drawn = graph->grab().toImage();
    const double lead = review.result().blackLead[6];
    const QColor line = drawn.pixelColor(graph->XOfMove(6), graph->YOfLead(lead));
    EXPECT_GT(line.red(), line.blue() + 60) << "no score line at move 6: " << line.name().toStdString();

    // Kept in the record: move 6's comment holds its score, and the record counts as changed.
    ASSERT_TRUE(review.keepButton()->isEnabled());
    QTest::mouseClick(review.keepButton(), Qt::LeftButton);
    EXPECT_TRUE(e.recordModified);
    EXPECT_EQ(e.currentIndex, 5);
    e.StepForward();
    std::string comment;
    ASSERT_TRUE(e.BeginCommentEdit(comment));
    EXPECT_EQ(comment.rfind("評価: " + gtp::ScoreText(lead), 0), 0u) << comment;
}

TEST_F(EngineWindowsTest, CancelStopsTheReviewAndKeepsWhatWasScored) {
    MakeMainLine(kNine, 9);
    Start();
    gtp::ReviewDialog review(w, *worker);
    review.Start();
    QTest::mouseClick(review.cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(review.Running());
    EXPECT_TRUE(review.status()->text().startsWith(ToQString("中止しました")));
    const std::size_t kept = review.result().blackLead.size();
    QTest::qWait(300);  // the worker's later events are dropped
    EXPECT_EQ(review.result().blackLead.size(), kept);
    EXPECT_TRUE(review.status()->text().startsWith(ToQString("中止しました")));
    // The board is as it was and a new review runs to its end.
    EXPECT_EQ(e.lineEnd, 11);
    review.Start();
    ASSERT_TRUE(WaitUntil([&] { return !review.Running(); }));
    EXPECT_TRUE(review.result().complete);
}

TEST_F(EngineWindowsTest, AReviewWithoutAnEngineSaysWhy) {
    MakeMainLine(kNine, 9);
    Start("no-such-engine-of-quorvel");
    gtp::ReviewDialog review(w, *worker);
    review.Start();
    ASSERT_TRUE(WaitUntil([&] { return !review.Running(); }));
    EXPECT_TRUE(review.status()->text().contains(ToQString("見つかりません")));
    EXPECT_EQ(review.losses()->count(), 0);
}

class EngineGameTest : public EngineWindowsTest {
  protected:
    void NewGame() {
        e.NewRecord();
        if (e.replayMode) e.SwitchToCreationMode();
        e.ChangeBoardSize(9);
        w.Redraw();
    }
    int Colour(int k) const { return LineEntryColour(e, k); }
};

TEST_F(EngineGameTest, TheEngineAnswersEachMoveAndTheGameIsTheRecord) {
    Start();
    NewGame();
    gtp::EngineGame game(w, *worker);
    game.Start(kWhite);
    EXPECT_FALSE(game.thinking());  // Black, the player, begins

    ClickPoint("ee");
    ASSERT_EQ(e.lineEnd, 1);
    EXPECT_TRUE(game.thinking());
    ASSERT_TRUE(WaitUntil([&] { return e.lineEnd == 2 && !game.thinking(); }))
        << FromQString(game.statusText());
    const PointCode answer = e.lineMoves[2];
    EXPECT_NE(answer, P("ee"));
    EXPECT_EQ(Colour(2), kWhite);
    EXPECT_EQ(e.board[answer], kWhite) << "White's answer is not on the board";

    // A pass of the player: the engine still answers, and the colours keep alternating.
    w.PassClick();
    ASSERT_TRUE(WaitUntil([&] { return e.lineEnd >= 4 || !game.playing(); }))
        << FromQString(game.statusText());
    ASSERT_TRUE(game.playing()) << FromQString(game.statusText());
    EXPECT_EQ(e.lineMoves[3], kPass);
    for (int k = 1; k <= e.lineEnd; ++k) EXPECT_EQ(Colour(k), k % 2 == 1 ? kBlack : kWhite) << k;
    EXPECT_EQ(e.ColourToMove(), kBlack);

    // Saved like any record made in creation mode (its line): the moves in their order, the engine's
    // among them.
    const std::string sgf = CurrentLineText(e);
    EXPECT_NE(sgf.find(";B[ee];W[" + SgfPointText(answer) + "]"), std::string::npos) << sgf;
}

TEST_F(EngineGameTest, TheEngineWithBlackMovesFirst) {
    Start();
    NewGame();
    gtp::EngineGame game(w, *worker);
    game.Start(kBlack);
    ASSERT_TRUE(WaitUntil([&] { return e.lineEnd == 1 && !game.thinking(); }))
        << FromQString(game.statusText());
    EXPECT_EQ(Colour(1), kBlack);
    EXPECT_EQ(e.ColourToMove(), kWhite);
    EXPECT_TRUE(game.statusText().startsWith(ToQString("あなたの番です")));
    // Stopped: the player's moves get no answer.
    game.Stop();
    ClickPoint("cc");
    QTest::qWait(200);
    EXPECT_EQ(e.lineEnd, 2);
}

}  // namespace
}  // namespace quorvel::test
