#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <thread>

#include "platform/file_io.h"

namespace quorvel::test {
namespace {

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

    // A pipe has no size until it is read to its end.
    const std::string fifo = dir + "/pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string sent(300000, 'x');
    std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << sent; });
    std::string read, error;
    EXPECT_TRUE(ReadWholeFile(fifo, read, error)) << error;
    writer.join();
    EXPECT_EQ(read, sent);
    // As does a file of /proc.
    ASSERT_TRUE(ReadWholeFile("/proc/self/mountinfo", read, error)) << error;
    EXPECT_EQ(read.substr(0, 40), ReadWithStreams("/proc/self/mountinfo").substr(0, 40));

    EXPECT_FALSE(ReadWholeFile(dir, read, error));
    EXPECT_FALSE(error.empty());
    fs::remove_all(dir);
}

}  // namespace
}  // namespace quorvel::test
