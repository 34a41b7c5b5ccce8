#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/settings_file.h"
#include "platform/file_io.h"

namespace quorvel::test {
namespace {

namespace fs = std::filesystem;

// Everything a settings file is read into, fresh: one run of the program.
struct ProgramRun {
    explicit ProgramRun(const std::string& titlesFolder) : titles(titlesFolder) {}
    MemoryMessageArea messages;
    MemoryDialogs dialogs;
    Engine board{messages, dialogs};
    AnsweredFileDialogs fileDialogs;
    TitleRegistry titles;
    FileCommands files{board, fileDialogs, titles, [](Engine&, const std::string&) { return true; }};
    ShellSettings shell;
    SettingsOwners owners{board, files, shell};
};

// The file of a first run, written out by hand from the layout: fifteen flags, a blank line, the texts, the
// four lists from their counts down, a blank line and the five folders.
const char* const kDefaultFile =
    "ShowXY[0]\r\nNumber[1]\r\nAllShow[0]\r\nZarnHint[1]\r\nSalala[0]\r\nAsOption[1]\r\nMacMouse[1]\r\n"
    "ZarnStyle[0]\r\nEndingAsk[0]\r\nStoneSound[0]\r\nTextAddPre[0]\r\nTextUseNew[0]\r\nTextUseColor[0]\r\n"
    "AdvanceMoves[0]\r\nNoZarnNoHint[1]\r\n"
    "\r\n"
    "GoBanXY[A-19]\r\nAppCodeBase[MyZarn]\r\nAppWidth[454]\r\nAppHeight[494]\r\nHTMLColor[f8e0e0]\r\n"
    "TextBMoves[99]\r\nChatWindowSize[0]\r\n"
    "MailTo[]\r\nMailFrom[]\r\nMailServer[]\r\nUserID[]\r\nAttached[1]\r\n"
    "SendPath[http://quorvel.example.org/cgi-bin/KifuAuto.cgi?]\r\n"
    "PathCount[1]\r\nPath1[http://quorvel.example.org/cgi-bin/KifuAuto.cgi?]\r\n"
    "NetKifuCount[1]\r\nNetKifu1[http://quorvel.example.org/sgf/sample.sgf]\r\n"
    "MailToCount[0]\r\nItemCount[0]\r\n"
    "\r\n"
    "OpenDialogDir[/data/SGF/]\r\nSaveDialogDir[/data/SGF/]\r\nHtmlOpenDialogDir[/data/HTML/]\r\n"
    "HtmlSaveDialogDir[/data/HTML/]\r\nOpenPictureDialogDir[/data/BMP/]\r\n";

// Every setting away from its default, the settings of windows not built yet included, and paths holding
// "ゾ" (whose second byte is "]") and "]" itself.
const char* const kChangedFile =
    "ShowXY[1]\r\nNumber[0]\r\nAllShow[1]\r\nZarnHint[0]\r\nSalala[1]\r\nAsOption[0]\r\nMacMouse[0]\r\n"
    "ZarnStyle[1]\r\nEndingAsk[1]\r\nStoneSound[1]\r\nTextAddPre[1]\r\nTextUseNew[1]\r\nTextUseColor[1]\r\n"
    "AdvanceMoves[1]\r\nNoZarnNoHint[0]\r\n"
    "\r\n"
    "GoBanXY[A(I)-1]\r\nAppCodeBase[Applets]\r\nAppWidth[500]\r\nAppHeight[520]\r\nHTMLColor[00FF7f]\r\n"
    "TextBMoves[25]\r\nChatWindowSize[6000450]\r\n"
    "MailTo[b@example.org]\r\nMailFrom[a@example.org]\r\nMailServer[smtp.example.org]\r\nUserID[碁打ち]\r\n"
    "Attached[0]\r\n"
    "SendPath[http://s.example.org/2]\r\n"
    "PathCount[2]\r\nPath2[http://s.example.org/1]\r\nPath1[http://s.example.org/2]\r\n"
    "NetKifuCount[3]\r\nNetKifu3[http://k.example.org/c.sgf]\r\nNetKifu2[http://k.example.org/b.sgf]\r\n"
    "NetKifu1[http://k.example.org/a.sgf]\r\n"
    "MailToCount[1]\r\nMailTo1[b@example.org]\r\n"
    "ItemCount[2]\r\nItem2[/home/u/棋譜/old game.sgf]\r\nItem1[/home/u/ゾ]x/対局].sgf]\r\n"
    "\r\n"
    "OpenDialogDir[/home/u/ゾ]x/]\r\nSaveDialogDir[/home/u/save/]\r\nHtmlOpenDialogDir[/home/u/html in/]\r\n"
    "HtmlSaveDialogDir[/home/u/html out/]\r\nOpenPictureDialogDir[/home/u/pictures/]\r\n";

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvel-settings-XXXXXX";
        dir = std::string(::mkdtemp(pattern)) + "/";
    }
    void TearDown() override { fs::remove_all(dir); }
    std::unique_ptr<ProgramRun> NewRun() { return std::make_unique<ProgramRun>(dir + "titles"); }
    // A fresh run that reads `text`, and the file it writes.
    std::string Reread(const std::string& text, bool* whole = nullptr) {
        auto run = NewRun();
        const bool ok = ReadSettingsText(text, run->owners, "/data/");
        if (whole) *whole = ok;
        return SettingsFileText(run->owners, "/data/");
    }

    std::string dir;
};

TEST_F(SettingsFileTest, FirstRunWritesEveryDefaultInTheFileOrder) {
    auto run = NewRun();
    EXPECT_EQ(SettingsFileText(run->owners, "/data/"), kDefaultFile);
    bool whole = false;
    EXPECT_EQ(Reread(kDefaultFile, &whole), kDefaultFile);
    EXPECT_TRUE(whole);
}

TEST_F(SettingsFileTest, WriteReadWriteKeepsEverySettingByteForByte) {
    bool whole = false;
    EXPECT_EQ(Reread(kChangedFile, &whole), kChangedFile);
    EXPECT_TRUE(whole);

    auto run = NewRun();
    ASSERT_TRUE(ReadSettingsText(kChangedFile, run->owners, "/data/"));
    const Engine& e = run->board;
    EXPECT_FALSE(e.hintsShown);
    EXPECT_TRUE(e.settings.showXY);
    EXPECT_FALSE(e.settings.number);
    EXPECT_FALSE(e.settings.macMouse);
    EXPECT_TRUE(e.settings.advanceMoves);
    EXPECT_EQ(e.settings.textBMoves, 25);
    EXPECT_EQ(e.settings.coordinates.xStyle, 101);
    EXPECT_EQ(e.settings.coordinates.yStyle, 1);
    EXPECT_TRUE(e.settings.coordinates.withLetterI);
    EXPECT_TRUE(run->files.endingAsk);
    EXPECT_EQ(run->files.recentFiles.count, 2);
    EXPECT_EQ(run->files.recentFiles.Slot(1), "/home/u/ゾ]x/対局].sgf");
    EXPECT_EQ(run->files.openDialogDir, "/home/u/ゾ]x/");
    EXPECT_EQ(run->shell.chatWindowSize, 6000450);
    EXPECT_FALSE(run->shell.mail.attached);
    EXPECT_EQ(run->shell.netKifu.count, 3);
    EXPECT_EQ(run->shell.netKifu.Slot(3), "http://k.example.org/c.sgf");

    // Lines the program does not know are not written again; the rest keeps its bytes.
    EXPECT_EQ(Reread(std::string("Unknown[1]\r\n") + kChangedFile), kChangedFile);
}

TEST_F(SettingsFileTest, AFileOfOneLineChangesOnlyThatSetting) {
    const std::string defaults = kDefaultFile;
    const auto with = [&defaults](const std::string& from, const std::string& to) {
        std::string s = defaults;
        s.replace(s.find(from), from.size(), to);
        return s;
    };
    EXPECT_EQ(Reread("ZarnHint[0]\r\n"), with("ZarnHint[1]", "ZarnHint[0]"));
    EXPECT_EQ(Reread("ZarnHint[0]"), with("ZarnHint[1]", "ZarnHint[0]"));
    EXPECT_EQ(Reread("ZarnHint[1]\r\n"), defaults);
    EXPECT_EQ(Reread("ZarnHint[]\r\n"), defaults);
    EXPECT_EQ(Reread("ZarnHint[yes]\r\n"), defaults);
    EXPECT_EQ(Reread("Number[one]\r\n"), with("Number[1]", "Number[0]"));
    // A key counts at the start of a line only: this is not OpenDialogDir.
    EXPECT_EQ(Reread("HtmlOpenDialogDir[/x/]\r\n"), with("HtmlOpenDialogDir[/data/HTML/]", "HtmlOpenDialogDir[/x/]"));
    // Line feeds alone end lines too.
    EXPECT_EQ(Reread("Salala[1]\nNumber[0]\n"), with("Salala[0]", "Salala[1]").replace(
                                                    defaults.find("Number[1]"), 9, "Number[0]"));
}

TEST_F(SettingsFileTest, ValuesOutOfRangeOrOutOfShapeKeepTheirDefaults) {
    const std::string defaults = kDefaultFile;
    for (const char* line : {"TextBMoves[0]", "TextBMoves[100]", "TextBMoves[ten]", "TextBMoves[-5]",
                             "HTMLColor[f8e0e]", "HTMLColor[\"><script>]", "AppWidth[45%]", "AppHeight[-1]",
                             "GoBanXY[B-19]", "GoBanXY[A19]", "GoBanXY[A-199]", "PathCount[x]"}) {
        EXPECT_EQ(Reread(std::string(line) + "\r\n"), defaults) << line;
    }
    std::string expected = defaults;
    expected.replace(expected.find("TextBMoves[99]"), 14, "TextBMoves[1]");
    EXPECT_EQ(Reread("TextBMoves[1]\r\n"), expected);
    // A size that is no number is 0 ("not set").
    auto run = NewRun();
    run->shell.chatWindowSize = 5;
    ReadSettingsText("ChatWindowSize[big]\r\n", run->owners, "/data/");
    EXPECT_EQ(run->shell.chatWindowSize, 0);
}

TEST_F(SettingsFileTest, ListsAreClampedAndEmptySlotsClosedUp) {
    struct Case {
        const char* text;
        const char* written;  // the list as written again
    };
    const Case cases[] = {
        {"ItemCount[3]\r\nItem3[/c.sgf]\r\nItem1[/a.sgf]\r\n", "ItemCount[2]\r\nItem2[/c.sgf]\r\nItem1[/a.sgf]\r\n"},
        {"ItemCount[9]\r\nItem6[/f.sgf]\r\nItem5[/e.sgf]\r\nItem1[/a.sgf]\r\n",
         "ItemCount[2]\r\nItem2[/e.sgf]\r\nItem1[/a.sgf]\r\n"},
        {"ItemCount[2]\r\nItem2[]\r\n", "ItemCount[0]\r\n"},
        {"ItemCount[-3]\r\nItem1[/a.sgf]\r\n", "ItemCount[0]\r\n"},
        {"PathCount[0]\r\nPath1[http://p/]\r\n", "PathCount[1]\r\nPath1[http://p/]\r\n"},
        {"PathCount[2]\r\n", "PathCount[1]\r\nPath1[http://quorvel.example.org/cgi-bin/KifuAuto.cgi?]\r\n"},
        {"PathCount[3]\r\nPath2[http://p/]\r\n", "PathCount[1]\r\nPath1[http://p/]\r\n"},
        {"NetKifuCount[7]\r\n", "NetKifuCount[0]\r\n"},
    };
    for (const Case& c : cases) {
        const std::string written = Reread(c.text);
        const std::string list = c.written;
        EXPECT_NE(written.find("\r\n" + list), std::string::npos) << c.text << "\n" << written;
    }
}

TEST_F(SettingsFileTest, ALineBreakNeverEntersTheFile) {
    auto run = NewRun();
    run->files.recentFiles.Add("/a.sgf");
    run->files.recentFiles.Add("/line\nbreak.sgf");
    run->shell.mail.mailFrom = "a\r\nItemCount[5]";
    run->shell.mail.mailServer = std::string("smtp\0x", 6);
    const std::string text = SettingsFileText(run->owners, "/data/");
    EXPECT_NE(text.find("MailFrom[]\r\nMailServer[]\r\n"), std::string::npos);
    EXPECT_NE(text.find("ItemCount[1]\r\nItem1[/a.sgf]\r\n"), std::string::npos);
    bool whole = false;
    EXPECT_EQ(Reread(text, &whole), text);
    EXPECT_TRUE(whole);

    // A line of a damaged file with a lone CR or a NUL in its value is passed over: taken, it could not be
    // written again, and the next run would read another value.
    const std::string defaults = kDefaultFile;
    for (const std::string& line : {std::string("SendPath[http://a\r\x81x]\r\n"), std::string("SendPath[http://a\0b]\r\n", 22)}) {
        const std::string written = Reread(line, &whole);
        EXPECT_FALSE(whole);
        EXPECT_EQ(written, defaults);
        EXPECT_EQ(Reread(written, &whole), written);
        EXPECT_TRUE(whole);
    }
}

TEST_F(SettingsFileTest, DamagedFilesAreReadAsFarAsTheyGoAndSaySoOnce) {
    const std::string defaults = kDefaultFile;
    const std::string changed = kChangedFile;
    std::string binary("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    for (const std::string& text : {std::string("garbage without any setting"), binary,
                                    std::string("ShowXY[1\r\n"), std::string("[1]\r\n")}) {
        bool whole = true;
        const std::string written = Reread(text, &whole);
        EXPECT_FALSE(whole) << text;
        EXPECT_EQ(written.substr(0, 12), defaults.substr(0, 12)) << text;
    }
    // A file cut in its middle keeps what came before the cut.
    const std::string cut = changed.substr(0, changed.find("TextBMoves[25]") + 8);
    bool whole = true;
    const std::string written = Reread(cut, &whole);
    EXPECT_FALSE(whole);
    EXPECT_NE(written.find("HTMLColor[00FF7f]\r\nTextBMoves[99]\r\n"), std::string::npos);

    std::ofstream(dir + "Zarn.dat", std::ios::binary) << binary;
    auto run = NewRun();
    const std::string message = LoadSettingsFile(dir, run->owners);
    EXPECT_NE(message.find(dir + "Zarn.dat"), std::string::npos);
    EXPECT_TRUE(run->board.hintsShown);
}

TEST_F(SettingsFileTest, LoadAndSaveUseOneFileBesideItsFolders) {
    auto first = NewRun();
    // No file yet: nothing is said, the dialogs keep the system's choice, the folders are made.
    EXPECT_EQ(LoadSettingsFile(dir, first->owners), "");
    EXPECT_TRUE(fs::is_directory(dir + "SGF"));
    EXPECT_TRUE(fs::is_directory(dir + "HTML"));
    EXPECT_EQ(first->files.openDialogDir, "");
    first->board.settings.stoneSound = true;
    first->files.recentFiles.Add(dir + "ゾ].sgf");
    ASSERT_EQ(SaveSettingsFile(dir, first->owners), "");
    std::string bytes, error;
    ASSERT_TRUE(ReadWholeFile(dir + "Zarn.dat", bytes, error));
    EXPECT_NE(bytes.find("OpenDialogDir[" + dir + "SGF/]\r\n"), std::string::npos);

    auto second = NewRun();
    EXPECT_EQ(LoadSettingsFile(dir, second->owners), "");
    EXPECT_TRUE(second->board.settings.stoneSound);
    EXPECT_EQ(second->files.recentFiles.Slot(1), dir + "ゾ].sgf");
    EXPECT_EQ(second->files.openDialogDir, dir + "SGF/");
    ASSERT_EQ(SaveSettingsFile(dir, second->owners), "");
    std::string again;
    ASSERT_TRUE(ReadWholeFile(dir + "Zarn.dat", again, error));
    EXPECT_EQ(again, bytes);
    for (const auto& entry : fs::directory_iterator(dir)) {
        EXPECT_EQ(entry.path().filename().string().find("saving"), std::string::npos);  // no temporary left
    }

    // A folder that cannot be made: the save says so and names the file.
    const std::string blocked = dir + "Zarn.dat/inside/";
    EXPECT_NE(SaveSettingsFile(blocked, second->owners).find(blocked + "Zarn.dat"), std::string::npos);

    // A settings file that is a pipe is neither waited on nor replaced: the start takes the defaults, the
    // save says why.
    const std::string piped = dir + "piped/";
    fs::create_directory(piped);
    ASSERT_EQ(::mkfifo((piped + "Zarn.dat").c_str(), 0600), 0);
    auto third = NewRun();
    EXPECT_EQ(LoadSettingsFile(piped, third->owners), "");
    EXPECT_EQ(SaveSettingsFile(piped, third->owners), "設定ファイルを保存できません。前回の設定はそのまま残ります。\r\n" + piped +
                                                           "Zarn.dat\r\n通常のファイルではないので書き込みません（名前付きパイプ）。");
    EXPECT_TRUE(fs::is_fifo(piped + "Zarn.dat"));
}

TEST_F(SettingsFileTest, TheFileLivesInTheProgramFolderWhenItIsWritable) {
    EXPECT_EQ(SettingsFolder(dir + "prog"), SettingsFolder(dir + "prog/"));
    fs::create_directory(dir + "prog");
    EXPECT_EQ(SettingsFolder(dir + "prog"), dir + "prog/");

    const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string keep = oldConfig ? oldConfig : "";
    ::setenv("XDG_CONFIG_HOME", (dir + "config").c_str(), 1);
    EXPECT_EQ(SettingsFolder(dir + "missing"), dir + "config/quorvel/");
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(SettingsFolder(dir + "missing"), std::string(std::getenv("HOME")) + "/.config/quorvel/");
    if (oldConfig) {
        ::setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
}

TEST(FiveEntryListTest, MoveToFrontFollowsTheListRules) {
    struct Case {
        std::array<std::string, 5> slots;
        int count;
        const char* entry;
        std::array<std::string, 5> after;
        int countAfter;
        bool changed;
    };
    const Case cases[] = {
        {{"a", "b", "c", "", ""}, 3, "a", {"a", "b", "c", "", ""}, 3, false},
        {{"a", "b", "c", "", ""}, 3, "c", {"c", "a", "b", "", ""}, 3, true},
        {{"a", "b", "c", "", ""}, 3, "n", {"n", "a", "b", "c", ""}, 4, true},
        {{"a", "b", "c", "d", "e"}, 5, "n", {"n", "a", "b", "c", "d"}, 5, true},
        {{"a", "b", "c", "d", "e"}, 5, "e", {"e", "a", "b", "c", "d"}, 5, true},
        // An entry held beyond the count is new.
        {{"a", "x", "y", "z", "w"}, 1, "z", {"z", "a", "y", "z", "w"}, 2, true},
        {{"", "", "", "", ""}, 0, "a", {"a", "", "", "", ""}, 1, true},
    };
    for (const Case& c : cases) {
        FiveEntryList list{c.slots, c.count};
        EXPECT_EQ(list.MoveToFront(c.entry), c.changed) << c.entry;
        EXPECT_EQ(list.entries, c.after) << c.entry;
        EXPECT_EQ(list.count, c.countAfter) << c.entry;
    }
}

TEST(CoordinateSystemTest, StylesOfTheDialogsTextsAndRefusals) {
    struct Case {
        const char* text;
        bool valid;
        int x, y;
        bool withI;
    };
    const Case cases[] = {
        {"A-1", true, 101, 1, false},      {"A-19", true, 101, 19, false}, {"1-1", true, 1, 1, false},
        {"A(I)-1", true, 101, 1, true},    {"A(I)-19", true, 101, 19, true}, {"T-A", true, 119, 101, false},
        {"19-19", true, 19, 19, false},    {"B-19", false, 101, 19, false},  {"A19", false, 101, 19, false},
        {"B(I)-19", false, 101, 19, false}, {"A-", false, 101, 19, false},
    };
    for (const Case& c : cases) {
        Settings s;
        EXPECT_EQ(SetCoordinateSystem(s, c.text), c.valid) << c.text;
        EXPECT_EQ(s.coordinates.xStyle, c.x) << c.text;
        EXPECT_EQ(s.coordinates.yStyle, c.y) << c.text;
        EXPECT_EQ(s.coordinates.withLetterI, c.withI) << c.text;
        EXPECT_EQ(s.goBanXY, c.valid ? c.text : "A-19") << c.text;
    }
    // A refused text leaves the letter I of the style in force, both ways.
    for (const char* refused : {"B-19", "B(I)-19"}) {
        for (const char* before : {"A(I)-1", "A-1"}) {
            Settings s;
            ASSERT_TRUE(SetCoordinateSystem(s, before));
            EXPECT_FALSE(SetCoordinateSystem(s, refused));
            EXPECT_EQ(s.coordinates.withLetterI, std::string(before) == "A(I)-1") << before << " then " << refused;
            EXPECT_EQ(s.goBanXY, before);
        }
    }
}

}  // namespace
}  // namespace quorvel::test
