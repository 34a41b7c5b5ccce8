// Records in other encodings than Shift-JIS: the decision on a load, the codes of the user-defined area,
// saving in the record's own encoding, and texts typed in the windows.
//
// Texts in UTF-8 are written as u8"" literals; plain literals are the program's Shift-JIS.
#include <filesystem>

#include "app/file_commands.h"
#include "engine_fixture.h"
#include "formats/record_encoding.h"
#include "formats/sgf_reader.h"
#include "formats/sgf_writer.h"
#include "platform/file_io.h"

namespace quorvel::test {
namespace {

namespace fs = std::filesystem;

std::string Utf16LeWithMark(std::u16string_view text) {
    std::string out("\xFF\xFE", 2);
    for (char16_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

TEST(RecordEncoding, TheLoadDecidesTheEncoding) {
    struct Case {
        const char* label;
        std::string bytes;
        std::string encoding;  // "" = Shift-JIS
        std::string text;      // the program's text after the load ("" = the bytes as they stand)
    };
    const Case cases[] = {
        {"UTF-8 mark", std::string("\xEF\xBB\xBF") + u8"(;PB[ヒカル];B[aa])", "UTF-8", "(;PB[ヒカル];B[aa])"},
        {"UTF-16 LE mark", Utf16LeWithMark(u"(;CA[UTF16LE]PB[井山];B[aa])"), "UTF-8", "(;CA[UTF16LE]PB[井山];B[aa])"},
        {"GB2312 by CA, after the names", "(;PB[\xB9\xC5\xC1\xA6]CA[gb2312];B[aa])", "gb2312", "(;PB[古力]CA[gb2312];B[aa])"},
        {"a CA naming Shift-JIS over UTF-8 bytes", u8"(;PB[�R]CA[MS_KANJI];B[aa])", "UTF-8", ""},
        {"UTF-8 without CA", u8"(;PB[ヒカル];B[aa])", "UTF-8", "(;PB[ヒカル];B[aa])"},
        {"Shift-JIS without CA", "(;PB[ヒカル]C[ソ表];B[aa])", "", ""},
        {"Shift-JIS by CA", "(;CA[Shift_JIS]PB[ヒカル];B[aa])", "", ""},
        {"ASCII under CA UTF-8", "(;CA[UTF-8]PB[Kim];B[aa])", "UTF-8", ""},
        {"EUC pairs without CA", "(;PB[\xB9\xC5\xC1\xA6];B[aa])", "GB18030", "(;PB[古力];B[aa])"},
        {"a CA iconv does not know", "(;CA[foo]PB[ヒカル];B[aa])", "", ""},
        // Latin-1 without CA: accented letters alone between ASCII ones; a kanji rank stays Shift-JIS.
        {"Latin-1 without CA", "(;PB[M\xFCller]PW[S\xE9" "bastien];B[aa])", "ISO-8859-1",
         "(;PB[M\xF0\x40ller]PW[S\xF0\x41" "bastien];B[aa])"},
        {"a kanji rank among ASCII", "(;PB[Cho Chikun 9段]PW[Otake]C[ﾟ];B[aa])", "", ""},
        {"kana beside an accented letter", "(;PB[M\xFCller]C[ｱｲ];B[aa])", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const DecodedRecord d = DecodeRecordBytes(c.bytes);
        EXPECT_EQ(d.encoding, c.encoding);
        if (!c.text.empty()) {
            ASSERT_TRUE(d.converted);
            EXPECT_EQ(d.text, c.text);
        } else if (c.encoding.empty()) {
            EXPECT_FALSE(d.converted);
        }
    }
    // The record whose CA lies: its bytes read as UTF-8 keep the replacement characters it holds.
    const DecodedRecord lie = DecodeRecordBytes(u8"(;PB[\uFFFDR]CA[MS_KANJI];B[aa])");
    EXPECT_EQ(UnicodeToUtf8(Cp932ToUnicode(lie.text, &lie.foreign)), std::string(u8"(;PB[\uFFFDR]CA[MS_KANJI];B[aa])"));
}

TEST(RecordEncoding, CharactersShiftJisLacksGetUserDefinedCodes) {
    ForeignCharacters table;
    std::size_t lost = 0;
    const std::string text = Utf8ToCp932Exact(u8"이창호 和 古力 〜", &table, &lost);
    // Three Hangul syllables take the first three codes; kanji and the wave dash... 〜 (U+301C) has no exact
    // code in CP932 (its 8160 reads as U+FF5E), so it takes a code too and comes back as itself.
    EXPECT_EQ(text, "\xF0\x40\xF0\x41\xF0\x42 和 古力 \xF0\x43");
    EXPECT_EQ(table.size(), 4u);
    EXPECT_EQ(lost, 0u);
    const std::string original = u8"이창호 和 古力 〜";
    EXPECT_EQ(UnicodeToUtf8(Cp932ToUnicode(text, &table)), original);
    // Without the table the codes read as the private-use characters CP932 gives them.
    EXPECT_EQ(Cp932ToUnicode("\xF0\x40", nullptr), std::u32string(1, U'\uE000'));

    // The area holds 1,880; codes whose second byte looks like "[", "\", "]" or "_" are given last.
    table.Clear();
    unsigned last = 0;
    for (char32_t c = 0xAC00; c < 0xAC00 + ForeignCharacters::kCapacity; ++c) {
        const unsigned code = table.CodeOf(c);
        ASSERT_NE(code, 0u);
        if (c < 0xAC00 + ForeignCharacters::kCapacity - 40) {
            const unsigned trail = code & 0xFF;
            EXPECT_TRUE(trail != '[' && trail != '\\' && trail != ']' && trail != '_') << std::hex << code;
        }
        last = code;
    }
    EXPECT_EQ(last, 0xF95Fu);
    EXPECT_EQ(table.CodeOf(0xAC00), 0xF040u);  // already there
    lost = 0;
    EXPECT_EQ(Utf8ToCp932Exact(u8"a\uD7A3b", &table, &lost), "a?b");
    EXPECT_EQ(lost, 1u);
}

TEST(RecordEncoding, ReadingUtf8StopsAtTheFirstByteThatIsNone) {
    std::string out;
    bool multibyte = true;
    EXPECT_TRUE(TryUtf8ToCp932("(;B[aa])", nullptr, nullptr, out, &multibyte));
    EXPECT_FALSE(multibyte);
    EXPECT_TRUE(TryUtf8ToCp932(u8"(;C[ここ])0123456789abcdef", nullptr, nullptr, out, &multibyte));
    EXPECT_TRUE(multibyte);
    EXPECT_EQ(out, "(;C[ここ])0123456789abcdef");
    EXPECT_FALSE(TryUtf8ToCp932("(;C[ここ])", nullptr, nullptr, out, &multibyte));     // Shift-JIS
    EXPECT_FALSE(TryUtf8ToCp932("\xE3\x81", nullptr, nullptr, out, &multibyte));        // cut short
    EXPECT_FALSE(TryUtf8ToCp932("\xED\xA0\x80", nullptr, nullptr, out, &multibyte));    // a surrogate
    EXPECT_FALSE(TryUtf8ToCp932("\xC0\xAF", nullptr, nullptr, out, &multibyte));        // overlong
    EXPECT_EQ(KindOfBytes(u8"abc"), ByteKind::kAscii);
    EXPECT_EQ(KindOfBytes(u8"碁"), ByteKind::kUtf8);
    EXPECT_EQ(KindOfBytes("碁"), ByteKind::kOther);
}

TEST(RecordEncoding, SavingWritesTheRecordsOwnEncodingWithItsCa) {
    ForeignCharacters table;
    const std::string hangul = Utf8ToCp932Exact(u8"이창호", &table, nullptr);
    std::string out;
    char32_t missing = 0;

    // Shift-JIS: the bytes as they stand, brackets in second bytes and all.
    const std::string sjis = "(;GM[1]PB[ソ表]\r\n;B[pd]C[ゼゾ（a）])\r\n";
    ASSERT_TRUE(EncodeRecordText(sjis, "", &table, out, &missing));
    EXPECT_EQ(out, sjis);
    // A character only the table holds cannot be Shift-JIS: the save falls back to UTF-8 and says so.
    const std::string typed = "(;GM[1]PB[" + hangul + "];B[pd])";
    EXPECT_FALSE(EncodeRecordText(typed, "", &table, out, &missing));
    EXPECT_EQ(missing, U'\uC774');
    std::string used;
    const std::string asUtf8 = u8"(;CA[UTF-8]GM[1]PB[이창호];B[pd])";
    EXPECT_EQ(RecordBytesToSave(typed, "", &table, &used), asUtf8);
    EXPECT_EQ(used, "UTF-8");

    // The CA is replaced when it names another encoding, kept when it names this one.
    ASSERT_TRUE(EncodeRecordText("(;CA[MS_KANJI]PB[" + hangul + "])", "UTF-8", &table, out, &missing));
    const std::string renamed = u8"(;CA[UTF-8]PB[이창호])";
    EXPECT_EQ(out, renamed);
    ASSERT_TRUE(EncodeRecordText("(;CA[utf8]PB[" + hangul + "])", "UTF-8", &table, out, &missing));
    const std::string kept = u8"(;CA[utf8]PB[이창호])";
    EXPECT_EQ(out, kept);
    ASSERT_TRUE(EncodeRecordText("(;CA[EUC-KR]PB[" + hangul + "])", "EUC-KR", &table, out, &missing));
    EXPECT_EQ(out, "(;CA[EUC-KR]PB[\xC0\xCC\xC3\xA2\xC8\xA3])");

    // Windows-1251 has no full-width forms: comments get their SGF characters back, escaped.
    ASSERT_TRUE(EncodeRecordText("(;CA[Windows-1251];B[aa]C[（x）［y］￥])", "Windows-1251", nullptr, out, &missing));
    EXPECT_EQ(out, "(;CA[Windows-1251];B[aa]C[(x)[y\\]\\\\])");
    // Big5 writes "（" with a second byte "]" that ends the value for programs reading the bytes: every form
    // goes back.
    ASSERT_TRUE(EncodeRecordText("(;CA[Big5];B[aa]C[alert（1）；])", "Big5", nullptr, out, &missing));
    EXPECT_EQ(out, "(;CA[Big5];B[aa]C[alert(1);])");
    // Converting to Shift-JIS by name renames a CA of another encoding.
    ASSERT_TRUE(EncodeRecordText("(;CA[UTF-8]PB[ヒカル])", "Shift_JIS", nullptr, out, &missing));
    EXPECT_EQ(out, "(;CA[Shift_JIS]PB[ヒカル])");
    // Kanji have no code in Windows-1251.
    EXPECT_FALSE(EncodeRecordText("(;PB[碁])", "Windows-1251", nullptr, out, &missing));
    EXPECT_EQ(missing, U'\u7881');
}

TEST(RecordEncoding, TypedTextKeepsCharactersThroughTheShownTable) {
    EXPECT_EQ(Utf16ToCp932(u"\uC774"), "?");  // no table shown
    auto table = std::make_shared<ForeignCharacters>();
    SetShownForeignCharacters(table);
    const std::string typed = Utf16ToCp932(u"\uC774\uCC3D 碁 \u301C \U00020000");
    // The wave dash of Japanese input methods becomes CP932's own, as Windows converts typed text.
    EXPECT_EQ(typed, "\xF0\x40\xF0\x41 碁 \x81\x60 \xF0\x42");
    EXPECT_EQ(Cp932ToUtf16(typed), std::u16string(u"\uC774\uCC3D 碁 \uFF5E \U00020000"));
    EXPECT_EQ(Cp932ToUtf8("\xF0\x40"), std::string(u8"\uC774"));
    SetShownForeignCharacters(nullptr);
}

class NoFileDialogs : public FileDialogs {
public:
    std::optional<std::string> RunOpenDialog(const std::string&) override { return std::nullopt; }
    std::optional<std::string> RunSaveDialog(const std::string&) override { return std::nullopt; }
};

class EncodedRecordFilesTest : public EngineTest {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvel-encodings-XXXXXX";
        dir = ::mkdtemp(pattern);
        titles = std::make_unique<TitleRegistry>(dir + "/titles");
        commands = std::make_unique<FileCommands>(e, files, *titles, LoadRecordText);
    }
    void TearDown() override {
        commands.reset();
        titles.reset();
        fs::remove_all(dir);
    }
    std::string Open(const std::string& name, const std::string& bytes) {
        const std::string path = dir + "/" + name;
        std::string error;
        EXPECT_TRUE(WriteFileAtomically(path, bytes, error)) << error;
        EXPECT_TRUE(commands->OpenPath(path));
        return path;
    }
    std::string Read(const std::string& path) {
        std::string bytes, error;
        EXPECT_TRUE(ReadWholeFile(path, bytes, error)) << error;
        return bytes;
    }

    std::string dir;
    NoFileDialogs files;
    std::unique_ptr<TitleRegistry> titles;
    std::unique_ptr<FileCommands> commands;
};

TEST_F(EncodedRecordFilesTest, AUtf8RecordIsSavedAsUtf8WithItsNewComments) {
    const std::string source = u8"(;GM[1]FF[4]SZ[19]PB[ヒカル]PW[이창호]\n;B[pd]C[좋은 수];W[dp])";
    const std::string path = Open("kgs.sgf", source);
    EXPECT_EQ(e.recordEncoding, "UTF-8");
    // The source the text window shows ("ソース") is the real text too.
    EXPECT_EQ(RealText(e, commands->lastLoadedText), source);
    const std::string white = u8"이창호";
    const std::string summary = u8"● ヒカル | ○ 이창호";
    EXPECT_EQ(RealText(e, e.info.whitePlayer), white);
    EXPECT_NE(RealText(e, messages.Text()).find(summary), std::string::npos);
    // A comment typed on the first move, in Hangul the record has and has not yet.
    e.StepForward();
    ForeignCharacters& table = *e.foreignCharacters;
    std::string typed;
    AppendExactCp932(typed, U'\uC88B', &table, nullptr);
    AppendExactCp932(typed, U'\uD55C', &table, nullptr);
    e.StoreComment(typed);
    ASSERT_TRUE(commands->KFWClick());
    const std::string saved = u8"(;CA[UTF-8]GM[1]FF[4]SZ[19]PB[ヒカル]PW[이창호]\r\n\r\n;B[pd]C[좋한];W[dp])\r\n";
    EXPECT_EQ(Read(path), saved);
}

TEST_F(EncodedRecordFilesTest, AShiftJisRecordIsSavedByteForByteAsTheWriterWritesIt) {
    const std::string record = "(;GM[1]FF[4]SZ[19]PB[申眞ソ]PW[党毅飛]\r\n;B[pd]C[ゼゾ表\\]];W[dp])";
    const std::string path = Open("sjis.sgf", record);
    EXPECT_EQ(e.recordEncoding, "");
    const std::string written = WholeRecordText(e);
    ASSERT_TRUE(commands->KFWClick());
    EXPECT_EQ(Read(path), written + "\r\n");
}

TEST_F(EncodedRecordFilesTest, ARecordBeyondTheAreaIsNeverSavedWithoutAQuestion) {
    std::string comments;
    for (int k = 0; k < 70; ++k) {
        std::u32string syllables;
        for (int s = 0; s < 30; ++s) syllables += static_cast<char32_t>(0xAC00 + k * 30 + s);
        comments += std::string(k % 2 ? ";W[" : ";B[") + static_cast<char>('a' + k % 19) + static_cast<char>('a' + k / 19) +
                    "]C[" + UnicodeToUtf8(syllables) + "]";
    }
    const std::string original = "(;GM[1]SZ[19]PB[Lee]" + comments + ")";
    const std::string path = Open("many.sgf", original);
    EXPECT_EQ(e.lostCharacters, 2100u - ForeignCharacters::kCapacity);
    // Said once in the text window, not again at the start position.
    EXPECT_NE(messages.Text().find(LostCharactersNotice(e.lostCharacters)), std::string::npos);
    EXPECT_EQ(e.summaryText.find(LostCharactersNotice(e.lostCharacters)), std::string::npos);

    dialogs.nextAnswer = Answer::No;
    EXPECT_FALSE(commands->KFWClick());
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_NE(dialogs.asked[0].find(std::to_string(e.lostCharacters)), std::string::npos);
    EXPECT_EQ(Read(path), original);
    dialogs.nextAnswer = Answer::Yes;
    EXPECT_TRUE(commands->KFWClick());
    EXPECT_NE(Read(path), original);
}

}  // namespace
}  // namespace quorvel::test
