// Mail texts checked against independent readings: glibc's own ISO-2022-JP and Shift_JIS converters, and
// a Base64 decoder written here from the alphabet.
#include <gtest/gtest.h>
#include <iconv.h>

#include "net/mail_text.h"
#include "net/smtp_client.h"

namespace quorvel::net {
namespace {

// glibc's conversion of `bytes` from `from` to UTF-8; "<invalid>" when it refuses them.
std::string Iconv(const char* from, const std::string& bytes) {
    iconv_t cd = iconv_open("UTF-8", from);
    std::string in = bytes;
    std::string out(bytes.size() * 4 + 16, '\0');
    char* inp = in.data();
    char* outp = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    const std::size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
    iconv(cd, nullptr, nullptr, &outp, &outLeft);
    iconv_close(cd);
    if (r == static_cast<std::size_t>(-1)) return "<invalid>";
    out.resize(out.size() - outLeft);
    return out;
}

std::string FromBase64(const std::string& text) {
    const std::string digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned bits = 0;
    int count = 0;
    for (char c : text) {
        const std::size_t v = digits.find(c);
        if (v == std::string::npos) continue;
        bits = (bits << 6) | static_cast<unsigned>(v);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return out;
}

TEST(MailText, EveryJisX0208CharacterConvertsAsGlibcReadsIt) {
    // Every two-byte Shift-JIS code that glibc's Shift_JIS knows, each between ASCII letters.
    std::string text;
    for (int lead = 0x81; lead <= 0xEF; ++lead) {
        if (lead >= 0xA0 && lead <= 0xDF) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            const std::string c{static_cast<char>(lead), static_cast<char>(trail)};
            if (Iconv("SHIFT_JIS", c) != "<invalid>") text += c + "a";
        }
    }
    ASSERT_GT(text.size(), 6879u * 3 - 1);
    const std::string jis = SjisToIso2022Jp(text);
    for (char c : jis) ASSERT_LT(static_cast<unsigned char>(c), 0x80);
    EXPECT_EQ(Iconv("ISO-2022-JP", jis), Iconv("SHIFT_JIS", text));
}

TEST(MailText, LineEndsKanaAndStrayBytes) {
    struct Case {
        std::string sjis;
        std::string utf8;
    };
    const Case cases[] = {
        {"\x8a\xfb\x95\x88\r\nA SGF\r\nend", u8"棋譜\nA SGF\nend"},  // CR before LF dropped, LF stays
        {"\r\r", "\r\r"},
        {"\xb6\xde\xdd", u8"カ゛ン"},                                 // half-width katakana, full-width
        {"a\x80" "b", "a?b"},                                        // no 7-bit text carries it
        {"\x93\xfa", u8"日"},                                          // a run closed at the end
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(Iconv("ISO-2022-JP", SjisToIso2022Jp(c.sjis)), c.utf8) << c.utf8;
    EXPECT_EQ(SjisToIso2022Jp("\x93\xfa" "a"), "\x1b$BF|\x1b(Ba");
}

TEST(MailText, Base64MatchesTheAlphabet) {
    for (const std::string& bytes : {std::string(), std::string("a"), std::string("ab"), std::string("abc"),
                                     std::string("\0\xff\x80(;", 5)}) {
        EXPECT_EQ(FromBase64(Base64(bytes)), bytes);
        EXPECT_EQ(Base64(bytes).size() % 4, 0u);
    }
    EXPECT_EQ(Base64("Kifu"), "S2lmdQ==");
}

TEST(MailText, SubjectsAreEncodedWordsThatCannotAddHeaders) {
    EXPECT_EQ(EncodeSubject("Kifu Mail"), "Kifu Mail");
    const std::string subjects[] = {
        "a\r\nBcc: x@y",
        "\x82\xc8\x82\xb5",  // "なし"
        std::string(40, 'x') + "\x8a\xfb\x95\x88\x82\xf0\x91\x97\x82\xe8\x82\xdc\x82\xb7" + std::string(30, 'y') +
            "\x8a\xfb\x95\x88\x8a\xfb\x95\x88\x8a\xfb\x95\x88\x8a\xfb\x95\x88\x8a\xfb\x95\x88",
        "=?ISO-2022-JP?B?abc?=",
    };
    for (const std::string& subject : subjects) {
        const std::string header = EncodeSubject(subject);
        std::string decoded;
        std::size_t start = 0;
        while (start <= header.size()) {
            std::size_t end = header.find("\r\n", start);
            if (end == std::string::npos) end = header.size();
            const std::string line = header.substr(start, end - start);
            // Continuation lines only: no line a reader could take for a header of its own.
            EXPECT_TRUE(start == 0 || line[0] == ' ') << line;
            EXPECT_LE(line.size(), 76u) << line;
            const std::string word = line.substr(line.find_first_not_of(' '));
            ASSERT_EQ(word.compare(0, 16, "=?ISO-2022-JP?B?"), 0) << word;
            ASSERT_EQ(word.compare(word.size() - 2, 2, "?="), 0) << word;
            decoded += Iconv("ISO-2022-JP", FromBase64(word.substr(16, word.size() - 18)));
            start = end + 2;
        }
        std::string expected = Iconv("SHIFT_JIS", subject);
        if (const std::size_t crlf = expected.find("\r\n"); crlf != std::string::npos) expected.erase(crlf, 1);
        EXPECT_EQ(decoded, expected);
    }
}

TEST(MailText, AddressesAndServers) {
    for (const char* ok : {"a@b.c", "user+tag@example.org"}) EXPECT_TRUE(IsSafeAddress(ok)) << ok;
    for (const char* bad : {"", "a@b\r\nRCPT TO:<x@y>", "a@b\n", "a b@c", "<a@b>", "a@b> SIZE=1", "\x93\xfa@b"}) {
        EXPECT_FALSE(IsSafeAddress(bad)) << bad;
    }
    struct Case {
        const char* server;
        const char* url;
    };
    const Case cases[] = {
        {"mail.example.org", "smtp://mail.example.org:25"},
        {"127.0.0.1:2525", "smtp://127.0.0.1:2525"},
        {"[::1]:587", "smtp://[::1]:587"},
        {"[::1]", "smtp://[::1]:25"},
        {"host:0", ""}, {"host:65536", ""}, {"host:", ""}, {"host:2x", ""},
        {"", ""}, {"bad host", ""}, {"host/path", ""}, {"a@b", ""}, {"[::1", ""}, {"[x]:25", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(SmtpUrlOf(c.server), c.url) << c.server;
}

}  // namespace
}  // namespace quorvel::net
