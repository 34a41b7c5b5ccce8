// Texts whose characters must survive the way into the program's Shift-JIS and back out: records under
// wrong, aliased or subset CA labels or none, UTF-16 without a mark, the clipboard's Unicode text, typed
// edits of a record's foreign characters, and the record preview of converted text.
//
// Texts in UTF-8 are written as u8"" literals; plain literals are the program's Shift-JIS. Expected bytes
// of other encodings are Python's codecs' (euc_jp, cp949, gbk, big5hkscs, cp1252).
#include <filesystem>

#include "app/clipboard_read.h"
#include "auxiliary/record_preview.h"
#include "engine_fixture.h"
#include "formats/record_encoding.h"
#include "formats/sgf_reader.h"
#include "formats/text_board_reader.h"
#include "platform/file_io.h"

namespace quorvel::test {
namespace {

namespace fs = std::filesystem;

std::string Real(const DecodedRecord& d, std::string_view bytes) {
    return UnicodeToUtf8(Cp932ToUnicode(d.converted ? std::string_view(d.text) : bytes, &d.foreign));
}

std::string Utf16(std::u16string_view text, bool bigEndian) {
    std::string out;
    for (char16_t c : text) {
        const char low = static_cast<char>(c & 0xFF);
        const char high = static_cast<char>(c >> 8);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    }
    return out;
}

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int k = 0; k < n; ++k) out += s;
    return out;
}

TEST(ForeignText, EveryRecordReadsAsItsCharactersAndLabelledOnesSaveBackByteForByte) {
    struct Case {
        const char* label;
        std::string bytes;
        std::string encoding;  // what a save writes ("" = Shift-JIS)
        std::string real;      // the characters read (UTF-8)
        bool savesBack;        // a save writes the bytes read
    };
    const Case cases[] = {
        {"EUC-JP without CA, kana in the comment", "(;PB[\xBB\xB3\xC5\xC4];B[aa]C[\xA4\xE8\xA4\xA4\xBC\xEA])", "EUC-JP",
         u8"(;PB[山田];B[aa]C[よい手])", false},
        {"EUC-KR without CA, syllables only", "(;PB[\xC0\xCC\xBC\xBC\xB5\xB9]PW[\xB9\xDA\xC1\xA4\xC8\xAF];B[aa])", "CP949",
         u8"(;PB[이세돌]PW[박정환];B[aa])", false},
        {"Shift-JIS half-width katakana pairing up", "(;PB[\xB8\xDB]PW[\xBC\xDB]C[\xA6\xB0\xC4\xDE];B[aa])", "",
         u8"(;PB[ｸﾛ]PW[ｼﾛ]C[ｦｰﾄﾞ];B[aa])", true},
        {"GBK without CA", "(;PB[\xB3\xC2\xD2\xAB]C[\xBA\xC3\x86\xB4];B[aa])", "GB18030", u8"(;PB[陈耀]C[好喆];B[aa])", false},
        {"Big5 without CA", "(;PB[\xAC\x5F\xBC\xE4]C[\xB9\xEF\xA7\xBD \xA4\x40\xA6\x6E];B[aa])", "Big5",
         u8"(;PB[柯潔]C[對局 一好];B[aa])", false},
        {"a UTF-8 file with one Shift-JIS name, no CA", std::string(u8"(;PB[이세돌]PW[") + "山田" + u8"];B[aa])", "UTF-8",
         u8"(;PB[이세돌]PW[山田];B[aa])", false},
        {"a label iconv spells otherwise", "(;CA[EUC_JP]PB[\xBB\xB3\xC5\xC4];B[aa])", "EUC_JP", u8"(;CA[EUC_JP]PB[山田];B[aa])",
         true},
        {"ks_c_5601-1987", "(;CA[ks_c_5601-1987]PB[\xC0\xCC\xBC\xBC\xB5\xB9];B[aa])", "ks_c_5601-1987",
         u8"(;CA[ks_c_5601-1987]PB[이세돌];B[aa])", true},
        {"GBK under GB2312", "(;CA[gb2312]PB[\xBF\xC2\x9D\x8D];B[aa])", "gb2312", u8"(;CA[gb2312]PB[柯潔];B[aa])", true},
        {"HKSCS under Big5", "(;CA[Big5]PB[\xAC\x5F\xBC\xE4]PW[\xFB\x69];B[aa])", "Big5", u8"(;CA[Big5]PB[柯潔]PW[堃];B[aa])",
         true},
        {"UHC under EUC-KR", "(;CA[EUC-KR]PB[\x8C\x63\xB9\xE6];B[aa])", "EUC-KR", u8"(;CA[EUC-KR]PB[똠방];B[aa])", true},
        {"Windows-1252 under Latin-1", "(;CA[iso-8859-1]PB[M\xFCller];B[aa]C[\x80 5 \x9C])", "iso-8859-1",
         u8"(;CA[iso-8859-1]PB[Müller];B[aa]C[€ 5 œ])", true},
        {"Shift-JIS under CA UTF-8", "(;CA[UTF-8]PB[山田太郎];B[aa]C[良い手])", "", u8"(;CA[UTF-8]PB[山田太郎];B[aa]C[良い手])",
         false},
        {"one Shift-JIS comment in a UTF-8 file", std::string(u8"(;CA[UTF-8]PB[이세돌];B[aa]C[") + "良い手" + u8"])",
         "UTF-8", u8"(;CA[UTF-8]PB[이세돌];B[aa]C[良い手])", false},
        {"UTF-16 LE without a mark", Utf16(u"(;PB[井山];B[aa]C[이])", false), "UTF-8", u8"(;PB[井山];B[aa]C[이])", false},
        {"UTF-16 BE without a mark", Utf16(u"(;PB[井山];B[aa]C[이])", true), "UTF-8", u8"(;PB[井山];B[aa]C[이])", false},
        // Past the first kilobytes: plain moves first, the characters late.
        {"Big5 without CA, late", "(;" + Repeat(";B[aa];W[bb]", 500) + "C[\xB9\xEF\xA7\xBD \xA4\x40\xA6\x6E])", "Big5",
         "(;" + Repeat(";B[aa];W[bb]", 500) + u8"C[對局 一好])", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const DecodedRecord d = DecodeRecordBytes(c.bytes);
        EXPECT_EQ(d.encoding, c.encoding);
        EXPECT_EQ(Real(d, c.bytes), c.real);
        const std::string text = d.converted ? d.text : c.bytes;
        const std::string saved = RecordBytesToSave(text, d.encoding, &d.foreign);
        if (c.savesBack) {
            EXPECT_EQ(saved, c.bytes);
        }
        EXPECT_EQ(saved.find("\xEF\xBF\xBD"), std::string::npos);
    }
}

TEST(ForeignText, WrittenBytesCarryACaNamingThem) {
    std::string out;
    // Shift-JIS bytes (a wrong CA read, a pasted text) under a CA naming another encoding.
    for (const char* ca : {"UTF-8", "GB2312", "EUC-KR"}) {
        SCOPED_TRACE(ca);
        ASSERT_TRUE(EncodeRecordText(std::string("(;CA[") + ca + "]PB[山田];B[aa])", "", nullptr, out, nullptr));
        EXPECT_EQ(out, "(;CA[Shift_JIS]PB[山田];B[aa])");
    }
    // A label no reader knows, and Shift-JIS's own names, stay as they stand.
    ASSERT_TRUE(EncodeRecordText("(;CA[foo]PB[山田])", "", nullptr, out, nullptr));
    EXPECT_EQ(out, "(;CA[foo]PB[山田])");
    ASSERT_TRUE(EncodeRecordText("(;CA[sjis]PB[山田])", "", nullptr, out, nullptr));
    EXPECT_EQ(out, "(;CA[sjis]PB[山田])");
}

TEST(ForeignText, AShiftJisRecordsOwnUserDefinedCodesAreNeverGivenOut) {
    // を ends in F0 and is followed by "B" (42): no code F042; 亜 is two bytes that could each begin a
    // character, so the code after it is told as one.
    const std::string record = "(;PB[山田\xF0\x40]C[\xF0\x41をB亜\xF0\x43];B[aa])";
    DecodedRecord d = DecodeRecordBytes(record);
    ASSERT_FALSE(d.converted);
    EXPECT_TRUE(d.foreign.empty());
    const unsigned first = d.foreign.CodeOf(U'\uD55C');
    const unsigned second = d.foreign.CodeOf(U'\uAE00');
    EXPECT_EQ(first, 0xF042u);
    EXPECT_EQ(second, 0xF044u);
    // The record's own codes read as CP932 gives them, the new ones as their characters.
    EXPECT_EQ(d.foreign.CharacterOf(0xF040), 0u);
    EXPECT_EQ(d.foreign.CharacterOf(0xF042), U'\uD55C');
}

TEST(ForeignText, EditingATextKeepsTheCharactersItsTableHolds) {
    const std::string source = u8"(;CA[UTF-8]C[Price ¥100 〜 dash—x minus− end 이];B[aa])";
    DecodedRecord d = DecodeRecordBytes(source);
    auto table = std::make_shared<ForeignCharacters>(d.foreign);
    SetShownForeignCharacters(table);
    // The whole comment comes back from the dialog with "!" added; a new foreign character and a typed
    // wave dash the record does not hold still follow the typing rules.
    const std::string typed = u8"Price ¥100 〜 dash—x minus− end 이! 한";
    const std::string edited = Utf8ToCp932(typed);
    EXPECT_EQ(UnicodeToUtf8(Cp932ToUnicode(edited, table.get())), typed);
    table->Clear();
    EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932(u8"〜")), std::string(u8"～"));
    SetShownForeignCharacters(nullptr);
}

TEST(ForeignText, ThePreviewScansConvertedTextAsShiftJis) {
    // 申, ソ, 表, 能 and 十 end in the byte of "\" in Shift-JIS.
    const RecordPreview p = PreviewOfFileBytes(u8"(;CA[UTF-8]PB[申ソ表]PW[能十]RE[B+R];B[pd];W[dp];B[dd])");
    EXPECT_EQ(PreviewMemoUtf8(p), std::string(u8"● 申ソ表\n○ 能十\n結果 ： 黒中押勝\n手数 ： 3"));
}

// The clipboard as the windows have it: Unicode, which the program's text reaches through the shown table.
class UnicodeClipboard : public Clipboard {
public:
    explicit UnicodeClipboard(std::u32string text) : text_(std::move(text)) {}
    void SetText(const std::string&) override {}
    std::string Text() const override { return Utf8ToCp932(UnicodeToUtf8(text_)); }
    std::u32string UnicodeText() const override { return text_; }

private:
    std::u32string text_;
};

class PastedRecordTest : public EngineTest {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvel-pasted-XXXXXX";
        dir = ::mkdtemp(pattern);
        titles = std::make_unique<TitleRegistry>(dir + "/titles");
        commands = std::make_unique<FileCommands>(e, files, *titles, LoadRecordText);
        SetShownForeignCharacters(e.foreignCharacters);
        // The record shown before holds foreign characters of its own.
        const std::string before = u8"(;PB[박정환]PW[Ромáн];B[aa])";
        ASSERT_TRUE(LoadRecordText(e, before));
    }
    void TearDown() override {
        SetShownForeignCharacters(nullptr);
        commands.reset();
        titles.reset();
        fs::remove_all(dir);
    }

    std::string dir;
    AnsweredFileDialogs files;  // no answers: every dialog is cancelled
    std::unique_ptr<TitleRegistry> titles;
    std::unique_ptr<FileCommands> commands;
};

TEST_F(PastedRecordTest, AClipboardRecordShowsItsOwnCharacters) {
    struct Case {
        const char* label;
        std::u32string text;
        std::string black, white, encoding;
    };
    const Case cases[] = {
        {"CA UTF-8", U"(;GM[1]FF[4]CA[UTF-8]SZ[19]PB[山田太郎]PW[이세돌] ;B[pd]C[良い手];W[dp])", u8"山田太郎", u8"이세돌", "UTF-8"},
        {"no CA", U"(;GM[1]SZ[19]PB[古力 😀]PW[이세돌];B[pd]C[좋은 수];W[dp])", u8"古力 😀", u8"이세돌", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_TRUE(ReadClipboard(*commands, e, UnicodeClipboard(c.text), true));
        EXPECT_EQ(RealText(e, e.info.blackPlayer), c.black);
        EXPECT_EQ(RealText(e, e.info.whitePlayer), c.white);
        EXPECT_EQ(RealText(e, commands->lastLoadedText), UnicodeToUtf8(c.text));
        EXPECT_EQ(e.recordEncoding, c.encoding);
    }
    // A text board keeps the characters of its notes.
    const UnicodeClipboard board(U"┌┬●\r\n├┼○ 이세돌의 수\r\n└┴┘\r\n");
    ASSERT_TRUE(ReadClipboard(*commands, e, board, true));
    const std::string notes = u8"이세돌의 수";
    EXPECT_NE(RealText(e, messages.Text()).find(notes), std::string::npos);
}

TEST(ForeignText, AUtf8TextBoardFileIsDecodedLikeARecord) {
    MemoryMessageArea messages;
    MemoryDialogs dialogs;
    Engine e(messages, dialogs);
    ASSERT_EQ(LoadPastedText(e, std::string(u8"┌┬●\r\n├┼○ 黒の一手\r\n└┴┘\r\n"), true), PastedKind::TextBoard);
    EXPECT_EQ(e.setupCount, 2);
    EXPECT_NE(messages.Text().find("黒の一手"), std::string::npos);
}

}  // namespace
}  // namespace quorvel::test
