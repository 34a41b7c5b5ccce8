// The engine connection on real engines: GNU Go at its lowest level on small boards (as the install script
// installs it), a stand-in that streams like kata-analyze, and programs that are no GTP engine at all.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "engine_fixture.h"
#include "formats/sgf_reader.h"
#include "gtp/analysis.h"
#include "gtp/engine_settings.h"
#include "gtp/engine_worker.h"
#include "platform/file_io.h"

namespace quorvel::gtp {
namespace {

const char* const kGnuGo = "gnugo --mode gtp --level 0";

class GnuGoTest : public test::EngineTest {
  protected:
    void SetUp() override {
        ASSERT_FALSE(FindProgram("gnugo").empty())
            << "GNU Go is missing: scripts/install-deps.sh installs it";
        std::string error;
        ASSERT_TRUE(engine.Start(kGnuGo, error)) << error;
    }
    void Load(const std::string& sgf) {
        ASSERT_TRUE(LoadRecordText(e, sgf));
        e.GoToEnd();
    }
    GtpClient engine;
};

TEST_F(GnuGoTest, CandidatesAreLegalMovesOfTheSideToMove) {
    // White to move; the black stones around D5 leave points where a white stone would be suicide.
    Load("(;GM[1]SZ[9]KM[6.5];B[ee];W[cc];B[gc];W[cg];B[ge];W[dd];B[ed];W[dc];B[ec];W[eg];B[gg])");
    ASSERT_EQ(e.ColourToMove(), kWhite);
    const GamePosition position = LinePosition(e, e.currentIndex);
    EXPECT_EQ(position.toMove, kWhite);
    EXPECT_EQ(position.moves.size(), 11u);
    std::string error;
    ASSERT_TRUE(SendPosition(engine, position, error)) << error;
    Analysis a;
    ASSERT_TRUE(AnalyseSentPosition(engine, position.toMove, 9, a, error)) << error;
    ASSERT_FALSE(a.candidates.empty());
    EXPECT_EQ(a.toMove, kWhite);
    for (const Candidate& c : a.candidates) {
        ASSERT_NE(c.point, kPass);
        EXPECT_TRUE(e.IsOnBoard(c.point)) << VertexText(c.point, 9);
        EXPECT_TRUE(e.IsPlayable(c.point)) << VertexText(c.point, 9) << " is no legal move for White";
    }
    // The same candidates are legal for the engine too: it takes the best as White's move.
    EXPECT_TRUE(engine.Send(std::string("play W ") + VertexText(a.candidates[0].point, 9)).ok);
    EXPECT_TRUE(a.blackLead.has_value());
}

TEST_F(GnuGoTest, TheScoreFavoursTheSideThatOwnsTheBoard) {
    // A black wall on the sixth column and a white one on the seventh: Black has five columns behind it,
    // White two; swapped, White has the five.
    std::string black;
    std::string white;
    for (char row = 'a'; row <= 'i'; ++row) {
        black += std::string("[f") + row + "]";
        white += std::string("[g") + row + "]";
    }
    for (const bool swapped : {false, true}) {
        Load("(;GM[1]SZ[9]KM[6.5]AB" + (swapped ? white : black) + "AW" + (swapped ? black : white) + ")");
        std::string error;
        ASSERT_TRUE(SendPosition(engine, LinePosition(e, e.currentIndex), error)) << error;
        const auto lead = SentPositionScore(engine, kBlack, 9, error);
        ASSERT_TRUE(lead) << error;
        if (swapped) {
            EXPECT_LT(*lead, 0) << "White owns five columns, Black two";
        } else {
            EXPECT_GT(*lead, 0) << "Black owns five columns, White two";
        }
    }
}

TEST_F(GnuGoTest, AReviewGivesOneFigurePerMove) {
    Load("(;GM[1]SZ[9]KM[6.5]AB[cc];W[gg];B[gc];W[cg];B[ee];W[tt];B[ef])");
    const GamePosition line = LinePosition(e, e.lineEnd);
    ASSERT_EQ(line.setupStones, 1);
    std::vector<int> seen;
    Review r;
    std::string error;
    ASSERT_TRUE(ReviewLine(
        engine, line,
        [&](int done, int total) {
            seen.push_back(done * 100 + total);
            return true;
        },
        r, error))
        << error;
    EXPECT_TRUE(r.complete);
    EXPECT_TRUE(r.scoresIgnoreTurn);
    ASSERT_EQ(r.blackLead.size(), 7u);  // the start and six moves
    EXPECT_EQ(r.colours, (std::vector<int>{0, kWhite, kBlack, kWhite, kBlack, kWhite, kBlack}));
    EXPECT_EQ(r.points[5], kPass);
    EXPECT_EQ(seen, (std::vector<int>{107, 207, 307, 407, 507, 607, 707}));
    const std::vector<Loss> losses = LargestLosses(r, 3);
    for (std::size_t i = 0; i < losses.size(); ++i) {
        EXPECT_GT(losses[i].points, 0);
        if (i > 0) {
            EXPECT_GE(losses[i - 1].points, losses[i].points);
        }
        // GNU Go's score counts the board as it stands: a move is judged from its player's move before.
        const int k = losses[i].move;
        ASSERT_GE(k, 2);
        const double change = r.blackLead[k] - r.blackLead[k - 2];
        EXPECT_DOUBLE_EQ(losses[i].points, r.colours[k] == kBlack ? -change : change);
    }
    // Stopped after the third position: false without a message, the three figures kept.
    ASSERT_FALSE(ReviewLine(
        engine, line, [](int done, int) { return done < 3; }, r, error));
    EXPECT_TRUE(error.empty());
    EXPECT_FALSE(r.complete);
    EXPECT_EQ(r.blackLead.size(), 3u);
}

TEST_F(GnuGoTest, RefusalsAndUnknownCommandsLeaveTheEngineUsable) {
    const GtpReply unknown = engine.Send("frobnicate");
    EXPECT_FALSE(unknown.ok);
    EXPECT_FALSE(unknown.failed);
    EXPECT_EQ(unknown.text, "unknown command");
    Load("(;GM[1]SZ[9];B[ee];W[ee])");  // a record that plays onto a stone
    std::string error;
    EXPECT_FALSE(SendPosition(engine, LinePosition(e, 2), error));
    EXPECT_EQ(error.rfind("2 手目 (E5) をエンジンが受け付けません", 0), 0u) << error;
    EXPECT_TRUE(engine.Running());
    const GtpReply name = engine.Send("name");
    EXPECT_TRUE(name.ok);
    EXPECT_EQ(name.text, "GNU Go");
    // A multi-line answer keeps its lines.
    EXPECT_NE(engine.Send("showboard").text.find('\n'), std::string::npos);
}

TEST(GtpClient, ProgramsThatAreNoEngineGiveTheirReason) {
    GtpClient c;
    std::string error;
    EXPECT_FALSE(c.Start("no-such-engine-of-quorvel --gtp", error));
    EXPECT_EQ(error, "エンジン「no-such-engine-of-quorvel」が見つかりません。");
    EXPECT_FALSE(c.Start("gnugo --mode 'gtp", error));
    EXPECT_NE(error.find("引用符"), std::string::npos);
    EXPECT_FALSE(c.Start("/bin/echo hello", error));
    EXPECT_EQ(error, "エンジン「/bin/echo」の答えが GTP ではありません: hello");
    EXPECT_FALSE(c.Start("/bin/sh -c 'read line; exit 3'", error));
    EXPECT_EQ(error, "エンジン「/bin/sh」が終了しました (list_commands)。");
    EXPECT_FALSE(c.Running());
    // A silent program is stopped at the limit, not waited for.
    const auto before = std::chrono::steady_clock::now();
    EXPECT_FALSE(c.Start("/bin/sleep 60", error, std::chrono::milliseconds(300)));
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));
    EXPECT_NE(error.find("答えません"), std::string::npos) << error;
    EXPECT_FALSE(c.Running());
    EXPECT_TRUE(c.Send("name").failed);
}

TEST(GtpClient, AStreamingEngineIsReadAndStopped) {
    GtpClient c;
    std::string error;
    ASSERT_TRUE(c.Start(
        std::string(QUORVEL_PYTHON3) + " " + QUORVEL_SOURCE_DIR + "/tests/engine/fake_kata_engine.py", error))
        << error;
    ASSERT_TRUE(c.Knows("kata-analyze"));
    ASSERT_FALSE(c.Knows("top_moves_black"));
    GamePosition p;
    p.boardSize = 9;
    p.moves = {{kBlack, MakePoint(5, 5)}};
    p.toMove = kWhite;
    ASSERT_TRUE(SendPosition(c, p, error)) << error;
    Analysis a;
    ASSERT_TRUE(AnalyseSentPosition(c, kWhite, 9, a, error, std::chrono::milliseconds(300))) << error;
    ASSERT_EQ(a.candidates.size(), 2u);
    EXPECT_GT(a.candidates[0].visits, 1);  // several lines came, the last one counts
    EXPECT_DOUBLE_EQ(a.winrate, 0.61);
    ASSERT_TRUE(a.blackLead);
    EXPECT_DOUBLE_EQ(*a.blackLead, -4.5);  // White to move leads by 4.5
    // After the stream the engine answers commands again, in step.
    const GtpReply version = c.Send("protocol_version");
    EXPECT_TRUE(version.ok);
    EXPECT_EQ(version.text, "2");
    const auto lead = SentPositionScore(c, kBlack, 9, error, std::chrono::milliseconds(200));
    ASSERT_TRUE(lead) << error;
    EXPECT_DOUBLE_EQ(*lead, 4.5);
}

TEST(EngineWorker, JobsRunOffTheCallersThreadAndOnlyTheNewestAnalysisWaits) {
    QueuedEventPort events;
    EngineWorker worker(events, kGnuGo);
    std::atomic<bool> release{false};
    std::vector<std::string> results;
    const std::thread::id caller = std::this_thread::get_id();
    worker.Submit([&](EngineSession& s) {
        while (!release.load()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::string error;
        GtpClient* engine = s.Engine(error);
        const std::string name = engine ? engine->Send("name").text : error;
        const bool elsewhere = std::this_thread::get_id() != caller;
        s.Post(
            [&results, name, elsewhere] { results.push_back(name + (elsewhere ? " elsewhere" : " here")); });
    });
    for (const char* which : {"first", "second", "third"}) {
        worker.Submit(
            [&results, which](EngineSession& s) { s.Post([&results, which] { results.push_back(which); }); },
            1);
    }
    release = true;
    for (int i = 0; i < 100 && results.size() < 2; ++i) events.WaitAndRun(std::chrono::milliseconds(100));
    EXPECT_EQ(results, (std::vector<std::string>{"GNU Go elsewhere", "third"}));
}

TEST(EngineWorker, CancelledJobsReportNothingAndAMissingEngineIsReported) {
    QueuedEventPort events;
    EngineWorker worker(events, "no-such-engine-of-quorvel");
    std::vector<std::string> results;
    worker.Submit([&](EngineSession& s) {
        std::string error;
        if (!s.Engine(error)) s.Post([&results, error] { results.push_back(error); });
    });
    for (int i = 0; i < 50 && results.empty(); ++i) events.WaitAndRun(std::chrono::milliseconds(100));
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0], "エンジン「no-such-engine-of-quorvel」が見つかりません。");

    std::atomic<bool> posted{false};
    worker.Submit([&](EngineSession& s) {
        s.Post([&results] { results.push_back("late"); });
        posted = true;
    });
    while (!posted.load()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    worker.Cancel();
    events.RunPending();
    EXPECT_EQ(results.size(), 1u) << "an event of a cancelled job ran";
}

TEST(EngineSettings, AFileOfItsOwnBesideZarnDat) {
    const std::string folder = ::testing::TempDir() + "engine-settings-31/";
    ASSERT_TRUE(MakeFolders(folder));
    const std::string zarn = "EndingAsk[1]\r\nGoBanXY[0]\r\n";
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(folder + "Zarn.dat", zarn, error));
    std::remove((folder + kEngineSettingsFileName).c_str());

    EngineSettings settings = LoadEngineSettings(folder);
    EXPECT_EQ(EngineCommandLine(settings), "gnugo --mode gtp --level 10");
    settings.level = 3;
    ASSERT_TRUE(SaveEngineSettings(folder, settings, error)) << error;
    EXPECT_EQ(EngineCommandLine(LoadEngineSettings(folder)), "gnugo --mode gtp --level 3");
    settings.command = "katago gtp -config \"my [best].cfg\"";
    ASSERT_TRUE(SaveEngineSettings(folder, settings, error)) << error;
    EXPECT_EQ(EngineCommandLine(LoadEngineSettings(folder)), settings.command);

    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(folder + "Zarn.dat", bytes, error));
    EXPECT_EQ(bytes, zarn);

    EngineSettings read;
    ReadEngineSettingsText("Level[99]\r\nCommand[]\r\n", read);
    EXPECT_EQ(read.level, 10);
    ReadEngineSettingsText("Level[-4]\r\n", read);
    EXPECT_EQ(read.level, 0);
    ReadEngineSettingsText("Level[strong]\r\n", read);
    EXPECT_EQ(read.level, 0);
}

}  // namespace
}  // namespace quorvel::gtp

namespace quorvel::gtp {
namespace {

TEST(Review, LossesCompareTwoPositionsWithTheSameSideToPlay) {
    Review r;
    r.colours = {0, kBlack, kWhite, kBlack, kWhite};
    r.points = {kPass, MakePoint(3, 3), MakePoint(7, 7), MakePoint(3, 7), MakePoint(7, 3)};
    r.blackLead = {-6.5, 3.0, -8.0, 1.0, -2.0};
    // An engine whose score knows whose turn it is: each move against the position right before it.
    // Black 1 gains 9.5, White 2 gains 11, Black 3 gains 9, White 4 gains 3.
    EXPECT_TRUE(LargestLosses(r, 5).empty());
    // Black 1 loses 2, White 2 loses 3 (White's lead from 2 to -1), Black 3 gains, White 4 loses 2.5.
    r.blackLead = {0.0, -2.0, 1.0, 1.5, 4.0};
    std::vector<Loss> losses = LargestLosses(r, 5);
    ASSERT_EQ(losses.size(), 3u);
    EXPECT_EQ(losses[0].move, 2);
    EXPECT_DOUBLE_EQ(losses[0].points, 3.0);
    EXPECT_EQ(losses[1].move, 4);
    EXPECT_DOUBLE_EQ(losses[1].points, 2.5);
    EXPECT_EQ(losses[2].move, 1);
    EXPECT_EQ(LargestLosses(r, 1).size(), 1u);
    // Scores that ignore the turn: against the player's previous move; the first move has no loss.
    r.scoresIgnoreTurn = true;
    r.blackLead = {-6.5, 3.0, -8.0, 1.0, -2.0};
    const auto each = MoveLosses(r);
    EXPECT_FALSE(each[1]);
    EXPECT_DOUBLE_EQ(*each[2], -1.5);  // White led by 6.5 at the start and by 8 after White 2
    EXPECT_DOUBLE_EQ(*each[3], 2.0);   // Black led by 3 after Black 1 and by 1 after Black 3
    EXPECT_DOUBLE_EQ(*each[4], 6.0);   // White led by 8 after White 2 and by 2 after White 4
    ASSERT_EQ(LargestLosses(r, 5).size(), 2u);
    EXPECT_EQ(LargestLosses(r, 5)[0].move, 4);
}

}  // namespace
}  // namespace quorvel::gtp

#include "formats/sgf_writer.h"
#include "gtp/review_comments.h"

namespace quorvel::gtp {
namespace {

class ReviewCommentsTest : public test::EngineTest {};

TEST_F(ReviewCommentsTest, AReviewIsKeptAsACommentLinePerMoveAndReplacedByTheNext) {
    ASSERT_TRUE(
        LoadRecordText(e, "(;GM[1]SZ[9];B[ee]C[good shape];W[cc];B[gc]C[first line\r\n評価: B+1.0])"));
    e.StepForward();
    Review r;
    r.colours = {0, kBlack, kWhite, kBlack};
    r.points = {kPass, MakePoint(5, 5), MakePoint(3, 3), MakePoint(7, 3)};
    r.blackLead = {-6.5, 2.0, -3.0, -5.0};
    ASSERT_TRUE(WriteReviewComments(e, r, 0));
    EXPECT_EQ(e.currentIndex, 1) << "the position shown before";

    // Saved and read back: every move carries its line, the comments before it kept.
    const std::string sgf = WholeRecordText(e);
    MemoryMessageArea backMessages;
    MemoryDialogs backDialogs;
    Engine back{backMessages, backDialogs};
    ASSERT_TRUE(LoadRecordText(back, sgf));
    std::vector<std::string> comments;
    for (int k = 1; k <= 3; ++k) {
        back.StepForward();
        std::string c;
        ASSERT_TRUE(back.BeginCommentEdit(c));
        comments.push_back(c);
    }
    EXPECT_EQ(comments[0], "good shape\r\n評価: B+2.0");
    EXPECT_EQ(comments[1], "評価: W+3.0");  // White gained: no loss written
    EXPECT_EQ(comments[2], "first line\r\n評価: W+5.0  損 2.0");
    EXPECT_EQ(CommentWithReviewLine(comments[2], "評価: 0"), "first line\r\n評価: 0");
}

}  // namespace
}  // namespace quorvel::gtp

namespace quorvel::gtp {
namespace {

TEST(EngineWorker, ClosingNeverWaitsForAnEngineThatThinks) {
    QueuedEventPort events;
    std::atomic<bool> asked{false};
    GtpReply reply;
    const auto before = std::chrono::steady_clock::now();
    {
        // Answers list_commands, then never anything again.
        EngineWorker worker(events, "/bin/sh -c 'read line; printf \"= \\n\\n\"; exec sleep 600'");
        worker.Submit([&](EngineSession& s) {
            std::string error;
            GtpClient* engine = s.Engine(error);
            asked = true;
            if (engine) reply = engine->Send("genmove B", kThinkLimit);
        });
        while (!asked.load()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    // Without the kill the worker would wait for the two minutes of kThinkLimit.
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(30));
    EXPECT_TRUE(reply.failed);
}

}  // namespace
}  // namespace quorvel::gtp
