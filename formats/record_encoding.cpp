#include "formats/record_encoding.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "formats/sgf_scan.h"

namespace quorvel {
namespace {

const char* const kUtf8 = "UTF-8";
const char* const kWindows1252 = "WINDOWS-1252";

bool StartsWith(std::string_view t, std::string_view prefix) { return t.substr(0, prefix.size()) == prefix; }

// True when every byte beyond ASCII pairs up with the next one as a character of an EUC charset (both
// bytes A1 to FE), and there is at least one. The first bytes of Shift-JIS kana, punctuation and the
// first level of kanji (81 to 9F) never do.
bool IsEucPairs(std::string_view t) {
    bool beyond = false;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(t[i]);
        if (b < 0x80) continue;
        if (b < 0xA1 || b > 0xFE || i + 1 >= t.size()) return false;
        const unsigned char n = static_cast<unsigned char>(t[i + 1]);
        if (n < 0xA1 || n > 0xFE) return false;
        beyond = true;
        ++i;
    }
    return beyond;
}

// Bytes beyond ASCII that are each an accented Latin letter (the upper half of Latin-1, C0 to FF without
// the signs of multiplication and division) standing alone between ASCII bytes: a European name or comment
// without CA, which SGF reads as Latin-1. Shift-JIS text comes in runs of two-byte characters, and its
// few characters that could stand so alone are rare kanji.
bool IsLoneLatinLetters(std::string_view t) {
    bool beyond = false;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(t[i]);
        if (b < 0x80) continue;
        if (b < 0xC0 || b == 0xD7 || b == 0xF7) return false;
        if (i == 0 || static_cast<unsigned char>(t[i - 1]) >= 0x80) return false;
        if (i + 1 < t.size() && static_cast<unsigned char>(t[i + 1]) >= 0x80) return false;
        beyond = true;
    }
    return beyond;
}

// Encodings whose ASCII bytes are ASCII characters and that switch to nothing else by ASCII bytes, so
// that a text of ASCII bytes alone reads the same in them as in Shift-JIS.
bool AsciiReadsAsItself(const std::string& key, std::string_view bytes) {
    if (key.find("16") != std::string::npos || key.find("32") != std::string::npos || key.find("UTF7") != std::string::npos) {
        return false;
    }
    return bytes.find('\x1B') == std::string_view::npos && bytes.find("~{") == std::string_view::npos;
}

void ConvertUtf8(DecodedRecord& d, std::string_view bytes, const char* reason) {
    d.converted = true;
    d.text = Utf8ToCp932Exact(bytes, &d.foreign, &d.lost);
    d.encoding = kUtf8;
    d.reason = reason;
}

// HZ (RFC 1843), which iconv lacks: "~{" ... "~}" hold GB2312 characters as pairs of 7-bit bytes, "~~" is
// a tilde, "~" before a line break joins lines. SGF writers escaped "\", ":" and "]" inside those runs
// as in any value, so there a backslash takes the byte after it as it stands. The result is GB2312.
std::string HzToGb2312(std::string_view t) {
    std::string out;
    out.reserve(t.size());
    bool gb = false;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        const char next = i + 1 < t.size() ? t[i + 1] : '\0';
        if (c == '~' && next == (gb ? '}' : '{')) {
            gb = !gb;
            ++i;
        } else if (!gb && c == '~' && (next == '~' || next == '\n')) {
            if (next == '~') out += '~';
            ++i;
        } else if (gb && c >= 0x21 && c <= 0x7E) {
            const char data = (c == '\\' && next >= 0x21 && next <= 0x7E) ? t[++i] : c;
            out += static_cast<char>(static_cast<unsigned char>(data) | 0x80);
        } else {
            out += c;
        }
    }
    return out;
}

// The full-width forms in which comments keep their brackets, separators and backslashes are text to
// Shift-JIS and Unicode; an encoding without them (Windows-1251, Latin-1) gets the SGF characters back,
// escaped where SGF asks, so that the record reads back to the same comments. So does one that writes a
// form with a byte SGF reads as syntax (Big5 writes "（" as A1 5D, whose "]" ends a value for every
// program that reads the bytes); then every form goes back, so that "(1)" does not come back "(1）".
void ProtectionFormsFor(const std::string& encoding, std::u32string& text) {
    static const std::pair<char32_t, const char32_t*> forms[] = {
        {U'\uFF08', U"("}, {U'\uFF09', U")"}, {U'\uFF1B', U";"}, {U'\uFF3B', U"["}, {U'\uFF3D', U"\\]"}, {U'\uFFE5', U"\\\\"}};
    const auto safe = [&encoding](char32_t form) {
        std::string probe;
        return UnicodeToEncoding(std::u32string(1, form), encoding, probe, nullptr) &&
               probe.find_first_of("[]\\();") == std::string::npos;
    };
    bool allSafe = true;
    for (const auto& form : forms) allSafe = allSafe && safe(form.first);
    for (const auto& [form, plain] : forms) {
        if (text.find(form) == std::u32string::npos) continue;
        if (allSafe) continue;
        std::u32string out;
        out.reserve(text.size());
        for (char32_t c : text) {
            if (c == form) {
                out += plain;
            } else {
                out += c;
            }
        }
        text = std::move(out);
    }
}

// True when a CA value names an encoding other than Shift-JIS that a reader would take at its word.
bool NamesAnotherEncoding(std::string_view ca) {
    const std::string key = sgf::CharsetNameKey(ca);
    if (key.empty() || IsShiftJisName(ca)) return false;
    return key == "UTF8" || key == "HZ" || key == "HZGB2312" || IconvKnows(CodecOfCharset(ca));
}

}  // namespace

char32_t FirstForeignCharacter(std::string_view t, const ForeignCharacters* foreign) {
    if (!foreign || foreign->empty()) return 0;
    for (std::size_t i = 0; i + 1 < t.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(t[i]);
        if (!IsCp932LeadByte(b)) continue;
        if (IsUserDefinedLead(b)) {
            if (const char32_t c = foreign->CharacterOf(static_cast<unsigned>(b) << 8 | static_cast<unsigned char>(t[i + 1]))) return c;
        }
        ++i;
    }
    return 0;
}

// The CP932 forms the program made of comments' SGF characters, as those characters again (escaped
// where SGF asks); the record's own full-width forms stand under codes of the area and stay.
std::string ProtectionFormsUndone(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        if (!IsCp932LeadByte(b) || i + 1 >= text.size()) {
            out += text[i];
            continue;
        }
        const unsigned code = b << 8 | static_cast<unsigned char>(text[i + 1]);
        switch (code) {
            case 0x8169: out += '('; break;
            case 0x816A: out += ')'; break;
            case 0x8147: out += ';'; break;
            case 0x816D: out += '['; break;
            case 0x816E: out += "\\]"; break;
            case 0x818F: out += "\\\\"; break;
            default: out.append(text, i, 2);
        }
        ++i;
    }
    return out;
}

bool IsShiftJisName(std::string_view encoding) {
    const std::string key = sgf::CharsetNameKey(encoding);
    for (const char* name : {"SHIFTJIS", "SJIS", "CP932", "WINDOWS31J", "MSKANJI", "XSJIS", "MS932", "WINDOWS932"}) {
        if (key == name) return true;
    }
    return false;
}

std::string CodecOfCharset(std::string_view label) {
    // Files labelled with a standard set hold the characters of the set their writers really used: GBK
    // under GB2312, HKSCS under Big5, Unified Hangul Code under EUC-KR, Windows-1252's letters under
    // Latin-1. Names iconv does not know are given the name it does.
    static const std::pair<const char*, const char*> kCodecs[] = {
        {"GB2312", "GBK"},          {"EUCCN", "GBK"},          {"CSGB2312", "GBK"},       {"XGBK", "GBK"},
        {"CP936", "GBK"},           {"GB231280", "GBK"},       {"BIG5", "BIG5-HKSCS"},    {"XXBIG5", "BIG5-HKSCS"},
        {"CNBIG5", "BIG5-HKSCS"},   {"CSBIG5", "BIG5-HKSCS"},  {"CP950", "BIG5-HKSCS"},   {"EUCKR", "CP949"},
        {"CSEUCKR", "CP949"},       {"KSC56011987", "CP949"},  {"KSC5601", "CP949"},      {"KSC56011989", "CP949"},
        {"KSX1001", "CP949"},       {"UHC", "CP949"},          {"WINDOWS949", "CP949"},   {"XWINDOWS949", "CP949"},
        {"KOREAN", "CP949"},        {"ISO88591", kWindows1252}, {"LATIN1", kWindows1252}, {"L1", kWindows1252},
        {"ISO885911987", kWindows1252}, {"CP819", kWindows1252}, {"IBM819", kWindows1252}, {"CP1252", kWindows1252},
        {"WINDOWS1252", kWindows1252}, {"XCP1252", kWindows1252}, {"EUCJP", "EUC-JP"},    {"XEUCJP", "EUC-JP"},
        {"UJIS", "EUC-JP"},         {"CSEUCPKDFMTJAPANESE", "EUC-JP"}, {"EUCJPMS", "EUC-JP-MS"}, {"XMACJAPANESE", "SHIFT_JIS"}};
    const std::string key = sgf::CharsetNameKey(label);
    for (const auto& [name, codec] : kCodecs) {
        if (key == name) return codec;
    }
    return std::string(label);
}

namespace {

// Bytes in Windows-1252, each one a character (a byte it leaves undefined is Latin-1's).
std::string Windows1252ToCp932(std::string_view bytes, ForeignCharacters* foreign, std::size_t* lost) {
    std::string out;
    out.reserve(bytes.size());
    for (const char b : bytes) AppendExactCp932(out, Windows1252Character(static_cast<unsigned char>(b)), foreign, lost);
    return out;
}

std::string DecodeWith(std::string_view bytes, const std::string& codec, ForeignCharacters* foreign, std::size_t* lost,
                       bool* clean) {
    if (codec == kWindows1252) {
        if (clean) *clean = true;
        return Windows1252ToCp932(bytes, foreign, lost);
    }
    return EncodedToCp932(bytes, codec, foreign, lost, clean);
}

// True when the text's first 1,024 bytes beyond ASCII (all of them in a shorter text) are valid Shift-JIS
// and no mostly valid UTF-8: enough of its characters to tell, however many plain moves come first, and a
// large Shift-JIS record is not read to its end for the guesses that follow.
bool ShowsShiftJis(std::string_view bytes) {
    constexpr std::size_t kEnough = 1024;
    std::size_t end = 0;
    for (std::size_t beyond = 0; end < bytes.size() && beyond < kEnough;) {
        // Counted 256 bytes at a time, which the compiler does many bytes a step.
        const std::size_t stop = std::min(bytes.size(), end + 256);
        for (; end < stop; ++end) beyond += static_cast<unsigned char>(bytes[end]) >> 7;
    }
    // To the last ASCII byte, where a character ends.
    if (end < bytes.size()) {
        while (end > 0 && static_cast<unsigned char>(bytes[end - 1]) >= 0x80) --end;
        if (end == 0) end = bytes.size();
    }
    const std::string_view shown = bytes.substr(0, end);
    std::size_t beyond = 0;
    return IsValidCp932(shown) && Utf8BytesBeyondAscii(shown, &beyond) * 3 < beyond * 2;
}

void ReadAsShiftJis(DecodedRecord& d, std::string_view bytes, const char* reason) {
    d.reason = reason;
    // The record's own characters of the user-defined area keep their codes: a character typed later
    // gets another one.
    d.foreign.ReserveCodesIn(bytes);
}

// UTF-16 without a byte-order mark: a record's many ASCII bytes (brackets, coordinates) each stand beside
// a zero byte, which no Shift-JIS or UTF-8 text holds. The name of the encoding, or nullptr.
const char* UnmarkedUtf16(std::string_view bytes) {
    const std::size_t n = std::min<std::size_t>(bytes.size(), 4096) & ~std::size_t{1};
    // Most texts hold no zero byte at all, which one search tells.
    if (n < 4 || std::memchr(bytes.data(), '\0', n) == nullptr) return nullptr;
    std::size_t zeroEven = 0;
    std::size_t zeroOdd = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (bytes[i] == '\0') ++(i % 2 ? zeroOdd : zeroEven);
    }
    const std::size_t units = n / 2;
    if (zeroOdd * 3 >= units && zeroEven * 10 <= zeroOdd) return "UTF-16LE";
    if (zeroEven * 3 >= units && zeroOdd * 10 <= zeroEven) return "UTF-16BE";
    return nullptr;
}

// Bytes beyond ASCII that pair up as EUC characters: which EUC set by the rows its characters use.
// Japanese text is full of kana (rows A4 and A5), which Chinese and Korean text hardly use; Korean
// syllables all lie in rows B0 to C8, while Chinese characters spread over B0 to F7. Shift-JIS text of
// half-width katakana alone (A1 to DF, one byte each) pairs up too; it stays Shift-JIS when a pair begins
// in a row that Chinese and Korean text leave to rare symbols or rare characters (A6 to AF, D8 to DF).
// Half-width katakana whose pairs all begin in the rows of common hanzi and Hangul reads as they do.
// Empty for Shift-JIS.
std::string EucCodecOf(std::string_view t) {
    std::size_t pairs = 0, kana = 0, hangulRows = 0, higherRows = 0, rareRows = 0;
    bool halfWidthOnly = true;
    for (std::size_t i = 0; i + 1 < t.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(t[i]);
        if (b < 0x80) continue;
        const unsigned char n = static_cast<unsigned char>(t[i + 1]);
        ++pairs;
        if (b == 0xA4 || b == 0xA5) ++kana;
        if (b >= 0xB0 && b <= 0xC8) ++hangulRows;
        if (b > 0xC8) ++higherRows;
        if ((b >= 0xA6 && b <= 0xAF) || (b >= 0xD8 && b <= 0xDF)) ++rareRows;
        if (b > 0xDF || n > 0xDF) halfWidthOnly = false;
        ++i;
    }
    if (kana == pairs || (kana * 5 >= pairs && kana >= 2)) return "EUC-JP";
    if (halfWidthOnly && rareRows > 0 && IsValidCp932(t)) return std::string();
    if (hangulRows >= 4 && higherRows * 20 <= hangulRows) return "CP949";
    return "GB18030";
}

// Bytes that are no Shift-JIS text and pair up as the Chinese double-byte sets: Big5 when a quarter of its
// second bytes are ASCII letters and signs (40 to 7E: half of Big5's characters, only GBK's rare
// extensions), else GBK (read as GB18030). Empty when no second byte lies beyond ASCII (accented letters
// before ASCII ones are European text).
std::string ChineseCodecOf(std::string_view t) {
    std::size_t pairs = 0, lowTrails = 0, highTrails = 0;
    for (std::size_t i = 0; i + 1 < t.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(t[i]);
        if (b < 0x80) continue;
        const unsigned char n = static_cast<unsigned char>(t[i + 1]);
        ++pairs;
        if (n >= 0x40 && n <= 0x7E) ++lowTrails;
        if (n >= 0xA1) ++highTrails;
        ++i;
    }
    if (pairs < 2 || highTrails == 0) return std::string();
    return lowTrails * 4 >= pairs ? "BIG5-HKSCS" : "GB18030";
}

// A guess without CA taken when every byte reads as a character of `codec` (empty: no guess); `d` stays
// as it was otherwise.
bool ReadCleanlyAs(DecodedRecord& d, std::string_view bytes, const std::string& codec, const std::string& encoding,
                   const std::string& reason) {
    if (codec.empty()) return false;
    bool clean = true;
    std::string text = EncodedToCp932(bytes, codec, &d.foreign, &d.lost, &clean);
    if (!clean) {
        d.foreign.Clear();
        d.lost = 0;
        return false;
    }
    d.converted = true;
    d.text = std::move(text);
    d.encoding = encoding;
    d.reason = reason + codec;
    return true;
}

// The value of the root's CA without surrounding blanks; false when the root has none.
bool RootCharsetLabel(std::string_view text, std::string& ca) {
    std::size_t open = 0;
    std::size_t close = 0;
    if (!sgf::RootCharsetSpan(text, open, close)) return false;
    ca.assign(text.substr(open + 1, close - open - 1));
    while (!ca.empty() && (ca.back() == ' ' || ca.back() == '\r' || ca.back() == '\n')) ca.pop_back();
    while (!ca.empty() && (ca.front() == ' ' || ca.front() == '\r' || ca.front() == '\n')) ca.erase(0, 1);
    return true;
}

// The decision and the conversion; DecodeRecordBytes below notes how the forms were read.
DecodedRecord DecodeRecordBytesOnce(std::string_view bytes) {
    DecodedRecord d;
    if (StartsWith(bytes, "\xEF\xBB\xBF")) {
        ConvertUtf8(d, bytes.substr(3), "UTF-8 byte-order mark");
        return d;
    }
    const std::pair<const char*, std::string_view> wideMarks[] = {{"UTF-16LE", "\xFF\xFE"}, {"UTF-16BE", "\xFE\xFF"}};
    for (const auto& [wide, mark] : wideMarks) {
        if (StartsWith(bytes, mark)) {
            d.converted = true;
            d.text = EncodedToCp932(bytes.substr(2), wide, &d.foreign, &d.lost, nullptr);
            d.encoding = kUtf8;  // written back as UTF-8
            d.reason = std::string(wide) + " byte-order mark";
            return d;
        }
    }
    if (const char* wide = UnmarkedUtf16(bytes)) {
        d.converted = true;
        d.text = EncodedToCp932(bytes, wide, &d.foreign, &d.lost, nullptr);
        d.encoding = kUtf8;
        d.reason = std::string(wide) + " without a byte-order mark (zero bytes beside ASCII)";
        return d;
    }
    // Read as UTF-8 while it is UTF-8: a Shift-JIS text stops at its first character beyond ASCII, a UTF-8
    // text is converted in the same pass.
    bool asciiOnly = false;  // found by a reading as UTF-8 that met no character beyond ASCII
    const auto asUtf8 = [&d, &asciiOnly, bytes](const char* reason) {
        bool multibyte = false;
        if (!TryUtf8ToCp932(bytes, &d.foreign, &d.lost, d.text, &multibyte)) {
            d.foreign.Clear();
            d.lost = 0;
            d.text.clear();
            return false;
        }
        if (!multibyte) {
            d.text.clear();
            asciiOnly = true;
            return false;
        }
        d.converted = true;
        d.encoding = kUtf8;
        d.reason = reason;
        return true;
    };
    std::string ca;
    if (RootCharsetLabel(bytes, ca)) {
        const std::string key = sgf::CharsetNameKey(ca);
        const std::string codec = CodecOfCharset(ca);
        if (IsShiftJisName(ca) || IsShiftJisName(codec)) {
            // Valid UTF-8 that is no Shift-JIS text: the record was re-encoded and its CA left behind.
            if (KindOfBytes(bytes) == ByteKind::kUtf8 && !IsValidCp932(bytes) &&
                asUtf8("valid UTF-8 under a CA naming Shift-JIS, whose bytes are no Shift-JIS")) {
                return d;
            }
            ReadAsShiftJis(d, bytes, "CA names Shift-JIS");
            return d;
        }
        if (key == "UTF8") {
            if (asUtf8("CA")) return d;
            if (KindOfBytes(bytes) == ByteKind::kAscii) {
                d.encoding = kUtf8;
                d.reason = "CA, ASCII only";
                return d;
            }
            // Bytes that are no UTF-8: a Shift-JIS record under a wrong CA (a save then names Shift-JIS),
            // unless most of its characters are UTF-8 (one Shift-JIS comment pasted into a UTF-8 file),
            // which is read character by character.
            std::size_t beyond = 0;
            const std::size_t utf8 = Utf8BytesBeyondAscii(bytes, &beyond);
            if (IsValidCp932(bytes) && utf8 * 2 < beyond) {
                ReadAsShiftJis(d, bytes, "CA names UTF-8, the bytes are Shift-JIS");
                return d;
            }
            d.converted = true;
            d.text = MixedUtf8ToCp932(bytes, &d.foreign, &d.lost);
            d.encoding = kUtf8;
            d.reason = "CA, UTF-8 with characters that are no UTF-8 read as Shift-JIS or Windows-1252";
            return d;
        }
        if (key == "HZGB2312" || key == "HZ") {
            // Saved as GB2312, HZ's own characters in their 8-bit form.
            d.converted = true;
            d.text = EncodedToCp932(HzToGb2312(bytes), "GBK", &d.foreign, &d.lost, nullptr);
            d.encoding = "GB2312";
            d.reason = "CA names HZ";
            return d;
        }
        if (!ca.empty() && IconvKnows(codec)) {
            const bool wide = key.find("16") != std::string::npos || key.find("32") != std::string::npos;
            d.encoding = wide ? std::string(kUtf8) : ca;
            const ByteKind kind = KindOfBytes(bytes);
            if (kind == ByteKind::kAscii && AsciiReadsAsItself(key, bytes)) {
                d.reason = "CA, ASCII only";
                return d;
            }
            bool clean = true;
            std::string text = DecodeWith(bytes, codec, &d.foreign, &d.lost, &clean);
            if (!clean && kind == ByteKind::kUtf8) {
                d.foreign.Clear();
                d.lost = 0;
                if (asUtf8("valid UTF-8 under a CA whose encoding does not read the bytes")) return d;
            }
            d.converted = true;
            d.text = std::move(text);
            d.reason = codec == ca ? "CA" : "CA, read as " + codec;
            return d;
        }
    }
    if (asUtf8("valid UTF-8 without a known CA")) return d;
    // ASCII alone holds no EUC pair and no Latin letter: a large record is not read once more for nothing.
    if (!asciiOnly && IsEucPairs(bytes)) {
        const std::string codec = EucCodecOf(bytes);
        if (ReadCleanlyAs(d, bytes, codec, codec, "EUC character pairs without a known CA, by their rows ")) return d;
    }
    if (!asciiOnly && IsLoneLatinLetters(bytes)) {
        d.converted = true;
        d.text = EncodedToCp932(bytes, "ISO-8859-1", &d.foreign, &d.lost, nullptr);
        d.encoding = "ISO-8859-1";
        d.reason = "lone Latin letters without a known CA";
        return d;
    }
    if (!asciiOnly && !ShowsShiftJis(bytes)) {
        // Mostly UTF-8 with a few characters that are not (a Shift-JIS name pasted into a UTF-8 file);
        // double-byte Chinese text makes valid UTF-8 by chance in about a tenth of its bytes.
        std::size_t beyond = 0;
        if (Utf8BytesBeyondAscii(bytes, &beyond) * 3 >= beyond * 2) {
            d.converted = true;
            d.text = MixedUtf8ToCp932(bytes, &d.foreign, &d.lost);
            d.encoding = kUtf8;
            d.reason = "mostly UTF-8 without a known CA, the rest read as Shift-JIS or Windows-1252";
            return d;
        }
        const std::string codec = ChineseCodecOf(bytes);
        if (ReadCleanlyAs(d, bytes, codec, codec == "BIG5-HKSCS" ? "Big5" : codec,
                          "double-byte pairs that are no Shift-JIS, without a known CA, by their second bytes ")) {
            return d;
        }
    }
    ReadAsShiftJis(d, bytes, "Shift-JIS");
    return d;
}

}  // namespace

DecodedRecord DecodeRecordBytes(std::string_view bytes) {
    // A record of another encoding keeps its own full-width brackets apart from those the program makes
    // of SGF characters in comments, so that a save gives each back as it was read.
    const SeparatingProtectionForms separating;
    DecodedRecord d = DecodeRecordBytesOnce(bytes);
    d.foreign.formsSeparated = !d.encoding.empty();
    return d;
}

DecodedRecord DecodeUnicodeText(std::u32string_view text) {
    DecodedRecord d;
    d.converted = true;
    d.text.reserve(text.size());
    for (const char32_t c : text) AppendExactCp932(d.text, c, &d.foreign, &d.lost);
    d.reason = "Unicode text";
    std::string ca;
    if (!RootCharsetLabel(d.text, ca)) return d;
    const std::string key = sgf::CharsetNameKey(ca);
    // Saved in the encoding its CA names, when that can be written; UTF-16 is written as UTF-8.
    if (key == "UTF8" || key.find("16") != std::string::npos || key.find("32") != std::string::npos) {
        d.encoding = kUtf8;
    } else if (!ca.empty() && !IsShiftJisName(ca) && IconvKnows(CodecOfCharset(ca)) && key != "HZ" && key != "HZGB2312") {
        d.encoding = ca;
    }
    return d;
}

std::string WithRootCharset(std::string_view text, std::string_view encoding) {
    std::size_t open = 0;
    std::size_t close = 0;
    if (sgf::RootCharsetSpan(text, open, close)) {
        if (sgf::CharsetNameKey(text.substr(open + 1, close - open - 1)) == sgf::CharsetNameKey(encoding)) return std::string(text);
        return std::string(text.substr(0, open + 1)) + std::string(encoding) + std::string(text.substr(close));
    }
    std::size_t p = text.find('(');
    if (p != std::string_view::npos) p = text.find_first_not_of(" \t\r\n", p + 1);
    if (p == std::string_view::npos || text[p] != ';') return std::string(text);
    return std::string(text.substr(0, p + 1)) + "CA[" + std::string(encoding) + "]" + std::string(text.substr(p + 1));
}

bool EncodeRecordText(std::string_view text, const std::string& encoding, const ForeignCharacters* foreign,
                      std::string& out, char32_t* missing) {
    // ASCII alone reads the same in every encoding a save writes: written exactly as the writer made it,
    // unless its CA names an encoding whose characters are no single bytes (a record read from UTF-16).
    if (KindOfBytes(text) == ByteKind::kAscii) {
        std::size_t open = 0;
        std::size_t close = 0;
        const bool wideCa = sgf::RootCharsetSpan(text, open, close) &&
                            !AsciiReadsAsItself(sgf::CharsetNameKey(text.substr(open + 1, close - open - 1)), "");
        out = wideCa ? WithRootCharset(text, encoding.empty() ? std::string("Shift_JIS") : encoding) : std::string(text);
        return true;
    }
    if (encoding.empty() || IsShiftJisName(encoding)) {
        if (const char32_t c = FirstForeignCharacter(text, foreign)) {
            if (missing) *missing = c;
            return false;
        }
        // A record read as Shift-JIS keeps its bytes; under a CA naming another encoding (one converted
        // to Shift-JIS by name, a pasted text, a wrong CA) the CA is made to name the bytes written.
        std::size_t open = 0;
        std::size_t close = 0;
        const bool otherCa = sgf::RootCharsetSpan(text, open, close) && NamesAnotherEncoding(text.substr(open + 1, close - open - 1));
        out = otherCa ? WithRootCharset(text, "Shift_JIS") : std::string(text);
        return true;
    }
    std::string named = WithRootCharset(text, encoding);
    if (foreign && foreign->formsSeparated) named = ProtectionFormsUndone(named);
    if (sgf::CharsetNameKey(encoding) == "UTF8") {
        out = UnicodeToUtf8(Cp932ToUnicode(named, foreign));
        return true;
    }
    try {
        std::u32string characters = Cp932ToUnicode(named, foreign);
        const std::string codec = CodecOfCharset(encoding);
        ProtectionFormsFor(codec, characters);
        return UnicodeToEncoding(characters, codec, out, missing);
    } catch (const std::runtime_error&) {
        if (missing) *missing = 0;
        return false;
    }
}

std::string RecordBytesToSave(std::string_view text, const std::string& encoding, const ForeignCharacters* foreign,
                              std::string* usedEncoding) {
    std::string out;
    if (EncodeRecordText(text, encoding, foreign, out, nullptr)) {
        if (usedEncoding) *usedEncoding = encoding;
        return out;
    }
    EncodeRecordText(text, kUtf8, foreign, out, nullptr);
    if (usedEncoding) *usedEncoding = kUtf8;
    return out;
}

}  // namespace quorvel
