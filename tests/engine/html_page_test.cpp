// The HTML pages against golden files written from the page layout, and read back by Python's HTML parser
// as a browser reads them.
#include "formats/html_page.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/html_save.h"
#include "auxiliary/chat_log.h"
#include "engine_fixture.h"
#include "formats/sgf_reader.h"
#include "formats/sgf_writer.h"

namespace quorvel::test {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Golden(const char* name) {
    return ReadFile(std::string(QUORVEL_TEST_DATA) + "/html/" + name);
}

// The page as the applet reads it: the replay board, which stands inside the applet element right before its
// end tag, taken out. Empty when the page has no replay board there.
std::string AppletPart(const std::string& page) {
    const std::size_t board = page.find("<div id=\"qv\"");
    const std::size_t end = page.find("</APPLET>", board);
    if (board == std::string::npos || end == std::string::npos) return std::string();
    return page.substr(0, board) + page.substr(end);
}

class HtmlPageTest : public EngineTest {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvel-html-XXXXXX";
        dir = std::string(::mkdtemp(pattern)) + "/";
    }
    void TearDown() override { fs::remove_all(dir); }

    // The HTML save dialog answers `answer` (nothing: cancelled) and remembers its start folder.
    HtmlSaveDialog Answering(std::optional<std::string> answer) {
        return [this, answer](const std::string& start) {
            dialogStart = start;
            ++dialogsRun;
            return answer;
        };
    }
    // Python's HTML parser reads the page: only the page's own elements, `param` hands over `value`, the
    // title reads `title`.
    bool BrowserReads(const std::string& page, const char* param, const std::string& value,
                      const std::string& title, bool valueInUtf8 = false) {
        const std::string valueFile = valueInUtf8 ? "value.utf8" : "value.txt";
        WriteFile(dir + valueFile, value);
        WriteFile(dir + "title.txt", title);
        const std::string command = std::string(QUORVEL_PYTHON3) + " " + QUORVEL_SOURCE_DIR +
                                    "/tests/engine/html_page_check.py '" + page + "' " + param + " '" + dir +
                                    valueFile + "' '" + dir + "title.txt'";
        return std::system(command.c_str()) == 0;
    }

    std::string dir;
    ShellSettings shell;
    std::string dialogStart;
    int dialogsRun = 0;
};

TEST_F(HtmlPageTest, SaveNameExportWritesTheSgfCopyAndTheDefaultPage) {
    SaveNameExport exporter(shell, dir, [] { return SaveName{"game", "game"}; });
    // The text window holds the record as written, without the line break the file gives its last line.
    const std::string sgf = Golden("default19.sgf");
    messages.SetText(sgf.substr(0, sgf.size() - 2));
    exporter.ExportHtmlPage(e);
    // Every byte the applet reads is as it always was; the replay board lies inside the element.
    EXPECT_EQ(AppletPart(ReadFile(dir + "HTML/game.html")), Golden("default19.html"));
    EXPECT_EQ(ReadFile(dir + "SGF/game.sgf"), Golden("default19.sgf"));
    EXPECT_TRUE(dialogs.shown.empty());

    // A page that is a pipe, or a write-protected SGF copy, stays as it is and the user hears why.
    fs::remove(dir + "HTML/game.html");
    ASSERT_EQ(::mkfifo((dir + "HTML/game.html").c_str(), 0600), 0);
    exporter.ExportHtmlPage(e);
    fs::permissions(dir + "SGF/game.sgf", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    exporter.ExportHtmlPage(e);
    EXPECT_EQ(dialogs.shown, (std::vector<std::string>{
                                 "ファイルを保存できません。\r\n" + dir + "HTML/game.html\r\n通常のファイルではないので書き込みません（名前付きパイプ）。",
                                 "ファイルを保存できません。\r\n" + dir + "SGF/game.sgf\r\n書き込めるファイルではありません。"}));
    EXPECT_TRUE(fs::is_fifo(dir + "HTML/game.html"));
    EXPECT_EQ(ReadFile(dir + "SGF/game.sgf"), Golden("default19.sgf"));
}

TEST_F(HtmlPageTest, SavedPageOfA13LineRecordCarriesTheChangedSettings) {
    ASSERT_TRUE(LoadRecordText(e, "(;GM[1]FF[4]SZ[13];B[dd];W[jj])"));
    e.settings.showXY = true;
    e.settings.number = false;
    ASSERT_TRUE(SetCoordinateSystem(e.settings, "A-1"));
    e.settings.textBMoves = 50;
    e.recordModified = true;
    messages.SetText("(;GM[1]FF[4]SZ[13];B[dd];W[jj])");
    ASSERT_TRUE(SaveHtmlPage(e, shell, Answering(dir + "kifu13.html"), std::nullopt));
    EXPECT_EQ(AppletPart(ReadFile(dir + "kifu13.html")), Golden("saved13.html"));
    // No record file was written, so the record still counts as changed.
    EXPECT_TRUE(e.recordModified);
    EXPECT_EQ(shell.htmlSaveDialogDir, dir);
}

TEST_F(HtmlPageTest, TextBoardPageKeepsTheBoardsOwnTagsAndEscapesTheRest) {
    messages.SetText(Golden("textboard9.txt"));
    shell.htmlSaveDialogDir = "/start/";
    // A name typed without extension gets the dialog's default one.
    ASSERT_TRUE(SaveHtmlPage(e, shell, Answering(dir + "board"), std::nullopt));
    EXPECT_EQ(dialogStart, "/start/");
    EXPECT_EQ(ReadFile(dir + "board.html"), Golden("textboard9.html"));
}

TEST_F(HtmlPageTest, EveryTextBoardIsAcceptedAndOtherTextsAreRefused) {
    struct Case {
        const char* text;
        bool accepted;
    };
    const Case cases[] = {
        {"(;SZ[19];B[pd])", true},
        // A board without moves has no title, a range board neither title nor labels.
        {"ＡＢＣ\r\n┌┬┐\r\nＡＢＣ\r\n\r\nText GoBoard (by Quorvel)", true},
        {"┌┬┬\r\n├┼┼\r\nText GoBoard (by Quorvel)", true},
        {"Board <1> (1-3)", true},
        {" MainMoves : 2", false},
        {"", false},
    };
    for (const Case& c : cases) {
        dialogs.shown.clear();
        dialogsRun = 0;
        messages.SetText(c.text);
        EXPECT_EQ(SaveHtmlPage(e, shell, Answering(dir + "x.html"), std::nullopt), c.accepted) << c.text;
        EXPECT_EQ(dialogsRun, c.accepted ? 1 : 0) << c.text;
        EXPECT_EQ(dialogs.shown,
                  c.accepted ? std::vector<std::string>{} : std::vector<std::string>{kNothingToSaveAsHtml})
            << c.text;
        fs::remove(dir + "x.html");
    }
    messages.SetText("(;SZ[19];B[pd])");
    EXPECT_FALSE(SaveHtmlPage(e, shell, Answering(std::nullopt), std::nullopt));
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(HtmlPageTest, AppletParamsFollowTheSettingsInTheirOrder) {
    EXPECT_EQ(AppletParams(e, false), "");
    Settings& s = e.settings;
    s.showXY = s.textUseNew = s.salala = s.allShow = s.textUseColor = s.textAddPre = s.zarnStyle = true;
    s.asOption = s.noZarnNoHint = s.number = s.macMouse = false;
    e.hintsShown = false;
    ASSERT_TRUE(SetCoordinateSystem(s, "A(I)-19"));
    s.textBMoves = 7;
    EXPECT_EQ(AppletParams(e, true),
              "<PARAM NAME=showxy VALUE=true>\r\n<PARAM NAME=textusenew VALUE=true>\r\n"
              "<PARAM NAME=salala VALUE=true>\r\n<PARAM NAME=allshow VALUE=true>\r\n"
              "<PARAM NAME=textusecolor VALUE=true>\r\n<PARAM NAME=textaddpre VALUE=true>\r\n"
              "<PARAM NAME=advancemoves VALUE=true>\r\n<PARAM NAME=zarnstyle VALUE=true>\r\n"
              "<PARAM NAME=zarnhint VALUE=false>\r\n<PARAM NAME=asoption VALUE=false>\r\n"
              "<PARAM NAME=nozarnnohint VALUE=false>\r\n<PARAM NAME=number VALUE=false>\r\n"
              "<PARAM NAME=mouse VALUE=2>\r\n<PARAM NAME=gobanxy VALUE=A(I)-19>\r\n"
              "<PARAM NAME=textbmoves VALUE=7>\r\n");
    EXPECT_STREQ(AppletClassName(9), "ZarnShow9");
    EXPECT_STREQ(AppletClassName(7), "ZarnShow");
}

TEST_F(HtmlPageTest, SaveNamesWithFoldersOrExtensionsAreRefused) {
    std::string name;
    SaveNameExport exporter(shell, dir, [&name] { return SaveName{name, name}; });
    messages.SetText("(;SZ[19];B[pd])");
    for (const char* refused : {"sub/game", "game.x", "..", "../up"}) {
        dialogs.shown.clear();
        name = refused;
        exporter.ExportHtmlPage(e);
        EXPECT_EQ(dialogs.shown, std::vector<std::string>{kSaveNameRefused}) << refused;
    }
    dialogs.shown.clear();
    name = "";
    exporter.ExportHtmlPage(e);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(HtmlPageTest, ACommentCannotInjectMarkupAndTheAppletGetsTheRecord) {
    ASSERT_TRUE(LoadRecordText(e, "(;GM[1]FF[4]SZ[19]PB[a&b];B[pd]C[say \"hi\" <b></script>];W[dp])"));
    SaveNameExport exporter(shell, dir, [] { return SaveName{"game", "game"}; });
    e.SetHtmlExport(exporter);
    WriteWholeRecord(e, true);
    const std::string sgfFile = ReadFile(dir + "SGF/game.sgf");
    ASSERT_NE(sgfFile.find("<b></script>"), std::string::npos);
    // The moves value is the record text with its line break: the SGF copy's bytes.
    EXPECT_TRUE(BrowserReads(dir + "HTML/game.html", "moves", sgfFile, "game"));

    // The HTML save command: the text window's record, and a title from a file name with markup in it.
    messages.SetText("(;SZ[9]C[\"><script>alert(1)</script>])");
    ASSERT_TRUE(SaveHtmlPage(e, shell, Answering(dir + "a<b>&.html"), std::nullopt));
    EXPECT_TRUE(BrowserReads(dir + "a<b>&.html", "moves", messages.Text() + "\r\n", "a<b>&"));
}

TEST_F(HtmlPageTest, ARecordsHangulReachesThePageAndItsCopyAsWritten) {
    // The page is Shift-JIS: the characters it lacks are character references; the SGF copy is the file a
    // save writes, in the record's own UTF-8.
    // Its comment's "(x)" is the file's, on the page as in the copy.
    ASSERT_TRUE(LoadRecordText(e, u8"(;GM[1]FF[4]CA[UTF-8]SZ[19]PB[\xEA\xB9\x80];B[pd]C[\xED\x95\x9C\xEA\xB5\xAD 囲碁 (x)];W[dp])"));
    SaveNameExport exporter(shell, dir, [] { return SaveName{"game", "game"}; });
    e.SetHtmlExport(exporter);
    WriteWholeRecord(e, true);
    const std::string sgfFile = ReadFile(dir + "SGF/game.sgf");
    EXPECT_NE(sgfFile.find(u8"C[\xED\x95\x9C\xEA\xB5\xAD 囲碁 (x)]"), std::string::npos) << sgfFile;
    EXPECT_NE(sgfFile.find("CA[UTF-8]"), std::string::npos);
    EXPECT_TRUE(BrowserReads(dir + "HTML/game.html", "moves", sgfFile, "game", true));
    // The replay board's comment: the Hangul as it was, not the user-defined codes that stand for it.
    EXPECT_NE(ReadFile(dir + "HTML/game.html").find("\\ud55c\\uad6d \\u56f2\\u7881 (x)"), std::string::npos);
    // A trail byte that looks like a user-defined lead starts no reference.
    EXPECT_EQ(PageBytes("\x88\xF0\x40", e.foreignCharacters.get()), "\x88\xF0\x40");
}

TEST_F(HtmlPageTest, ChatPageBesideThePageWithEveryLogLineMarked) {
    // A page in a folder with a dot in its name: only the file's own extension goes.
    fs::create_directories(dir + "my.games");
    const ChatLog chat = ChatLogFromFileText(
        "Oskelt - Oskelt - チャットログ\r\n\r\n"
        "[ 12 ]：\"><script>x</script>\r\n{ 碁盤 1 }\r\n\r\n"
        "[ 30 ]：good\r\n\r\n---碁盤データ---\r\n\r\n{1}<<DiaData=SZ[9]>>\r\n");
    messages.SetText("(;SZ[9];B[cc])");
    ASSERT_TRUE(SaveHtmlPage(e, shell, Answering(dir + "my.games/page.html"),
                             ChatPageLog{chat.logText, chat.diagramStore}));
    const std::string chatPage = dir + "my.games/pageChat.html";
    ASSERT_TRUE(fs::exists(chatPage));
    const std::string blanks(15, ' ');
    const std::string log =
        "\r\n"
        "Oskelt - Oskelt - チャットログ\r\n___\r\n___"
        "{棋譜ログ}\r\n___" +
        blanks +
        "\r\n___"
        "[ 12 ]：\"><script>x</script>\r\n___{ 碁盤 1 }\r\n___" +
        blanks +
        "\r\n___"
        "[ 30 ]：good\r\n___\r\n___---碁盤データ---\r\n___\r\n___{1}<<DiaData=SZ[9]>>\r\n___\r\n___\r\n";
    EXPECT_TRUE(BrowserReads(chatPage, "logfile", log, "pageChat.html"));
    const std::string page = ReadFile(chatPage);
    EXPECT_NE(page.find("<APPLET CODEBASE=\"MyZarn\"CODE=\"Glimmet.KifuLog.class\" WIDTH=595 HEIGHT=424>"),
              std::string::npos);
}

}  // namespace
}  // namespace quorvel::test
