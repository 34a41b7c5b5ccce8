#include <gtest/gtest.h>
#include <iconv.h>

#include "core/sgf_text.h"
#include "platform/text_codec.h"

namespace quorvel {
namespace {

// Every two-byte code reads as iconv reads that code alone, and a character read comes back as a code that
// reads as the same character.
TEST(TextCodec, EveryTwoByteCodeAgreesWithIconvCodeByCode) {
    iconv_t cd = iconv_open("UTF-32LE", "CP932");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    int valid = 0;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsCp932LeadByte(static_cast<unsigned char>(lead)) || IsUserDefinedLead(static_cast<unsigned char>(lead))) continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            char* in = bytes;
            std::size_t inLeft = 2;
            unsigned char u[8];
            char* out = reinterpret_cast<char*>(u);
            std::size_t outLeft = sizeof u;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            const bool read = iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1) && outLeft == 4;
            const std::string code(bytes, 2);
            EXPECT_EQ(IsValidCp932(code), read) << std::hex << (lead << 8 | trail);
            if (!read) continue;
            ++valid;
            const char32_t c = u[0] | u[1] << 8 | u[2] << 16 | static_cast<char32_t>(u[3]) << 24;
            EXPECT_EQ(Cp932ToUnicode(code, nullptr), std::u32string(1, c)) << std::hex << (lead << 8 | trail);
            EXPECT_EQ(Cp932ToUnicode(Utf8ToCp932Exact(UnicodeToUtf8(std::u32string(1, c)), nullptr, nullptr), nullptr),
                      std::u32string(1, c))
                << std::hex << (lead << 8 | trail);
        }
    }
    iconv_close(cd);
    // JIS X 0208 with NEC's and IBM's additions: about eight thousand characters.
    EXPECT_GT(valid, 7500);
}

// Characters whose second Shift-JIS byte is "[", "]" or "\".
TEST(TextCodec, TrailBytesThatLookLikeSgfSyntaxRoundTrip) {
    const std::string zeZo = "ゼゾ";
    EXPECT_EQ(zeZo, std::string("\x83\x5B\x83\x5D"));
    const std::string soHyou = "ソ表";
    EXPECT_EQ(soHyou, std::string("\x83\x5C\x95\x5C"));

    EXPECT_EQ(Cp932ToUtf8("ゼゾソ表"), std::string(u8"ゼゾソ表"));
    EXPECT_EQ(Utf8ToCp932(u8"ゼゾソ表"), "ゼゾソ表");
    EXPECT_EQ(Cp932ToUtf16("ゼゾソ表"), std::u16string(u"ゼゾソ表"));
    EXPECT_EQ(Utf16ToCp932(u"能登の表ソ"), "能登の表ソ");
}

TEST(TextCodec, MixedAsciiAndJapaneseKeepEveryByte) {
    const std::string text = "PB[大竹英雄]C[黒 3 目半勝]\r\n";
    EXPECT_EQ(Utf8ToCp932(Cp932ToUtf8(text)), text);
    EXPECT_EQ(Utf16ToCp932(Cp932ToUtf16(text)), text);
}

TEST(TextCodec, InvalidBytesAreReplacedNotDropped) {
    // 0xA0 is no character in CP932; a lone lead byte at the end is incomplete.
    const std::string bad = std::string("a\xA0") + "b" + std::string("\x83");
    EXPECT_EQ(Cp932ToUtf8(bad), std::string(u8"a\uFFFDb\uFFFD"));
    EXPECT_EQ(Cp932ToUtf16(bad), std::u16string(u"a\uFFFDb\uFFFD"));
}

TEST(TextCodec, CharactersCp932CannotHoldBecomeOneQuestionMarkEach) {
    // An emoji and the euro sign; written as escapes because the test macros quote their arguments in
    // the Shift-JIS execution character set, which has neither.
    EXPECT_EQ(Utf8ToCp932(u8"a\U0001F600b\u20ACc"), "a?b?c");
    EXPECT_EQ(Utf16ToCp932(u"a\U0001F600b"), "a?b");
    // Invalid UTF-8 in the middle does not stop the conversion.
    EXPECT_EQ(Utf8ToCp932(std::string("x\xFFy")), "x?y");
}

TEST(SgfText, ProtectReplacesSyntaxButNotTrailBytes) {
    EXPECT_EQ(ProtectSgfText("a)b;c]d[e(f"), "a）b；c］d［e（f");
    // "ゼ" ends in the byte of "[", "ゾ" in "]", "表" in "\": all stay as they are.
    EXPECT_EQ(ProtectSgfText("ゼ]ゾ表("), "ゼ］ゾ表（");
}

TEST(SgfText, FindStepsOverSecondBytes) {
    const std::string s = "C[ゼゾ表]B[aa]";
    EXPECT_EQ(FindSgfChar(s, ']'), 8u);
    EXPECT_EQ(FindSgfChar(s, '['), 1u);
    EXPECT_EQ(FindSgfChar(s, '[', 2), 10u);
    EXPECT_EQ(FindSgfChar(s, '\\'), std::string::npos);
}

}  // namespace
}  // namespace quorvel
