// The .sgf association on temporary XDG folders, checked with the desktop's own tools (desktop-file-validate,
// xdg-mime) rather than with the program's reading of its files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <utility>
#include <vector>

#include "app/sgf_association.h"
#include "support/test_files.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

// The standard output of a shell command.
std::string Shell(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
    ::pclose(pipe);
    return out;
}

class AssociationTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvel-assoc-XXXXXX";
        dir = ::mkdtemp(pattern);
        ::chmod(dir.c_str(), 0755);
        folders.dataHome = dir + "/data";
        folders.configHome = dir + "/config";
        folders.dataDirs = {dir + "/system"};  // a system without the SGF MIME type
        folders.configDirs = {dir + "/etc"};
        program = dir + "/prog/ZarnShow";
        WriteTestFile(program, "#!/bin/sh\n");
        ::chmod(program.c_str(), 0755);
        fs::create_directories(folders.dataHome);
        fs::create_directories(folders.dataDirs[0]);
    }
    void TearDown() override {
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        for (const auto& e : fs::recursive_directory_iterator(dir)) {
            if (e.is_directory()) fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add);
        }
        fs::remove_all(dir);
    }
    // What the desktop's own tool answers as the default of SGF files in these folders.
    std::string XdgDefault() {
        return Shell("env -i PATH=\"$PATH\" HOME=" + dir + " XDG_DATA_HOME=" + folders.dataHome +
                   " XDG_CONFIG_HOME=" + folders.configHome + " XDG_DATA_DIRS=" + folders.dataDirs[0] +
                   " XDG_CONFIG_DIRS=" + folders.configDirs[0] + " xdg-mime query default application/x-go-sgf");
    }
    std::string DesktopFile() { return folders.dataHome + "/applications/quorvel.desktop"; }
    std::string MimeappsList() { return folders.configHome + "/mimeapps.list"; }
    // Another program registered as the default.
    void OtherDefault(const std::string& list) {
        WriteTestFile(folders.dataHome + "/applications/other.desktop",
              "[Desktop Entry]\nType=Application\nName=Other\nExec=/bin/true %f\nMimeType=application/x-go-sgf;\n");
        WriteTestFile(MimeappsList(), list);
    }
    // Runs `write` as an unprivileged user when the tests run as root, so that folder permissions count.
    static bool Unprivileged(const std::function<bool()>& write) {
        if (::geteuid() != 0) return write();
        const pid_t pid = ::fork();
        if (pid == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
            ::_exit(write() ? 0 : 1);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    std::string dir;
    std::string program;
    DesktopFolders folders;
};

TEST_F(AssociationTest, WrittenAssociationIsValidAndTheDesktopsDefault) {
    EXPECT_FALSE(AssociationExists(folders));
    EXPECT_EQ(ReadAssociationCommand(folders), "不明");

    std::string error;
    ASSERT_TRUE(WriteAssociation(folders, program, dir + "/prog/quorvel.png", error)) << error;

    EXPECT_EQ(Shell("desktop-file-validate " + DesktopFile() + " 2>&1; echo $?"), "0\n");
    EXPECT_EQ(XdgDefault(), "quorvel.desktop\n");
    EXPECT_TRUE(AssociationExists(folders));
    EXPECT_EQ(ReadAssociationCommand(folders), program);
    EXPECT_TRUE(AssociatedWithProgram(folders));
    // The system lacked the type, so the user's MIME database has it now, with the *.sgf pattern.
    EXPECT_NE(ReadTestFile(folders.dataHome + "/mime/globs2").find("application/x-go-sgf:*.sgf"), std::string::npos);
}

// Wherever the desktop takes another program's default from, the program finds the same one as xdg-mime, so
// that the association command asks before it replaces it: systems with Kigo or qgo installed name them only
// in the MIME cache that update-desktop-database writes.
TEST_F(AssociationTest, TheDefaultIsFoundWhereverTheDesktopFindsIt) {
    const std::string user = folders.dataHome + "/applications/";
    const std::string system = folders.dataDirs[0] + "/applications/";
    const std::string entry = "[Desktop Entry]\nType=Application\nName=X\nExec=/bin/true %f\n"
                              "MimeType=text/plain;application/x-go-sgf;\n";
    const struct {
        const char* why;
        std::vector<std::pair<std::string, std::string>> files;  // path, text
        const char* found;
        const char* command;
    } cases[] = {
        {"nothing knows SGF files", {}, "", "不明"},
        {"only the system's MIME cache, naming an entry that is not there",
         {{system + "mimeinfo.cache", "[MIME Cache]\ntext/plain=ed.desktop;\napplication/x-go-sgf=kigo.desktop;qgo.desktop;\n"}},
         "kigo.desktop", "不明"},
        {"the MIME cache naming an installed entry",
         {{system + "mimeinfo.cache", "[MIME Cache]\napplication/x-go-sgf=kigo.desktop;\n"},
          {system + "kigo.desktop", entry}},
         "kigo.desktop", "/bin/true"},
        {"the user's cache before the system's, defaults.list before the cache",
         {{system + "mimeinfo.cache", "[MIME Cache]\napplication/x-go-sgf=kigo.desktop;\n"},
          {user + "mimeinfo.cache", "[MIME Cache]\napplication/x-go-sgf=qgo.desktop;\n"},
          {user + "defaults.list", "[Default Applications]\napplication/x-go-sgf=quarry.desktop\n"}},
         "quarry.desktop", "不明"},
        {"a defaults.list line naming nothing hides its folder's cache, not the next folder's",
         {{user + "defaults.list", "[Default Applications]\napplication/x-go-sgf=\n"},
          {user + "mimeinfo.cache", "[MIME Cache]\napplication/x-go-sgf=kigo.desktop;\n"},
          {system + "mimeinfo.cache", "[MIME Cache]\napplication/x-go-sgf=qgo.desktop;\n"}},
         "qgo.desktop", "不明"},
        {"a mimeapps.list before any cache",
         {{system + "mimeinfo.cache", "[MIME Cache]\napplication/x-go-sgf=kigo.desktop;\n"},
          {system + "qgo.desktop", entry},
          {folders.configDirs[0] + "/mimeapps.list", "[Default Applications]\napplication/x-go-sgf=qgo.desktop\n"}},
         "qgo.desktop", "/bin/true"},
        {"no list at all: the installed entry of highest preference",
         {{system + "aaa.desktop", entry},
          {system + "games/bbb.desktop", entry + "InitialPreference=3\n"},
          {system + "ccc.desktop", entry + "InitialPreference=1\n"},
          {system + "ddd.desktop", "[Desktop Entry]\nType=Application\nName=D\nExec=/bin/true\nInitialPreference=9\n"}},
         "bbb.desktop", "/bin/true"},
    };
    for (const auto& c : cases) {
        fs::remove_all(dir + "/system");
        fs::remove_all(folders.dataHome);
        fs::remove_all(folders.configDirs[0]);
        for (const auto& [path, text] : c.files) WriteTestFile(path, text);
        const std::string desktop = XdgDefault();
        EXPECT_EQ(desktop, std::string(c.found) + (*c.found ? "\n" : "")) << c.why;
        EXPECT_EQ(DefaultSgfApplication(folders), c.found) << c.why;
        EXPECT_EQ(AssociationExists(folders), *c.found != 0) << c.why;
        EXPECT_EQ(ReadAssociationCommand(folders), c.command) << c.why;
        EXPECT_FALSE(AssociatedWithProgram(folders)) << c.why;
    }
}

TEST_F(AssociationTest, ASystemThatKnowsSgfGetsNoMimePackage) {
    WriteTestFile(folders.dataDirs[0] + "/mime/application/x-go-sgf.xml", "<mime-type/>");
    std::string error;
    ASSERT_TRUE(WriteAssociation(folders, program, "quorvel", error)) << error;
    EXPECT_FALSE(fs::exists(folders.dataHome + "/mime"));
    EXPECT_EQ(XdgDefault(), "quorvel.desktop\n");
}

TEST_F(AssociationTest, AnotherDefaultExistsButIsNotThisProgram) {
    OtherDefault("[Default Applications]\napplication/x-go-sgf=other.desktop;\n");
    EXPECT_TRUE(AssociationExists(folders));
    EXPECT_EQ(ReadAssociationCommand(folders), "/bin/true");
    EXPECT_FALSE(AssociatedWithProgram(folders));
    // A default naming an application that is not installed is passed over, as by the desktop: the
    // installed entry that lists the type is the default then.
    WriteTestFile(MimeappsList(), "[Default Applications]\napplication/x-go-sgf=gone.desktop;\n");
    EXPECT_EQ(DefaultSgfApplication(folders), "other.desktop");
    EXPECT_EQ(XdgDefault(), "other.desktop\n");
}

TEST_F(AssociationTest, ProgramPathsThatNeedQuotesReadBackWhole) {
    for (const std::string name : {"with blank/ZarnShow", "a$b`c\\d\"e%f/ZarnShow"}) {
        program = dir + "/" + name;
        WriteTestFile(program, "#!/bin/sh\n");
        ::chmod(program.c_str(), 0755);
        std::string error;
        ASSERT_TRUE(WriteAssociation(folders, program, "quorvel", error)) << error;
        EXPECT_EQ(Shell("desktop-file-validate " + DesktopFile() + " 2>&1; echo $?"), "0\n") << name;
        EXPECT_EQ(ReadAssociationCommand(folders), program) << name;
    }
    EXPECT_EQ(DesktopExecProgram("/opt/q/ZarnShow"), "/opt/q/ZarnShow");
    EXPECT_EQ(DesktopExecProgram("/my games/ZarnShow"), "\"/my games/ZarnShow\"");
    EXPECT_EQ(DesktopExecProgram("/a$b/100%/Z"), "\"/a\\\\$b/100%%/Z\"");
}

TEST_F(AssociationTest, TheDefaultReplacesOnlyItsOwnLine) {
    const struct {
        const char* before;
        const char* after;
    } cases[] = {
        {"", "[Default Applications]\napplication/x-go-sgf=quorvel.desktop;\n"},
        {"[Added Associations]\napplication/x-go-sgf=a.desktop;\n",
         "[Added Associations]\napplication/x-go-sgf=a.desktop;\n\n[Default Applications]\n"
         "application/x-go-sgf=quorvel.desktop;\n"},
        {"[Default Applications]\ntext/plain=ed.desktop\napplication/x-go-sgf = b.desktop;c.desktop;\n"
         "image/png=v.desktop\n[Added Associations]\nx=y\n",
         "[Default Applications]\ntext/plain=ed.desktop\napplication/x-go-sgf=quorvel.desktop;\n"
         "image/png=v.desktop\n[Added Associations]\nx=y\n"},
        {"[Default Applications]\ntext/plain=ed.desktop\n[Other]\nk=v",
         "[Default Applications]\ntext/plain=ed.desktop\napplication/x-go-sgf=quorvel.desktop;\n[Other]\nk=v"},
        {"[Default Applications]\r\napplication/x-go-sgf=b.desktop\r\n",
         "[Default Applications]\r\napplication/x-go-sgf=quorvel.desktop;\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(WithSgfDefault(c.before), c.after) << c.before;
}

TEST_F(AssociationTest, AFolderThatCannotBeWrittenLeavesEveryFileAsItWas) {
    // The handler's folder is writable, the default's is not: the entry written first is taken back.
    const std::string list = "[Default Applications]\napplication/x-go-sgf=other.desktop;\n";
    OtherDefault(list);
    WriteTestFile(DesktopFile(), "[Desktop Entry]\nold entry\n");
    for (const std::string& d : {dir, folders.dataHome, folders.dataHome + "/applications", dir + "/system"}) {
        ::chmod(d.c_str(), 0777);
    }
    ::chmod(DesktopFile().c_str(), 0666);
    ::chmod(folders.configHome.c_str(), 0555);
    ::chmod(MimeappsList().c_str(), 0444);

    const DesktopFolders f = folders;
    const std::string exe = program;
    EXPECT_FALSE(Unprivileged([&] {
        std::string error;
        return WriteAssociation(f, exe, "quorvel", error);
    }));
    EXPECT_EQ(ReadTestFile(DesktopFile()), "[Desktop Entry]\nold entry\n");
    EXPECT_EQ(ReadTestFile(MimeappsList()), list);
    EXPECT_FALSE(fs::exists(folders.dataHome + "/mime"));
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        EXPECT_EQ(e.path().filename().string().find(".quorvel-"), std::string::npos) << e.path();
    }

    // A handler folder that cannot be written still lets its writable entry be written in place, and the
    // association is made; with the entry read-only too, it stops before anything else is touched.
    ::chmod(folders.configHome.c_str(), 0777);
    ::chmod(MimeappsList().c_str(), 0666);
    ::chmod((folders.dataHome + "/applications").c_str(), 0555);
    ::chmod(DesktopFile().c_str(), 0444);
    EXPECT_FALSE(Unprivileged([&] {
        std::string error;
        return WriteAssociation(f, exe, "quorvel", error);
    }));
    EXPECT_EQ(ReadTestFile(MimeappsList()), list);
    EXPECT_EQ(ReadTestFile(DesktopFile()), "[Desktop Entry]\nold entry\n");
    ::chmod(DesktopFile().c_str(), 0666);
    EXPECT_TRUE(Unprivileged([&] {
        std::string error;
        return WriteAssociation(f, exe, "quorvel", error);
    }));
    EXPECT_NE(ReadTestFile(DesktopFile()).find("Exec=" + exe + " %f"), std::string::npos);
    EXPECT_EQ(ReadTestFile(MimeappsList()), "[Default Applications]\napplication/x-go-sgf=quorvel.desktop;\n");
}

}  // namespace
}  // namespace quorvel
