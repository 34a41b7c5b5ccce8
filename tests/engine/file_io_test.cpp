#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <cstring>
#include <random>
#include <thread>

#include "platform/file_io.h"

namespace quorvel::test {
namespace {

// A Unix socket bound at `path`, or -1.
int BoundSocket(const std::string& path) {
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    if (::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(sock);
        return -1;
    }
    return sock;
}

namespace fs = std::filesystem;

std::string ReadWithStreams(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(ReadWholeFile, EveryByteOfFilesOfAnySizeAndOfFilesWithoutAKnownSize) {
    char pattern[] = "/tmp/quorvel-read-XXXXXX";
    const std::string dir = ::mkdtemp(pattern);
    std::mt19937 random(7);
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{65536}, std::size_t{200001}}) {
        std::string bytes(size, '\0');
        for (char& c : bytes) c = static_cast<char>(random());
        const std::string path = dir + "/f" + std::to_string(size);
        std::ofstream(path, std::ios::binary) << bytes;
        std::string read, error;
        ASSERT_TRUE(ReadWholeFile(path, read, error)) << error;
        EXPECT_EQ(read, bytes) << size;
    }

    // A file of /proc has no size until it is read to its end.
    std::string read, error;
    ASSERT_TRUE(ReadWholeFile("/proc/self/mountinfo", read, error)) << error;
    EXPECT_EQ(read.substr(0, 40), ReadWithStreams("/proc/self/mountinfo").substr(0, 40));

    fs::remove_all(dir);
}

// Reads that would wait for ever or fill the memory end at once, saying why.
TEST(ReadWholeFile, OnlyRegularFilesAreReadAndNoneBeyondTheLongest) {
    char pattern[] = "/tmp/quorvel-read-XXXXXX";
    const std::string dir = ::mkdtemp(pattern);
    const auto refused = [](const std::string& path) {
        std::string read = "left over", error;
        EXPECT_FALSE(ReadWholeFile(path, read, error)) << path;
        EXPECT_TRUE(read.empty()) << path;
        return error;
    };
    // A pipe nobody writes: opening it for reading alone would wait for a writer.
    ASSERT_EQ(::mkfifo((dir + "/pipe.sgf").c_str(), 0600), 0);
    EXPECT_EQ(refused(dir + "/pipe.sgf"), "通常のファイルではないので読み込めません（名前付きパイプ）。");
    // A link to a device that never ends.
    fs::create_symlink("/dev/zero", dir + "/zero.sgf");
    EXPECT_EQ(refused(dir + "/zero.sgf"), "通常のファイルではないので読み込めません（デバイス）。");
    EXPECT_EQ(refused("/dev/zero"), "通常のファイルではないので読み込めません（デバイス）。");
    // A socket cannot even be opened; the reason is still what it is.
    const std::string socketPath = dir + "/socket.sgf";
    const int sock = BoundSocket(socketPath);
    ASSERT_GE(sock, 0);
    EXPECT_EQ(refused(socketPath), "通常のファイルではないので読み込めません（ソケット）。");
    ::close(sock);
    EXPECT_EQ(refused(dir), "フォルダなので読み込めません。");

    // A file one byte over the longest is not read at all (a sparse file: no disk is used).
    const std::string large = dir + "/large.sgf";
    std::ofstream(large, std::ios::binary) << "(;";
    fs::resize_file(large, kLongestReadFile + 1);
    EXPECT_EQ(refused(large), "256 MB を超えるファイルは読み込みません。");
    fs::resize_file(large, 300000);
    std::string read, error;
    ASSERT_TRUE(ReadWholeFile(large, read, error)) << error;
    EXPECT_EQ(read, "(;" + std::string(300000 - 2, '\0'));
    fs::remove_all(dir);
}

TEST(AbsolutePath, ARelativeNameIsTakenFromTheCurrentFolder) {
    const std::string here = fs::current_path().string();
    EXPECT_EQ(AbsolutePath("game.sgf"), here + "/game.sgf");
    EXPECT_EQ(AbsolutePath("./d1/game.sgf"), here + "/d1/game.sgf");
    EXPECT_EQ(AbsolutePath("../game.sgf"), here + "/../game.sgf");
    EXPECT_EQ(AbsolutePath("/abs/game.sgf"), "/abs/game.sgf");
    EXPECT_EQ(AbsolutePath(""), "");
}

class WriteFileAtomicallyTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvel-write-XXXXXX";
        dir = ::mkdtemp(pattern);
    }
    void TearDown() override {
        ::chmod(dir.c_str(), 0700);
        fs::remove_all(dir);
    }
    bool Write(const std::string& path, const std::string& bytes) {
        error.clear();
        return WriteFileAtomically(path, bytes, error);
    }
    std::vector<std::string> Names(const std::string& sub = "") const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir + sub)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string dir;
    std::string error;
};

TEST_F(WriteFileAtomicallyTest, ALinkStaysALinkAndItsTargetTakesTheRecord) {
    fs::create_directory(dir + "/records");
    const std::string real = dir + "/records/real.sgf";
    std::ofstream(real, std::ios::binary) << "old";
    fs::create_symlink("records/real.sgf", dir + "/link.sgf");           // relative to the link's folder
    fs::create_symlink(dir + "/link.sgf", dir + "/link2.sgf");           // a link to a link, absolute
    fs::create_symlink("records/later.sgf", dir + "/dangling.sgf");      // a link to no file yet

    ASSERT_TRUE(Write(dir + "/link.sgf", "new")) << error;
    EXPECT_TRUE(fs::is_symlink(dir + "/link.sgf"));
    EXPECT_EQ(ReadWithStreams(real), "new");
    ASSERT_TRUE(Write(dir + "/link2.sgf", "newer")) << error;
    EXPECT_TRUE(fs::is_symlink(dir + "/link2.sgf"));
    EXPECT_EQ(ReadWithStreams(real), "newer");
    ASSERT_TRUE(Write(dir + "/dangling.sgf", "made")) << error;
    EXPECT_TRUE(fs::is_symlink(dir + "/dangling.sgf"));
    EXPECT_EQ(ReadWithStreams(dir + "/records/later.sgf"), "made");

    // A loop of links is refused, and nothing is made.
    fs::create_symlink("loop-b", dir + "/loop-a");
    fs::create_symlink("loop-a", dir + "/loop-b");
    EXPECT_FALSE(Write(dir + "/loop-a", "x"));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(Names(), (std::vector<std::string>{"dangling.sgf", "link.sgf", "link2.sgf", "loop-a", "loop-b", "records"}));
    EXPECT_EQ(Names("/records"), (std::vector<std::string>{"later.sgf", "real.sgf"}));
}

TEST_F(WriteFileAtomicallyTest, OnlyARegularFileTheUserMayWriteOrANewNameIsReplaced) {
    const auto refused = [&](const std::string& path) {
        EXPECT_FALSE(Write(path, "(;GM[1];B[aa])")) << path;
        return error;
    };
    // A pipe a reader may be waiting on stays a pipe.
    const std::string pipe = dir + "/pipe.sgf";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(refused(pipe), "通常のファイルではないので書き込みません（名前付きパイプ）。");
    EXPECT_TRUE(fs::is_fifo(pipe));
    // Through a link too, which stays a link.
    fs::create_symlink("pipe.sgf", dir + "/to-pipe.sgf");
    EXPECT_EQ(refused(dir + "/to-pipe.sgf"), "通常のファイルではないので書き込みません（名前付きパイプ）。");
    EXPECT_TRUE(fs::is_symlink(dir + "/to-pipe.sgf"));

    const std::string socketPath = dir + "/socket.sgf";
    const int sock = BoundSocket(socketPath);
    ASSERT_GE(sock, 0);
    EXPECT_EQ(refused(socketPath), "通常のファイルではないので書き込みません（ソケット）。");
    EXPECT_TRUE(fs::is_socket(socketPath));
    ::close(sock);

    // The superuser could put a file in place of a device node: a node of its own, the system's null
    // device, where the system lets the test make one.
    const std::string device = dir + "/null.sgf";
    if (::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0) {
        EXPECT_EQ(refused(device), "通常のファイルではないので書き込みません（デバイス）。");
        EXPECT_TRUE(fs::is_character_file(device));
    } else {
        std::cout << "no device node made here (" << std::strerror(errno) << "); devices untried\n";
    }

    // A folder, and a file whose permissions forbid writing, get one answer, for the superuser as well.
    fs::create_directory(dir + "/folder.sgf");
    const std::string folderError = refused(dir + "/folder.sgf");
    EXPECT_EQ(folderError, "書き込めるファイルではありません。");
    EXPECT_TRUE(fs::is_directory(dir + "/folder.sgf"));
    const std::string locked = dir + "/locked.sgf";
    std::ofstream(locked, std::ios::binary) << "keep";
    ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
    EXPECT_EQ(refused(locked), folderError);
    EXPECT_EQ(ReadWithStreams(locked), "keep");
    struct stat st {};
    ASSERT_EQ(::stat(locked.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);

    // Given back its write permission, it is written.
    ASSERT_EQ(::chmod(locked.c_str(), 0644), 0);
    ASSERT_TRUE(Write(locked, "new")) << error;
    EXPECT_EQ(ReadWithStreams(locked), "new");
    std::vector<std::string> expected{"folder.sgf", "locked.sgf", "pipe.sgf", "socket.sgf", "to-pipe.sgf"};
    if (fs::exists(device)) expected.insert(expected.begin() + 2, "null.sgf");
    EXPECT_EQ(Names(), expected);
}

TEST_F(WriteFileAtomicallyTest, ANameOfTheLongestLengthIsSavedAndOverwritten) {
    // 255 bytes is the longest name the file system takes; the name has two-byte characters as names of
    // records often do.
    std::string name = "\xE6\xA3\x8B\xE8\xAD\x9C";
    name += std::string(255 - 4 - name.size(), 'x') + ".sgf";
    ASSERT_EQ(name.size(), 255u);
    const std::string path = dir + "/" + name;
    ASSERT_TRUE(Write(path, "first")) << error;
    ASSERT_TRUE(Write(path, "second")) << error;
    EXPECT_EQ(ReadWithStreams(path), "second");
    EXPECT_EQ(Names(), std::vector<std::string>{name});
}

TEST_F(WriteFileAtomicallyTest, AWritableFileInAFolderThatCannotBeWrittenIsWrittenInPlace) {
    // The superuser writes any folder, so there is no such folder to try this on.
    if (::geteuid() == 0) GTEST_SKIP() << "running as root: folder permissions do not apply";
    const std::string path = dir + "/shared.sgf";
    const std::string locked = dir + "/locked.sgf";
    std::ofstream(path, std::ios::binary) << "an old record, longer than the new one";
    std::ofstream(locked, std::ios::binary) << "keep";
    ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
    ASSERT_EQ(::chmod(dir.c_str(), 0555), 0);

    ASSERT_TRUE(Write(path, "new record")) << error;
    EXPECT_EQ(ReadWithStreams(path), "new record");
    ASSERT_TRUE(Write(path, std::string(100000, 'g'))) << error;
    EXPECT_EQ(ReadWithStreams(path), std::string(100000, 'g'));
    // Neither the file nor its folder can be written: refused, and the file is as it was.
    EXPECT_FALSE(Write(locked, "lost"));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadWithStreams(locked), "keep");
    // A new file there cannot be made at all.
    EXPECT_FALSE(Write(dir + "/new.sgf", "x"));
    EXPECT_EQ(Names(), (std::vector<std::string>{"locked.sgf", "shared.sgf"}));
}

}  // namespace
}  // namespace quorvel::test
