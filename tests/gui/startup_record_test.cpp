// A start whose command-line record was read and loaded on its own thread while the windows were built
// looks exactly like a start that loads it at the first paint: the same board, texts, title and lists, and
// the same message, after the windows are up, for a file that cannot be used.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QApplication>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "app/gui/main_window.h"
#include "app/startup_record.h"
#include "platform/file_io.h"
#include "auxiliary/gui/log_window.h"
#include "platform/gui/qt_text.h"
#include "support/local_server.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

// What a start shows once its first paint is over.
struct Shown {
    std::string fileName;
    QString caption;
    std::string recent;
    std::string text;
    std::vector<std::string> messages;
    int currentIndex = 0;
    int lineEnd = 0;
    int hintCount = 0;
    bool number = false;
    bool hintsShown = false;
    QImage board;
};

class StartupRecordTest : public ::testing::Test {
protected:
    // One start in its own settings folder and title registry; `ahead` loads the record on a thread.
    Shown Start(const std::string& path, bool ahead) {
        const std::string settings = folder.path().string() + (ahead ? "/ahead/" : "/plain/");
        fs::create_directories(settings);
        std::ofstream(settings + "Zarn.dat", std::ios::binary) << zarnDat;
        TitleRegistry titles(settings + "titles");
        MemoryDialogs dialogs;
        AnsweredFileDialogs files;
        std::unique_ptr<StartupRecord> loading;
        if (ahead) loading = std::make_unique<StartupRecord>(AbsolutePath(path), settings);
        TForm1 window(QStringLiteral(QUORVEL_PROGRAM_DIR), QStringList{PathToQString(path)}, titles, &dialogs, &files,
                      settings);
        window.Start(loading.get());
        // Nothing is said before the windows are there.
        EXPECT_TRUE(dialogs.shown.empty());
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(50);
        Shown s;
        s.fileName = window.files().currentFileName;
        s.caption = window.windowTitle();
        s.recent = window.files().recentFiles.Slot(1);
        s.text = window.Form3->Text();
        s.messages = dialogs.shown;
        const Engine& e = window.board();
        s.currentIndex = e.currentIndex;
        s.lineEnd = e.lineEnd;
        s.hintCount = e.hintCount;
        s.number = e.settings.number;
        s.hintsShown = e.hintsShown;
        s.board = window.Form2->picture().copy();
        window.close();
        return s;
    }

    void ExpectSameStart(const std::string& path) {
        const Shown plain = Start(path, false);
        const Shown ahead = Start(path, true);
        EXPECT_EQ(ahead.fileName, plain.fileName);
        EXPECT_EQ(ahead.caption, plain.caption);
        EXPECT_EQ(ahead.recent, plain.recent);
        EXPECT_EQ(ahead.text, plain.text);
        EXPECT_EQ(ahead.messages, plain.messages);
        EXPECT_EQ(ahead.currentIndex, plain.currentIndex);
        EXPECT_EQ(ahead.lineEnd, plain.lineEnd);
        EXPECT_EQ(ahead.hintCount, plain.hintCount);
        EXPECT_EQ(ahead.number, plain.number);
        EXPECT_EQ(ahead.hintsShown, plain.hintsShown);
        EXPECT_TRUE(ahead.board == plain.board);
    }

    test::TempFolder folder{"startup"};
    // Settings the load reads: hints off, no move numbers and no advance to the end, until a record's GO
    // sets the last two.
    std::string zarnDat = "Number[0]\r\nZarnHint[0]\r\nAdvanceMoves[0]\r\n";
};

TEST_F(StartupRecordTest, ARecordLoadedAheadStartsAsOneLoadedAtTheFirstPaint) {
    const std::string record = folder.path().string() + "/game.sgf";
    // GO[1]: move numbers on, and the line played to its end.
    std::ofstream(record, std::ios::binary)
        << "(;GM[1]FF[4]SZ[19]PB[黒]PW[白]GO[1]C[root];B[pd]C[first];W[dp](;B[pp]C[main end])(;B[dc]C[side]))";
    ExpectSameStart(record);
    const Shown ahead = Start(record, true);
    EXPECT_EQ(ahead.fileName, record);
    EXPECT_EQ(ahead.currentIndex, 3);
    EXPECT_TRUE(ahead.number);
    EXPECT_FALSE(ahead.hintsShown);
}

TEST_F(StartupRecordTest, ARelativeShiftJisNameOpensAndIsKeptAsTheWholePath) {
    // "棋譜.sgf" as a Shift-JIS name, named from its own folder.
    const std::string name = "\x8A\xFB\x95\x88.sgf";
    const std::string record = folder.path().string() + "/" + name;
    std::ofstream(record, std::ios::binary) << "(;GM[1]FF[4]SZ[19];B[pd];W[dp])";
    const fs::path before = fs::current_path();
    fs::current_path(folder.path());
    ExpectSameStart(name);
    const Shown shown = Start(name, true);
    fs::current_path(before);
    EXPECT_EQ(shown.lineEnd, 2);
    EXPECT_EQ(shown.fileName, record);
    EXPECT_EQ(shown.recent, record);
    EXPECT_TRUE(shown.messages.empty());
}

TEST_F(StartupRecordTest, AFileThatCannotBeUsedIsSaidOnceTheWindowsAreUp) {
    const std::string text = folder.path().string() + "/notes.sgf";
    std::ofstream(text, std::ios::binary) << "no record here";
    // A pipe nobody writes and a link to a device that never ends: the start waits for neither.
    const std::string pipe = folder.path().string() + "/pipe.sgf";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string zero = folder.path().string() + "/zero.sgf";
    fs::create_symlink("/dev/zero", zero);
    for (const std::string& path : {folder.path().string() + "/missing.sgf", text, pipe, zero}) {
        SCOPED_TRACE(path);
        ExpectSameStart(path);
        EXPECT_EQ(Start(path, true).fileName, kNoTitle);
    }
    EXPECT_EQ(Start(folder.path().string() + "/missing.sgf", true).messages.size(), 1u);
    EXPECT_EQ(Start(pipe, true).messages,
              std::vector<std::string>{"ファイルを読み込めません。\r\n" + pipe + "\r\n通常のファイルではないので読み込めません（名前付きパイプ）。"});
}

// A start builds only the windows it shows; a hidden window is built when first used, the net game log
// window by the chat file of the record.
TEST_F(StartupRecordTest, AStartBuildsOnlyTheWindowsItShows) {
    const auto hiddenWindows = [] {
        QStringList built;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            const QString name = QString::fromLatin1(w->metaObject()->className());
            if (!name.endsWith(QLatin1String("TForm2")) && !name.endsWith(QLatin1String("TForm1")) &&
                !name.endsWith(QLatin1String("TForm3")) && name.contains(QLatin1String("TForm"))) {
                built << name;
            }
        }
        built.sort();
        return built;
    };
    const std::string record = folder.path().string() + "/game.sgf";
    std::ofstream(record, std::ios::binary) << "(;GM[1]FF[4]SZ[19];B[pd];W[dp])";
    TitleRegistry titles(folder.path().string() + "/titles");
    MemoryDialogs dialogs;
    AnsweredFileDialogs files;
    {
        TForm1 window(QStringLiteral(QUORVEL_PROGRAM_DIR), QStringList{PathToQString(record)}, titles, &dialogs,
                      &files);
        window.Start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.board().lineEnd == 2; }));
        EXPECT_EQ(hiddenWindows(), QStringList());
    }
    std::ofstream(folder.path().string() + "/gameChat.dat", std::ios::binary)
        << "Oskelt - Oskelt - チャットログ\r\n\r\n[12:00] a word about the game\r\n";
    TForm1 window(QStringLiteral(QUORVEL_PROGRAM_DIR), QStringList{PathToQString(record)}, titles, &dialogs, &files);
    window.Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.board().lineEnd == 2; }));
    EXPECT_EQ(hiddenWindows(), QStringList({QStringLiteral("quorvel::TForm10"), QStringLiteral("quorvel::TForm6")}));
    EXPECT_NE(window.Form10()->log().logText.find("a word about the game"), std::string::npos);
}

}  // namespace
}  // namespace quorvel
