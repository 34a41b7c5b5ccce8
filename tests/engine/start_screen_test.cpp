// The start screen's areas and keys, its shape, and the animation file's frames.
#include <gtest/gtest.h>

#include <cstdint>

#include "app/start_screen.h"
#include "platform/avi_frames.h"

namespace quorvel {
namespace {

// exit, switch, creation, clipboard, show
std::string Flags(const StartChoice& c) {
    return std::string() + (c.exit ? "E" : "-") + (c.windowSwitch ? "S" : "-") + (c.creation ? "C" : "-") +
           (c.clipboard ? "V" : "-") + (c.showWindows ? "W" : "-");
}

TEST(StartScreen, AreasOfThePicture) {
    const struct {
        int x, y;
        const char* flags;
    } cases[] = {
        {260, 194, "E----"}, {288, 222, "E----"}, {259, 194, "-S--W"}, {0, 222, "-S--W"},
        {114, 74, "--C-W"},  {115, 74, "----W"},  {114, 75, "----W"}, {0, 0, "--C-W"},
        {104, 86, "---VW"},  {104, 85, "----W"},  {105, 120, "----W"}, {104, 179, "---VW"},
        {104, 180, "----W"}, {260, 193, "----W"},
    };
    for (const auto& c : cases) EXPECT_EQ(Flags(StartScreenClick(c.x, c.y)), c.flags) << c.x << "," << c.y;
}

TEST(StartScreen, Keys) {
    EXPECT_EQ(Flags(StartScreenKey(StartKey::Escape, false, false)), "E----");
    EXPECT_EQ(Flags(StartScreenKey(StartKey::Space, false, false)), "--C-W");
    EXPECT_EQ(Flags(StartScreenKey(StartKey::Space, true, false)), "-SC-W");
    EXPECT_EQ(Flags(StartScreenKey(StartKey::Enter, false, false)), "----W");
    EXPECT_EQ(Flags(StartScreenKey(StartKey::Enter, true, true)), "-S--W");
    EXPECT_EQ(Flags(StartScreenKey(StartKey::Enter, false, true)), "---VW");
    EXPECT_EQ(Flags(StartScreenKey(StartKey::Other, true, true)), "-----");
}

TEST(StartScreen, ShapeIsEveryRunUnlikeTheTopLeftPixel) {
    const uint32_t k = 0xff00ff, a = 0x102030, b = 0x405060;
    // clang-format off
    const std::vector<uint32_t> picture = {
        k, a, a, k, b,
        k, k, k, k, k,
        a, b, k, a, k,
    };
    // clang-format on
    const std::vector<PixelRun> runs = OpaqueRuns(picture, 5, 3);
    ASSERT_EQ(runs.size(), 4u);
    const PixelRun expected[] = {{1, 0, 2}, {4, 0, 1}, {0, 2, 2}, {3, 2, 1}};
    for (std::size_t i = 0; i < runs.size(); ++i) {
        EXPECT_EQ(runs[i].x, expected[i].x);
        EXPECT_EQ(runs[i].y, expected[i].y);
        EXPECT_EQ(runs[i].length, expected[i].length);
    }
    EXPECT_TRUE(OpaqueRuns(picture, 5, 4).empty());  // fewer pixels than the size says
}

void Put32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>(v >> (8 * i) & 0xff);
}
std::string Chunk(const std::string& id, const std::string& data) {
    std::string s = id;
    Put32(s, static_cast<uint32_t>(data.size()));
    return s + data + (data.size() % 2 ? std::string(1, '\0') : std::string());
}
// A 2 x 2 AVI of `frames` frames written by hand after the file format's description: 40-byte
// BITMAPINFOHEADER, bottom-up rows padded to four bytes.
std::string HandMadeAvi(int bits, uint32_t compression, int frames, std::size_t frameBytes = 16) {
    std::string avih;
    Put32(avih, 200000);
    avih += std::string(52, '\0');
    std::string strf;
    for (uint32_t v : {40u, 2u, 2u}) Put32(strf, v);
    strf += static_cast<char>(1);
    strf += '\0';
    strf += static_cast<char>(bits);
    strf += '\0';
    Put32(strf, compression);
    strf += std::string(20, '\0');
    std::string movi = "movi";
    for (int f = 0; f < frames; ++f) {
        std::string rows(frameBytes, '\0');
        rows[0] = static_cast<char>(10 + f);  // blue of the bottom-left pixel
        movi += Chunk("00db", rows);
    }
    const std::string hdrl = "hdrl" + Chunk("avih", avih) + Chunk("LIST", "strl" + Chunk("strh", std::string(56, '\0')) + Chunk("strf", strf));
    return Chunk("RIFF", "AVI " + Chunk("LIST", hdrl) + Chunk("LIST", movi));
}

TEST(AviFrames, UncompressedFramesAreReadAndAnythingElseRefused) {
    AviFrames avi;
    std::string error;
    ASSERT_TRUE(ReadAviFrames(HandMadeAvi(24, 0, 3), avi, error)) << error;
    EXPECT_EQ(avi.width, 2);
    EXPECT_EQ(avi.height, 2);
    EXPECT_EQ(avi.Stride(), 8);
    EXPECT_EQ(avi.microsecondsPerFrame, 200000);
    ASSERT_EQ(avi.frames.size(), 3u);
    EXPECT_EQ(avi.frames[2][0], 12);

    EXPECT_FALSE(ReadAviFrames(HandMadeAvi(24, 0x47504a4d /* MJPG */, 1), avi, error));
    EXPECT_FALSE(ReadAviFrames(HandMadeAvi(8, 0, 1), avi, error));
    EXPECT_FALSE(ReadAviFrames(HandMadeAvi(24, 0, 1, 10), avi, error));  // a frame shorter than its rows
    EXPECT_FALSE(ReadAviFrames(HandMadeAvi(24, 0, 0), avi, error));
    EXPECT_FALSE(ReadAviFrames("RIFF\x04\0\0\0WAVE", avi, error));
    // Cut anywhere, the file is refused without reading past its end.
    const std::string whole = HandMadeAvi(32, 0, 2);
    ASSERT_TRUE(ReadAviFrames(whole, avi, error)) << error;
    for (std::size_t cut = 0; cut + 1 < whole.size(); cut += 7) {
        std::string part = whole.substr(0, cut);
        AviFrames some;
        if (ReadAviFrames(part, some, error)) {
            EXPECT_LT(some.frames.size(), 2u) << cut;
        }
    }
}

}  // namespace
}  // namespace quorvel
