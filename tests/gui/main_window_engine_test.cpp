// The engine menu of the real main window, with GNU Go at level 0 from the Engine.dat of the settings
// folder: the analysis switched by its item and by F8 on the board window, and a game against the engine
// that alternates colours and saves like any record.
#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "app/gui/main_window.h"
#include "core/gui/board_window.h"
#include "gtp/gui/engine_commands.h"
#include "platform/gui/qt_text.h"
#include "platform/title_registry.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

class MainWindowEngineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvel-engine-XXXXXX";
        dir = ::mkdtemp(pattern);
        dir += "/";
        titles = std::make_unique<TitleRegistry>(dir + "titles");
        std::ofstream(dir + "Engine.dat", std::ios::binary) << "Command[]\r\nLevel[0]\r\n";
        window = std::make_unique<TForm1>(QStringLiteral(QUORVEL_PROGRAM_DIR), QStringList(), *titles,
                                          &dialogs, &files, dir);
        window->ShowAtStart();
    }
    void TearDown() override {
        window.reset();
        titles.reset();
        fs::remove_all(dir);
    }
    template <typename Done>
    bool WaitUntil(Done done) {
        for (int i = 0; i < 400 && !done(); ++i) QTest::qWait(25);
        return done();
    }
    Engine& board() { return window->board(); }
    // A game against the engine, the player White on 9 lines.
    void StartGameAsWhiteOnNineLines() {
        window->engineCommands().askGame = [] {
            gtp::GameChoices c;
            c.playerColour = kWhite;
            c.boardSize = 9;
            return std::optional<gtp::GameChoices>(c);
        };
        window->engineCommands().gameAction()->trigger();
    }

    std::string dir;
    MemoryDialogs dialogs;
    AnsweredFileDialogs files;
    std::unique_ptr<TitleRegistry> titles;
    std::unique_ptr<TForm1> window;
};

TEST_F(MainWindowEngineTest, TheMenuItemAndF8SwitchTheAnalysisOnTheBoard) {
    const std::string record = dir + "game.sgf";
    std::ofstream(record, std::ios::binary) << "(;GM[1]FF[4]SZ[9];B[ee];W[cc];B[gc];W[cg])";
    files.answers = {record};
    window->action(QStringLiteral("KFO"))->trigger();
    ASSERT_EQ(board().lineEnd, 4);
    board().GoToEnd();
    window->Form2->Redraw();
    const QImage before = window->Form2->picture().copy();

    auto* menu = window->findChild<QMenu*>(QStringLiteral("EngineMenu"));
    ASSERT_NE(menu, nullptr);
    QAction* item = window->engineCommands().analysisAction();
    EXPECT_TRUE(menu->actions().contains(item));
    EXPECT_TRUE(menu->actions().contains(window->engineCommands().reviewAction()));
    EXPECT_TRUE(menu->actions().contains(window->engineCommands().gameAction()));
    EXPECT_EQ(item->shortcut(), QKeySequence(Qt::Key_F8));

    item->trigger();
    gtp::BoardAnalysis& analysis = window->engineCommands().analysis();
    ASSERT_TRUE(analysis.active());
    ASSERT_TRUE(WaitUntil([&] { return analysis.shownAnalysis() != nullptr; }));
    EXPECT_NE(window->Form2->picture(), before);

    QTest::keyClick(window->Form2, Qt::Key_F8);
    EXPECT_FALSE(analysis.active());
    EXPECT_FALSE(item->isChecked());
    EXPECT_EQ(window->Form2->picture(), before);
}

TEST_F(MainWindowEngineTest, AGameAgainstTheEngineAlternatesAndSaves) {
    StartGameAsWhiteOnNineLines();
    gtp::EngineGame& game = window->engineCommands().game();
    ASSERT_TRUE(game.playing());
    EXPECT_EQ(board().boardSize, 9);
    EXPECT_FALSE(board().replayMode);
    // The engine has Black and begins.
    ASSERT_TRUE(WaitUntil([&] { return board().lineEnd == 1 && !game.thinking(); }));
    for (const char* p : {"cc", "gg", "cg", "gc"}) {
        const PointCode point = MakePoint(p[0] - 'a' + 1, p[1] - 'a' + 1);
        if (board().board[point] != kEmpty) continue;
        const int before = board().lineEnd;
        QTest::mouseClick(window->Form2, Qt::LeftButton, Qt::NoModifier,
                          QPoint(board().geometry->CentreX(point), board().geometry->CentreY(point)));
        ASSERT_EQ(board().lineEnd, before + 1) << p;
        ASSERT_TRUE(WaitUntil([&] { return !game.thinking(); }));
        if (!game.playing()) break;
        ASSERT_EQ(board().lineEnd, before + 2) << FromQString(game.statusText());
    }
    EXPECT_GE(board().lineEnd, 5);

    const std::string saved = dir + "against-gnugo.sgf";
    files.answers = {saved};
    window->action(QStringLiteral("KFS"))->trigger();
    std::ifstream in(saved, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("PB[GNU Go]"), std::string::npos) << text;
    EXPECT_NE(text.find("SZ[9]"), std::string::npos) << text;
    // One move a node, Black and White in turn from the engine's first.
    std::string colours;
    for (std::size_t at = text.find(";B["); at != std::string::npos; at = text.find_first_of(";", at + 1)) {
        if (at + 1 < text.size() && (text[at + 1] == 'B' || text[at + 1] == 'W')) colours += text[at + 1];
    }
    ASSERT_GE(colours.size(), 5u) << text;
    for (std::size_t k = 0; k < colours.size(); ++k) EXPECT_EQ(colours[k], k % 2 == 0 ? 'B' : 'W') << text;
}

TEST_F(MainWindowEngineTest, AHandicapGameStartsWithTheStonesAndTheEngineAsWhite) {
    window->engineCommands().askGame = [] {
        gtp::GameChoices c;
        c.playerColour = kBlack;
        c.boardSize = 9;
        c.handicap = 3;
        c.komi = 0.5;
        return std::optional<gtp::GameChoices>(c);
    };
    window->engineCommands().gameAction()->trigger();
    gtp::EngineGame& game = window->engineCommands().game();
    ASSERT_TRUE(game.playing());
    EXPECT_EQ(game.engineColour(), kWhite);
    EXPECT_EQ(board().baseIndex, 3);
    for (int k = 1; k <= 3; ++k) EXPECT_EQ(board().board[board().lineMoves[k]], kBlack) << k;
    EXPECT_EQ(board().info.komi, "0.5");
    EXPECT_EQ(board().info.whitePlayer, "GNU Go");
    // White, the engine, plays first after the handicap stones.
    ASSERT_TRUE(WaitUntil([&] { return board().lineEnd == 4 && !game.thinking(); }));
    EXPECT_EQ(board().board[board().lineMoves[4]], kWhite);
    EXPECT_EQ(board().ColourToMove(), kBlack);
}

TEST_F(MainWindowEngineTest, TheEnginesResignationEndsTheGameAndIsShown) {
    gtp::EngineSettings settings;
    settings.command =
        std::string(QUORVEL_PYTHON3) + " " + QUORVEL_TEST_SERVERS + "/../engine/fake_kata_engine.py";
    std::string error;
    ASSERT_TRUE(window->engineCommands().ApplySettings(settings, error)) << error;
    std::ifstream kept(dir + "Engine.dat", std::ios::binary);
    const std::string file((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>());
    EXPECT_EQ(file, "Command[" + settings.command + "]\r\nLevel[10]\r\n");

    StartGameAsWhiteOnNineLines();
    gtp::EngineGame& game = window->engineCommands().game();
    ASSERT_TRUE(WaitUntil([&] { return !game.playing(); }));
    EXPECT_EQ(board().lineEnd, 0);
    const std::string said = FromQString(game.statusText());
    EXPECT_EQ(said, "黒 (エンジン) が投了しました");
    EXPECT_EQ(board().messages().Text(), said) << "the text window shows it";
    EXPECT_EQ(window->engineCommands().analysis().ScoreLine(), game.statusText())
        << "the panel's line shows it";
}

}  // namespace
}  // namespace quorvel
