#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <deque>
#include <filesystem>

#include "app/file_commands.h"
#include "auxiliary/chat_log.h"
#include "engine_fixture.h"
#include "formats/sgf_writer.h"
#include "platform/file_io.h"

namespace quorvel::test {
namespace {

namespace fs = std::filesystem;

class ScriptedFileDialogs : public FileDialogs {
public:
    std::optional<std::string> RunOpenDialog(const std::string& folder) override { return Next(folder); }
    std::optional<std::string> RunSaveDialog(const std::string& folder) override { return Next(folder); }
    std::optional<std::string> Next(const std::string& folder) {
        startFolders.push_back(folder);
        if (answers.empty()) return std::nullopt;
        std::optional<std::string> a = answers.front();
        answers.pop_front();
        return a;
    }
    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> startFolders;
};

class FileCommandsTest : public EngineTest {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvel-files-XXXXXX";
        dir = ::mkdtemp(pattern);
        registryDir = dir + "/titles";
        titles = std::make_unique<TitleRegistry>(registryDir);
        commands = std::make_unique<FileCommands>(e, files, *titles, [this](Engine& board, const std::string& text) {
            if (text.find(';') == std::string::npos) return false;
            board.recordText = text;
            loads.push_back(text);
            return true;
        });
        commands->endingAsk = true;
    }
    void TearDown() override {
        commands.reset();
        titles.reset();
        fs::remove_all(dir);
    }
    std::string Read(const std::string& path) {
        std::string bytes, error;
        EXPECT_TRUE(ReadWholeFile(path, bytes, error)) << path << ": " << error;
        return bytes;
    }
    void Write(const std::string& path, const std::string& bytes) {
        std::string error;
        ASSERT_TRUE(WriteFileAtomically(path, bytes, error)) << error;
    }
    std::vector<std::string> FilesIn(const std::string& folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string dir;
    std::string registryDir;
    ScriptedFileDialogs files;
    std::unique_ptr<TitleRegistry> titles;
    std::unique_ptr<FileCommands> commands;
    std::vector<std::string> loads;
};

TEST_F(FileCommandsTest, SaveAsAppendsSgfOnlyToANameWithoutADot) {
    MakeMainLine("pd dp");
    files.answers = {dir + "/game", dir + "/notes.txt"};
    ASSERT_TRUE(commands->KFSClick());
    EXPECT_EQ(commands->currentFileName, dir + "/game.sgf");
    EXPECT_EQ(Read(dir + "/game.sgf"), "(;GM[1]FF[1]SZ[19]\r\n;B[pd];W[dp])\r\n");
    EXPECT_EQ(commands->caption, " Quorvel  " + dir + "/game.sgf");
    EXPECT_EQ(commands->saveDialogDir, dir + "/");
    ASSERT_TRUE(commands->KFSClick());
    EXPECT_EQ(commands->currentFileName, dir + "/notes.txt");
    EXPECT_EQ(commands->recentFiles.count, 2);
    EXPECT_EQ(commands->recentFiles.Slot(1), dir + "/notes.txt");

    // A dot in a folder's name does not count.
    fs::create_directory(dir + "/v1.2");
    files.answers = {dir + "/v1.2/record"};
    ASSERT_TRUE(commands->KFSClick());
    EXPECT_EQ(commands->currentFileName, dir + "/v1.2/record.sgf");
}

TEST_F(FileCommandsTest, OverwritingANewRecordSavesAs) {
    MakeMainLine("pd");
    EXPECT_EQ(commands->currentFileName, "NoTitle");
    files.answers = {dir + "/first.sgf"};
    ASSERT_TRUE(commands->KFWClick());
    EXPECT_EQ(files.startFolders.size(), 1u);
    EXPECT_EQ(commands->currentFileName, dir + "/first.sgf");
    // Now it overwrites without asking for a name.
    e.branchMoves[0][1] = P("qq");
    ASSERT_TRUE(commands->KFWClick());
    EXPECT_EQ(files.startFolders.size(), 1u);
    EXPECT_EQ(Read(dir + "/first.sgf"), "(;GM[1]FF[1]SZ[19]\r\n;B[qq])\r\n");
}

TEST_F(FileCommandsTest, HandEditedSgfInTheTextWindowIsSavedAsItIs) {
    MakeMainLine("pd");
    messages.SetText("(;GM[1]SZ[9]\r\n;B[ee]C[mine])");
    files.answers = {dir + "/edited.sgf"};
    ASSERT_TRUE(commands->KFSClick());
    EXPECT_EQ(Read(dir + "/edited.sgf"), "(;GM[1]SZ[9]\r\n;B[ee]C[mine])\r\n");
    EXPECT_EQ(messages.Text(), "(;GM[1]SZ[9]\r\n;B[ee]C[mine])");

    // Any other text in the text window is put back after the record was written from the engine.
    messages.SetText(" No more moves.");
    ASSERT_TRUE(commands->KFWClick());
    EXPECT_EQ(Read(dir + "/edited.sgf"), "(;GM[1]FF[1]SZ[19]\r\n;B[pd])\r\n");
    EXPECT_EQ(messages.Text(), " No more moves.");
}

TEST_F(FileCommandsTest, ARecordTextTheWriterLeftIsWrittenAfreshWhenTheRecordChangedSince) {
    MakeMainLine("pd dp");
    files.answers = {dir + "/game.sgf"};
    AddVariationCommand(e);  // nothing to add: the window keeps its text
    WriteWholeRecord(e, true);
    ASSERT_EQ(messages.Text(), "(;GM[1]FF[1]SZ[19]\r\n;B[pd];W[dp])");
    // Game information and a turned board after the record was written out.
    e.info.blackPlayer = "Kuro";
    e.RotateRecord();
    ASSERT_TRUE(commands->KFSClick());
    EXPECT_EQ(Read(dir + "/game.sgf"), "(;GM[1]FF[1]SZ[19]\r\nPB[Kuro]\r\n;B[dp];W[pd])\r\n");

    // The line to the shown position stays a line, of the record as it is now.
    e.StepForward();
    WriteCurrentLine(e, true);
    e.info.whitePlayer = "Shiro";
    ASSERT_TRUE(commands->KFWClick());
    EXPECT_EQ(Read(dir + "/game.sgf"), "(;GM[1]FF[1]SZ[19]\r\nPB[Kuro]\r\nPW[Shiro]\r\n;B[dp])\r\n");

    // The same text edited by the user is the user's and is saved as it stands.
    WriteWholeRecord(e, false);
    messages.SetText(messages.Text() + " ");
    e.info.whitePlayer = "Ao";
    ASSERT_TRUE(commands->KFWClick());
    EXPECT_EQ(Read(dir + "/game.sgf").find("PW[Ao]"), std::string::npos);
}

TEST_F(FileCommandsTest, AFileShownByAnotherRunningCopyIsNotOverwritten) {
    const std::string path = dir + "/shared.sgf";
    Write(path, "(;GM[1];B[aa])");
    TitleRegistry otherCopy(registryDir);
    otherCopy.Claim(" Quorvel  " + path);

    ASSERT_TRUE(commands->OpenPath(path));
    EXPECT_FALSE(commands->titleIsUnique);
    EXPECT_EQ(commands->caption, " Quorvel  " + path + " @");
    EXPECT_FALSE(commands->KFWClick());
    files.answers = {path};
    EXPECT_FALSE(commands->KFSClick());
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0], "同名のファイルが既に開かれているので、上書きできません。");
    EXPECT_EQ(Read(path), "(;GM[1];B[aa])");

    // Once the other copy closes it, the file is ours again.
    otherCopy.Claim("");
    commands->RenewTitle();
    EXPECT_TRUE(commands->titleIsUnique);
    EXPECT_TRUE(commands->KFWClick());
}

TEST_F(FileCommandsTest, TheQuestionAboutUnsavedChanges) {
    const std::string path = dir + "/a.sgf";
    Write(path, "(;GM[1];B[aa])");
    MakeMainLine("pd");
    e.recordModified = true;

    // Cancel stops and keeps the question for next time.
    dialogs.nextAnswer = Answer::Cancel;
    files.answers = {path};
    commands->KFOClick();
    EXPECT_TRUE(loads.empty());
    EXPECT_TRUE(e.recordModified);
    EXPECT_EQ(dialogs.asked.back(), " 変更が加えられています。変更を保存しますか？");
    EXPECT_EQ(dialogs.askedCaptions.back(), "  Quorvel ： 棋譜保存の確認");

    // Yes, then cancelling the save dialog, stops as well: nothing is replaced.
    dialogs.nextAnswer = Answer::Yes;
    files.answers = {std::nullopt, path};
    commands->KFOClick();
    EXPECT_TRUE(loads.empty());
    EXPECT_TRUE(e.recordModified);

    // No, and then the command does not go ahead (the dialog cancelled, a file without a record): the
    // record shown is still the changed one, and the next command asks again.
    Write(dir + "/notes.txt", "no record in here");
    for (const std::optional<std::string>& chosen : {std::optional<std::string>(), std::optional<std::string>(dir + "/notes.txt")}) {
        const std::size_t questions = dialogs.asked.size();
        dialogs.nextAnswer = Answer::No;
        files.answers = {chosen};
        commands->KFOClick();
        EXPECT_TRUE(loads.empty());
        EXPECT_TRUE(e.recordModified);
        EXPECT_EQ(dialogs.asked.size(), questions + 1);
    }

    // No goes on without saving.
    dialogs.nextAnswer = Answer::No;
    files.answers = {path};
    commands->KFOClick();
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_FALSE(e.recordModified);
    EXPECT_EQ(commands->currentFileName, path);
    EXPECT_EQ(commands->lastLoadedText, "(;GM[1];B[aa])");

    // With EndingAsk off nothing is asked.
    const std::size_t questions = dialogs.asked.size();
    commands->endingAsk = false;
    e.recordModified = true;
    files.answers = {path};
    commands->KFOClick();
    EXPECT_EQ(dialogs.asked.size(), questions);
    EXPECT_EQ(loads.size(), 2u);
}

TEST_F(FileCommandsTest, YesSavesBeforeGoingOn) {
    MakeMainLine("pd dp");
    e.recordModified = true;
    dialogs.nextAnswer = Answer::Yes;
    const std::string other = dir + "/other.sgf";
    Write(other, "(;GM[1];B[cc])");
    files.answers = {dir + "/saved", other};
    commands->KFOClick();
    EXPECT_EQ(Read(dir + "/saved.sgf"), "(;GM[1]FF[1]SZ[19]\r\n;B[pd];W[dp])\r\n");
    EXPECT_EQ(commands->currentFileName, other);
    EXPECT_EQ(commands->recentFiles.Slot(1), other);
    EXPECT_EQ(commands->recentFiles.Slot(2), dir + "/saved.sgf");
}

TEST_F(FileCommandsTest, AFailedSaveChangesNothing) {
    const std::string good = dir + "/good.sgf";
    MakeMainLine("pd");
    files.answers = {good};
    ASSERT_TRUE(commands->KFSClick());
    const std::string caption = commands->caption;
    e.recordModified = true;

    // The target is a folder: the rename fails after the bytes were written to the temporary file.
    fs::create_directory(dir + "/taken.sgf");
    files.answers = {dir + "/taken.sgf"};
    EXPECT_FALSE(commands->KFSClick());
    // A folder that does not exist.
    files.answers = {dir + "/missing/x.sgf"};
    EXPECT_FALSE(commands->KFSClick());

    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].compare(0, 8, "棋譜を保"), 0);
    EXPECT_EQ(commands->currentFileName, good);
    EXPECT_EQ(commands->caption, caption);
    EXPECT_EQ(commands->recentFiles.count, 1);
    EXPECT_TRUE(e.recordModified);
    EXPECT_EQ(FilesIn(dir), (std::vector<std::string>{"good.sgf", "taken.sgf", "titles"}));
}

TEST_F(FileCommandsTest, AnUnreadableFileLeavesTheRecordAndNameAlone) {
    files.answers = {dir + "/nothing-here.sgf"};
    commands->KFOClick();
    EXPECT_TRUE(loads.empty());
    EXPECT_EQ(commands->currentFileName, "NoTitle");
    EXPECT_EQ(commands->recentFiles.count, 0);
    ASSERT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(FileCommandsTest, AFileWithoutARecordChangesNothingAndOverwriteKeepsToTheRecordsFile) {
    const std::string path = dir + "/game.sgf";
    const std::string notes = dir + "/notes.txt";
    Write(path, "(;GM[1];B[aa])");
    Write(notes, "no record in here");
    ASSERT_TRUE(commands->OpenPath(path));
    const std::string caption = commands->caption;
    MakeMainLine("pd");
    e.recordModified = true;

    EXPECT_FALSE(commands->OpenPath(notes));
    EXPECT_EQ(commands->currentFileName, path);
    EXPECT_EQ(commands->caption, caption);
    EXPECT_EQ(commands->recentFiles.count, 1);
    EXPECT_EQ(commands->lastLoadedText, "(;GM[1];B[aa])");
    EXPECT_TRUE(e.recordModified);

    ASSERT_TRUE(commands->KFWClick());
    EXPECT_EQ(Read(notes), "no record in here");
    EXPECT_EQ(Read(path), "(;GM[1]FF[1]SZ[19]\r\n;B[pd])\r\n");
}

TEST_F(FileCommandsTest, ANewRecordHasNoFileName) {
    const std::string path = dir + "/old.sgf";
    Write(path, "(;GM[1];B[aa])");
    ASSERT_TRUE(commands->OpenPath(path));
    MakeMainLine("pd");
    commands->KFNClick();
    EXPECT_EQ(e.lineEnd, 0);
    EXPECT_EQ(commands->currentFileName, "NoTitle");
    EXPECT_EQ(commands->caption, " Quorvel  NoTitle");
    EXPECT_TRUE(dialogs.asked.empty());  // an unchanged record asks nothing
}

TEST_F(FileCommandsTest, ANewRecordAsksAboutAChangedRecordInEitherMode) {
    const std::string path = dir + "/kept.sgf";
    Write(path, "(;GM[1];B[aa])");
    ASSERT_TRUE(commands->OpenPath(path));
    for (const bool replay : {true, false}) {
        MakeMainLine("pd dp");
        if (!replay) {
            e.SwitchToCreationMode();
            ASSERT_TRUE(Play("qq"));
        }
        e.recordModified = true;
        const int entries = e.lineEnd;
        const std::size_t questions = dialogs.asked.size();

        dialogs.nextAnswer = Answer::Cancel;
        EXPECT_FALSE(commands->KFNClick());
        EXPECT_EQ(dialogs.asked.size(), questions + 1) << replay;
        EXPECT_EQ(e.lineEnd, entries) << replay;
        EXPECT_EQ(e.replayMode, replay);
        EXPECT_EQ(commands->currentFileName, path);
        EXPECT_TRUE(e.recordModified);

        dialogs.nextAnswer = Answer::No;
        EXPECT_TRUE(commands->KFNClick());
        EXPECT_EQ(e.lineEnd, 0);
        EXPECT_FALSE(e.replayMode);
        EXPECT_FALSE(e.recordModified);
        EXPECT_EQ(commands->currentFileName, "NoTitle");
        e.SwitchToReplayMode();
        commands->currentFileName = path;
    }
}

TEST_F(FileCommandsTest, ASaveWithoutARecordLeavesTheFileAsItWas) {
    const std::string path = dir + "/game.sgf";
    Write(path, "(;GM[1];B[aa])");
    ASSERT_TRUE(commands->OpenPath(path));
    MakeMainLine("pd dp");
    e.recordModified = true;
    // "Make": creation mode at its start, nothing entered yet, the text window cleared or showing a message.
    e.SwitchToCreationMode();
    for (const char* shown : {"", " No more moves."}) {
        messages.SetText(shown);
        const std::size_t said = dialogs.shown.size();
        EXPECT_FALSE(commands->KFWClick()) << shown;
        EXPECT_FALSE(commands->KFSClick()) << shown;
        EXPECT_EQ(Read(path), "(;GM[1];B[aa])");
        EXPECT_EQ(messages.Text(), shown);
        ASSERT_EQ(dialogs.shown.size(), said + 2);
        EXPECT_EQ(dialogs.shown.back(), "保存する棋譜がありません。");
        EXPECT_TRUE(files.startFolders.empty());  // no name is asked for
        EXPECT_TRUE(e.recordModified);
    }
    EXPECT_EQ(FilesIn(dir), (std::vector<std::string>{"game.sgf", "titles"}));

    // Asked about on closing, Yes finds nothing to save and stops, so the record shown is not lost unasked.
    commands->endingAsk = true;
    dialogs.nextAnswer = Answer::Yes;
    EXPECT_FALSE(commands->AskToSave());
    EXPECT_EQ(Read(path), "(;GM[1];B[aa])");

    // SGF the user typed into the text window is a record; so is the first entry of the created line.
    messages.SetText("(;GM[1]SZ[9];B[ee])");
    ASSERT_TRUE(commands->KFWClick());
    EXPECT_EQ(Read(path), "(;GM[1]SZ[9];B[ee])\r\n");
    messages.Clear();
    ASSERT_TRUE(Play("cc"));
    ASSERT_TRUE(commands->KFWClick());
    EXPECT_EQ(Read(path).compare(0, 15, "(;GM[1]FF[1]SZ["), 0);
    EXPECT_NE(Read(path).find(";B[cc]"), std::string::npos);
}

TEST(ChatLog, TheNameDropsOnlyTheSgfExtension) {
    EXPECT_EQ(ChatLogName("/home/u/game.sgf"), "/home/u/gameChat.dat");
    EXPECT_EQ(ChatLogName("/home/u/GAME.SGF"), "/home/u/GAMEChat.dat");
    // Records of other names keep their whole name, so that two of them never share a chat file.
    EXPECT_EQ(ChatLogName("a.b"), "a.bChat.dat");
    EXPECT_EQ(ChatLogName("/home/u/game.kifu"), "/home/u/game.kifuChat.dat");
    EXPECT_EQ(ChatLogName("/home/u/game"), "/home/u/gameChat.dat");
    EXPECT_EQ(ChatLogName("sgf"), "sgfChat.dat");
}

TEST(RecentFiles, NewestFirstFiveAtMostAndNoRepeats) {
    RecentFiles r;
    for (const char* p : {"a", "b", "c"}) r.Add(p);
    EXPECT_EQ(r.count, 3);
    EXPECT_EQ(r.Slot(1), "c");
    EXPECT_EQ(r.Slot(3), "a");
    r.Add("a");  // already held: nothing changes
    EXPECT_EQ(r.Slot(1), "c");
    for (const char* p : {"d", "e", "f"}) r.Add(p);
    EXPECT_EQ(r.count, 5);
    EXPECT_EQ(r.Slot(1), "f");
    EXPECT_EQ(r.Slot(5), "b");
    EXPECT_EQ(r.Choose(4), "c");
    EXPECT_EQ(r.Slot(1), "c");
    EXPECT_EQ(r.Slot(2), "f");
    EXPECT_EQ(r.Slot(5), "b");
}

}  // namespace
}  // namespace quorvel::test

namespace quorvel::test {
namespace {

// The chat log kept as the log window keeps it, without a window.
class MemoryChatLog : public ChatLogKeeper {
public:
    bool TakeChatFile(const std::string& fileText) override {
        log = ChatLogFromFileText(fileText);
        ++taken;
        return ChatFileReadWhole(fileText);
    }
    void ClearChatLog() override {
        log = ChatLog();
        ++cleared;
    }
    std::string ChatFileText() const override { return quorvel::ChatFileText(log); }
    ChatLog log;
    int taken = 0;
    int cleared = 0;
};

const char* const kChatFile =
    "Oskelt - Oskelt - チャットログ\r\n\r\n{棋譜ログ}\r\n               \r\n[ 12 ]：よろしくお願いします\r\n"
    "               \r\n[ 30 ]：この手は？\r\n{ 碁盤 1 }\r\n               \r\n\r\n\r\n---碁盤データ---\r\n\r\n"
    "{1}<<DiaData=SZ[19];B[pd];W[dd]>>\r\n";

TEST_F(FileCommandsTest, TheChatFileIsReadWithTheRecordAndWrittenBackUnchanged) {
    MemoryChatLog keeper;
    commands->SetChatLogKeeper(&keeper);
    const std::string record = dir + "/game.sgf";
    Write(record, "(;SZ[19];B[pd])");
    Write(dir + "/gameChat.dat", kChatFile);
    ASSERT_TRUE(commands->OpenPath(record));
    EXPECT_TRUE(commands->chatLogPresent);
    EXPECT_EQ(keeper.taken, 1);
    EXPECT_EQ(keeper.log.diagramCounter, 1);
    EXPECT_NE(keeper.log.logText.find("[ 30 ]：この手は？"), std::string::npos);

    ASSERT_TRUE(commands->KFWClick());
    EXPECT_EQ(Read(dir + "/gameChat.dat"), kChatFile);
    // Saved under another name, the log goes beside the new record.
    files.answers = {dir + "/copy.sgf"};
    ASSERT_TRUE(commands->KFSClick());
    EXPECT_EQ(Read(dir + "/copyChat.dat"), kChatFile);

    // A record without a chat file empties the log, and its save writes none.
    Write(dir + "/other.sgf", "(;SZ[19];B[dd])");
    ASSERT_TRUE(commands->OpenPath(dir + "/other.sgf"));
    EXPECT_FALSE(commands->chatLogPresent);
    EXPECT_EQ(keeper.cleared, 1);
    EXPECT_TRUE(keeper.log.logText.empty());
    ASSERT_TRUE(commands->KFWClick());
    EXPECT_FALSE(fs::exists(dir + "/otherChat.dat"));
}

TEST_F(FileCommandsTest, AChatLogWithHangulIsKeptInUtf8) {
    MemoryChatLog keeper;
    commands->SetChatLogKeeper(&keeper);
    const std::string hangul = "\xEC\x95\x88\xEB\x85\x95";  // a greeting of two syllables
    Write(dir + "/k.sgf", "(;CA[UTF-8]SZ[19]PB[" + hangul + "];B[pd])");
    std::string chat = "\xEF\xBB\xBF" + Cp932ToUtf8(kChatFile);
    const std::string greeting = u8"よろしくお願いします";
    chat.replace(chat.find(greeting), greeting.size(), hangul);
    Write(dir + "/kChat.dat", chat);
    ASSERT_TRUE(commands->OpenPath(dir + "/k.sgf"));
    // The log's Hangul takes codes of the record's table and reads back through it.
    EXPECT_NE(UnicodeToUtf8(Cp932ToUnicode(keeper.log.logText, e.foreignCharacters.get())).find(std::string(u8"[ 12 ]：") + hangul),
              std::string::npos);
    ASSERT_TRUE(commands->KFWClick());
    EXPECT_EQ(Read(dir + "/kChat.dat"), chat);
}

TEST_F(FileCommandsTest, AChatFileWithOtherLineEndsIsReadWholeAndKept) {
    MemoryChatLog keeper;
    commands->SetChatLogKeeper(&keeper);
    Write(dir + "/g.sgf", "(;SZ[19];B[pd])");
    std::string crLf = kChatFile;
    for (const char* ending : {"\n", "\r"}) {
        std::string chat;
        for (std::size_t at = 0; at < crLf.size(); ++at) {
            if (crLf.compare(at, 2, "\r\n") == 0) chat += ending, ++at;
            else chat += crLf[at];
        }
        Write(dir + "/gChat.dat", chat);
        ASSERT_TRUE(commands->OpenPath(dir + "/g.sgf"));
        EXPECT_EQ(keeper.log.logText, ChatLogFromFileText(kChatFile).logText) << ending;
        EXPECT_EQ(StoredDiagram(keeper.log, 1), "SZ[19];B[pd];W[dd]");
        // Unchanged, the file stays as it was written.
        ASSERT_TRUE(commands->KFWClick());
        EXPECT_EQ(Read(dir + "/gChat.dat"), chat);
        // A comment added writes the whole log with it.
        AddBoardComment(keeper.log, 40, "次の手", "<<DiaData=SZ[19];B[qq]>>\r\n");
        ASSERT_TRUE(commands->KFWClick());
        const std::string written = Read(dir + "/gChat.dat");
        for (const char* kept : {"[ 12 ]：よろしくお願いします", "[ 30 ]：この手は？\r\n{ 碁盤 1 }", "[ 40 ]：次の手\r\n{ 碁盤 2 }",
                                 "{1}<<DiaData=SZ[19];B[pd];W[dd]>>\r\n{2}<<DiaData=SZ[19];B[qq]>>"}) {
            EXPECT_NE(written.find(kept), std::string::npos) << kept;
        }
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(FileCommandsTest, AChatFileNotReadWholeIsNeverWrittenOver) {
    MemoryChatLog keeper;
    commands->SetChatLogKeeper(&keeper);
    Write(dir + "/g.sgf", "(;SZ[19];B[pd])");
    // A note before the first entry, and a store without a diagram number, are lines the log cannot keep.
    for (const std::string& chat : {std::string("Oskelt\r\nメモ: 第3局\r\n[ 1 ]：a\r\n"),
                                   std::string("[ 1 ]：a\r\n\r\n\r\n---碁盤データ---\r\n\r\n<<DiaData=SZ[9]>>\r\n")}) {
        EXPECT_FALSE(ChatFileReadWhole(chat)) << chat;
        Write(dir + "/gChat.dat", chat);
        ASSERT_TRUE(commands->OpenPath(dir + "/g.sgf"));
        ASSERT_TRUE(commands->KFWClick());
        EXPECT_EQ(Read(dir + "/gChat.dat"), chat);
        AddBoardComment(keeper.log, 2, "b", "<<DiaData=SZ[19]>>\r\n");
        const std::size_t said = dialogs.shown.size();
        ASSERT_TRUE(commands->KFWClick());
        EXPECT_EQ(Read(dir + "/gChat.dat"), chat);
        EXPECT_EQ(dialogs.shown.size(), said + 1);
        // Saved under another name, the file goes beside it as it was.
        files.answers = {dir + "/h.sgf"};
        ASSERT_TRUE(commands->KFSClick());
        EXPECT_EQ(Read(dir + "/hChat.dat"), chat);
    }
    // What the program writes itself reads whole, runs of empty lines and all.
    EXPECT_TRUE(ChatFileReadWhole(kChatFile));
    EXPECT_TRUE(ChatFileReadWhole("Oskelt\r\n\r\n[ 1 ]：a\r\n\r\n\r\n\r\n[ 2 ]：b\r\n"));
}

TEST_F(FileCommandsTest, AnOlderChatFileIsConvertedAndWrittenBackInPlace) {
    MemoryChatLog keeper;
    commands->SetChatLogKeeper(&keeper);
    const std::string older = "Oskelt - Oskelt - チャットログ\r\n\r\n{棋譜ログ}\r\n               \r\n[ 3 ]：ここ\r\n"
                              "{ 碁盤 1 }\r\n               \r\n\r\n\r\n---碁盤データ---\r\n\r\n{1}<<DiaData=;B[88];W[403]>>\r\n";
    Write(dir + "/old.sgf", "(;SZ[19];B[pd])");
    Write(dir + "/oldChat.dat", older);
    ASSERT_TRUE(commands->OpenPath(dir + "/old.sgf"));
    // 88 is column 4, row 4 ("dd"); 403 is column 19, row 4 ("sd").
    const std::string converted = Read(dir + "/oldChat.dat");
    EXPECT_NE(converted.find("{1}<<DiaData=;B[dd];W[sd]>>"), std::string::npos);
    EXPECT_EQ(StoredDiagram(keeper.log, 1), ";B[dd];W[sd]");
    // Nothing is left beside it: the rewrite went through a temporary file renamed into place.
    EXPECT_EQ(FilesIn(dir), (std::vector<std::string>{"old.sgf", "oldChat.dat", "titles"}));
}

TEST_F(FileCommandsTest, APipeADeviceOrAWriteProtectedFileIsNeitherWaitedOnNorReplaced) {
    const std::string pipe = dir + "/pipe.sgf";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", dir + "/zero.sgf");
    // Opening them ends at once with the reason; the record and its name stay.
    files.answers = {pipe, dir + "/zero.sgf"};
    commands->KFOClick();
    commands->KFOClick();
    EXPECT_TRUE(loads.empty());
    EXPECT_EQ(commands->currentFileName, "NoTitle");
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0], "ファイルを読み込めません。\r\n" + pipe + "\r\n通常のファイルではないので読み込めません（名前付きパイプ）。");
    EXPECT_EQ(dialogs.shown[1], "ファイルを読み込めません。\r\n" + dir + "/zero.sgf\r\n通常のファイルではないので読み込めません（デバイス）。");

    // Saving over the pipe or a write-protected record (with its write-protected chat file) keeps both.
    MemoryChatLog keeper;
    commands->SetChatLogKeeper(&keeper);
    const std::string locked = dir + "/locked.sgf";
    Write(locked, "(;SZ[19];B[pd])");
    Write(dir + "/lockedChat.dat", kChatFile);
    ASSERT_TRUE(commands->OpenPath(locked));
    ASSERT_TRUE(commands->chatLogPresent);
    ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
    ASSERT_EQ(::chmod((dir + "/lockedChat.dat").c_str(), 0444), 0);
    MakeMainLine("dd");
    e.recordModified = true;
    dialogs.shown.clear();
    EXPECT_FALSE(commands->KFWClick());
    files.answers = {pipe};
    EXPECT_FALSE(commands->KFSClick());
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0], "棋譜を保存できません。元のファイルは変更されていません。\r\n" + locked + "\r\n書き込めるファイルではありません。");
    EXPECT_EQ(dialogs.shown[1], "棋譜を保存できません。元のファイルは変更されていません。\r\n" + pipe +
                                    "\r\n通常のファイルではないので書き込みません（名前付きパイプ）。");
    EXPECT_TRUE(e.recordModified);
    EXPECT_EQ(commands->currentFileName, locked);
    EXPECT_EQ(Read(locked), "(;SZ[19];B[pd])");
    EXPECT_TRUE(fs::is_fifo(pipe));

    // The record may be written while its chat file may not: the chat file stays and the user hears why.
    ASSERT_EQ(::chmod(locked.c_str(), 0644), 0);
    keeper.log.logText += "new line\r\n";
    dialogs.shown.clear();
    EXPECT_TRUE(commands->KFWClick());
    EXPECT_EQ(Read(locked), "(;GM[1]FF[1]SZ[19]\r\n;B[dd])\r\n");
    EXPECT_EQ(Read(dir + "/lockedChat.dat"), kChatFile);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0], "チャットログを保存できません。元のファイルは変更されていません。\r\n" + dir +
                                    "/lockedChat.dat\r\n書き込めるファイルではありません。");
    EXPECT_EQ(FilesIn(dir), (std::vector<std::string>{"locked.sgf", "lockedChat.dat", "pipe.sgf", "titles", "zero.sgf"}));
}

}  // namespace
}  // namespace quorvel::test
