// Loading records from a real web server on 127.0.0.1 and sending them through a recorded browser.
#include <filesystem>
#include <fstream>

#include "app/web_records.h"
#include "engine_fixture.h"
#include "formats/sgf_reader.h"
#include "support/local_server.h"

namespace quorvel::test {
namespace {

namespace fs = std::filesystem;

// The bytes a percent-encoded text stands for.
std::string PercentDecode(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::vector<std::string> FolderListing(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class WebRecordsTest : public EngineTest {
protected:
    void SetUp() override {
        std::ofstream(served / "game.sgf", std::ios::binary) << kGame;
        std::ofstream(served / "Zarn.dat", std::ios::binary) << kGame;
        std::ofstream(served / "page.html", std::ios::binary) << "<html>no record here</html>\n";
        std::ofstream(served / "script.html", std::ios::binary) << "<script>for(;;){}</script>\n";
        std::ofstream(served / "other.sgf", std::ios::binary) << "(;GM[1]SZ[19];B[dd];W[pp];B[qq])";
        std::ofstream(served / "blank.sgf", std::ios::binary) << "(\r\n;GM[1]SZ[19];B[dd];W[pp])";
        ASSERT_GT(server.port(), 0);
        web.httpOptions().timeoutMs = 1500;
        web.finished = [this] { ++finishedCount; };
    }

    // Starts a load and runs the events until it has ended.
    void Load(const std::string& url) {
        const int before = finishedCount;
        web.StartRequest(url);
        for (int i = 0; i < 200 && finishedCount == before; ++i) events.WaitAndRun(std::chrono::milliseconds(100));
        ASSERT_GT(finishedCount, before) << url;
    }

    const std::string kGame = "(;GM[1]SZ[19]C[a\nb]\n;B[pd]\n;W[dp])\n";
    TempFolder served{"web"};
    TempFolder registry{"web-titles"};
    LocalServer server{"http_test_server.py", {served.path().string()}};
    QueuedEventPort events;
    AnsweredFileDialogs fileDialogs;
    TitleRegistry titles{registry.path().string()};
    FileCommands files{e, fileDialogs, titles, [](Engine& board, const std::string& text) { return LoadRecordText(board, text); }};
    ShellSettings shell;
    WebRecords web{e, files, events, shell};
    int finishedCount = 0;
};

TEST_F(WebRecordsTest, AServedRecordLoadsUnderItsAddressButIsNoFileToOverwrite) {
    const std::vector<std::string> here = FolderListing(fs::current_path());
    for (const char* name : {"/game.sgf", "/Zarn.dat"}) {
        const std::string url = server.Url(name);
        Load(url);
        EXPECT_EQ(e.lineEnd, 2) << name;
        EXPECT_EQ(files.caption, " Quorvel  " + url);
        EXPECT_EQ(files.recentFiles.Slot(1), url);
        EXPECT_EQ(web.settings.netKifu.Slot(1), url);
        EXPECT_EQ(files.currentFileName, "NoTitle");
        EXPECT_EQ(files.lastLoadedText, "(;GM[1]SZ[19]C[a\r\nb]\r\n;B[pd]\r\n;W[dp])\r\n");
    }
    EXPECT_EQ(files.recentFiles.count, 2);
    EXPECT_EQ(web.settings.netKifu.count, 3);  // the sample address stays in the list
    // Nothing received was written anywhere.
    EXPECT_EQ(FolderListing(fs::current_path()), here);
}

// The chat log of the record shown before, as the log window keeps it.
class KeptChatLog : public ChatLogKeeper {
public:
    bool TakeChatFile(const std::string& fileText) override {
        text = fileText;
        return true;
    }
    void ClearChatLog() override { text.clear(); }
    std::string ChatFileText() const override { return text; }
    std::string text = "[ 3 ]: the record before";
};

TEST_F(WebRecordsTest, ALoadedRecordLeavesTheChatLogOfTheRecordBefore) {
    KeptChatLog keeper;
    files.SetChatLogKeeper(&keeper);
    files.chatLogPresent = true;
    // A page without a record changes nothing, its log included.
    Load(server.Url("/page.html"));
    EXPECT_TRUE(files.chatLogPresent);
    EXPECT_FALSE(keeper.text.empty());
    Load(server.Url("/game.sgf"));
    EXPECT_FALSE(files.chatLogPresent);
    EXPECT_TRUE(keeper.text.empty());
}

TEST_F(WebRecordsTest, FailedLoadsSayWhyAndLeaveTheRecord) {
    Load(server.Url("/game.sgf"));
    const std::string record = e.recordText;
    const std::string caption = files.caption;
    struct Case {
        std::string url;
        std::string message;
    };
    const Case cases[] = {
        {server.Url("/missing/game.sgf"), "指定されたファイルを読み込めません！"},
        {"http://127.0.0.1:" + std::to_string(RefusedPort()) + "/game.sgf", "インターネットに接続できません。"},
        {server.Url("/trickle/game.sgf"), "指定されたファイルを読み込めません！"},
        {"", "読み込む棋譜のURLを指定して下さい"},
        {"ftp://127.0.0.1/game.sgf", "http:// か https:// で始まるURLを指定して下さい"},
    };
    for (const Case& c : cases) {
        Load(c.url);
        EXPECT_EQ(messages.Text(), c.message) << c.url;
        EXPECT_EQ(e.recordText, record) << c.url;
        EXPECT_EQ(e.lineEnd, 2) << c.url;
        EXPECT_EQ(files.caption, caption) << c.url;
        EXPECT_EQ(web.settings.netKifu.count, 2) << c.url;
    }
    // A page without a record is shown, and the record stays on the board.
    Load(server.Url("/page.html"));
    EXPECT_EQ(messages.Text(), "指定されたファイルに棋譜データはありません。\r\n\r\n<html>no record here</html>\r\n");
    EXPECT_EQ(e.recordText, record);
    EXPECT_EQ(files.recentFiles.count, 1);
    EXPECT_EQ(web.settings.netKifu.Slot(1), server.Url("/page.html"));
    // A script's "for(;;)" is no record either.
    Load(server.Url("/script.html"));
    EXPECT_EQ(messages.Text(), "指定されたファイルに棋譜データはありません。\r\n\r\n<script>for(;;){}</script>\r\n");
    EXPECT_EQ(e.recordText, record);
    EXPECT_EQ(e.lineEnd, 2);
    EXPECT_EQ(files.caption, caption);
    // A record with a line break between its "(" and ";" is one.
    Load(server.Url("/blank.sgf"));
    EXPECT_EQ(e.lineEnd, 2);
    EXPECT_NE(e.recordText, record);
}

TEST_F(WebRecordsTest, ALoadOvertakenByAnOpenedRecordIsDropped) {
    TempFolder local{"web-local"};
    const std::string path = (local.path() / "mine.sgf").string();
    std::ofstream(path, std::ios::binary) << "(;GM[1]SZ[19];B[aa])";
    web.StartRequest(server.Url("/game.sgf"));
    ASSERT_TRUE(files.OpenPath(path));
    for (int i = 0; i < 200 && web.Loading(); ++i) events.WaitAndRun(std::chrono::milliseconds(50));
    events.WaitAndRun(std::chrono::milliseconds(100));
    EXPECT_EQ(finishedCount, 1);
    EXPECT_EQ(e.lineEnd, 1);
    EXPECT_EQ(files.currentFileName, path);
    EXPECT_EQ(files.recentFiles.count, 1);
}

TEST_F(WebRecordsTest, AChangedRecordIsReplacedOnlyAfterTheQuestion) {
    Load(server.Url("/game.sgf"));
    files.endingAsk = true;
    e.recordModified = true;
    dialogs.nextAnswer = Answer::Cancel;
    Load(server.Url("/other.sgf"));
    EXPECT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(e.lineEnd, 2);
    EXPECT_TRUE(e.recordModified);
    EXPECT_EQ(files.recentFiles.Slot(1), server.Url("/game.sgf"));
    // A page without a record asks nothing.
    Load(server.Url("/page.html"));
    EXPECT_EQ(dialogs.asked.size(), 1u);
    dialogs.nextAnswer = Answer::No;
    Load(server.Url("/other.sgf"));
    EXPECT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(e.lineEnd, 3);
    EXPECT_FALSE(e.recordModified);
}

TEST_F(WebRecordsTest, LoadingWaitsForReplayMode) {
    EXPECT_TRUE(web.CanLoad());
    e.replayMode = false;
    EXPECT_FALSE(web.CanLoad());
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{"Showモードにしてからファイルを読み込めます"});
    // A record that arrives after the user left replay mode does not replace the one being built.
    e.replayMode = true;
    web.StartRequest(server.Url("/game.sgf"));
    e.replayMode = false;
    for (int i = 0; i < 200 && web.Loading(); ++i) events.WaitAndRun(std::chrono::milliseconds(50));
    EXPECT_EQ(e.lineEnd, 0);
    EXPECT_EQ(files.recentFiles.count, 0);
    EXPECT_EQ(messages.Text(), "指定されたファイルを読み込めません！");
}

TEST_F(WebRecordsTest, ANewLoadReplacesAPendingOne) {
    web.StartRequest(server.Url("/trickle/slow.sgf"));
    Load(server.Url("/game.sgf"));
    events.WaitAndRun(std::chrono::milliseconds(300));
    EXPECT_EQ(finishedCount, 1);
    EXPECT_EQ(e.lineEnd, 2);
    EXPECT_FALSE(web.Loading());
}

TEST(WebText, AddressesAreRequestedInUtf8Escapes) {
    EXPECT_EQ(RequestAddress("http://h/棋譜 1.sgf?a=1&b=%41"), "http://h/%E6%A3%8B%E8%AD%9C%201.sgf?a=1&b=%41");
    EXPECT_EQ(RequestAddress("https://h/a\"<>`\x7F.sgf#x"), "https://h/a%22%3C%3E%60%7F.sgf#x");
}

TEST(WebText, APageIsShownWholeUpToItsLimitsAndCutOnlyBetweenCharacters) {
    const std::string note = "\r\n（ページが大きいため、一部だけを表示しています。全体は ";
    // A line of exactly 1024 bytes and a page of exactly 64 KB are shown as they are.
    EXPECT_EQ(ShownPageText(std::string(1024, 'd') + "\r\n"), std::string(1024, 'd') + "\r\n");
    EXPECT_EQ(ShownPageText(std::string(1025, 'd')), std::string(1024, 'd') + " ・・・\r\n" + note + "1025 バイトです。）");
    std::string page;
    while (page.size() < 65536) page += std::string(1024 - 2, 'a') + "\r\n";
    ASSERT_EQ(page.size(), 65536u);
    EXPECT_EQ(ShownPageText(page), page);
    EXPECT_EQ(ShownPageText("short\r\npage"), "short\r\npage");
    // One byte more, and the last line goes.
    EXPECT_EQ(ShownPageText(page + "b"), page + note + "65537 バイトです。）");
    // A two-byte character across the 1024th byte of a line is left out whole; the line's end stays.
    const std::string longLine = std::string(1023, 'c') + "棋譜" + "\r\nnext";
    EXPECT_EQ(ShownPageText(longLine), std::string(1023, 'c') + " ・・・\r\nnext\r\n" + note + "1033 バイトです。）");
}

TEST(WebText, LineEndsBecomeCrLf) {
    for (const char* text : {"a\r\nb", "a\nb", "a\r\r\nb"}) EXPECT_EQ(WithCrLfLineEnds(text), "a\r\nb") << text;
    EXPECT_EQ(WithCrLfLineEnds("a\rb\n"), "a\rb\r\n");
    EXPECT_EQ(WithCrLfLineEnds("\n\n"), "\r\n\r\n");
}

class SendRecordTest : public WebRecordsTest {
protected:
    MemoryUrlOpener browser;
};

TEST_F(SendRecordTest, TheRecordTravelsPercentEncodedAndDecodesToTheSameBytes) {
    LoadRecordText(e, "(;GM[1]SZ[19];B[pd]C[#&+ 日本\r\n2 行目 %41];W[dp])");
    web.SendRecord(browser);
    EXPECT_TRUE(browser.opened.empty());  // no entry on the board yet
    e.StepForward();
    messages.Clear();
    web.SendRecord(browser);
    ASSERT_EQ(browser.opened.size(), 1u);
    const std::string prefix = std::string(kDefaultSendUrl) + "SGF=";
    const std::string& url = browser.opened[0];
    ASSERT_EQ(url.compare(0, prefix.size(), prefix), 0) << url;
    const std::string encoded = url.substr(prefix.size());
    EXPECT_EQ(encoded.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789%-_.~"),
              std::string::npos);
    EXPECT_EQ(PercentDecode(encoded), messages.Text());
    EXPECT_NE(messages.Text().find("C[#&+ 日本\r\n2 行目 %41]"), std::string::npos) << messages.Text();
}

TEST_F(SendRecordTest, RefusalsOpenNothing) {
    LoadRecordText(e, "(;GM[1]SZ[19];B[pd](;W[dp])(;W[dd]))");
    e.StepForward();
    messages.SetText("a comment, no record");
    web.SendRecord(browser);
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{"[SGF]か[ADD]ボタンを押してから送信して下さい"});

    messages.SetText("(;GM[1]C[" + std::string(WebRecords::kLongestAddress, 'x') + "])");
    web.SendRecord(browser);
    messages.SetText("(;GM[1];B[aa])");
    web.settings.sendPath = "file:///etc/passwd?";
    web.SendRecord(browser);
    EXPECT_EQ(dialogs.shown.size(), 3u);
    EXPECT_TRUE(browser.opened.empty());

    web.settings.sendPath = kDefaultSendUrl;
    browser.opens = false;
    web.SendRecord(browser);
    EXPECT_EQ(dialogs.shown.back(), "ブラウザを開けません");
}

}  // namespace
}  // namespace quorvel::test
