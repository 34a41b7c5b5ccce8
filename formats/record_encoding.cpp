#include "formats/record_encoding.h"

#include <stdexcept>
#include <utility>

#include "formats/sgf_scan.h"

namespace quorvel {
namespace {

const char* const kUtf8 = "UTF-8";

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
// escaped where SGF asks, so that the record reads back to the same comments.
void ProtectionFormsFor(const std::string& encoding, std::u32string& text) {
    static const std::pair<char32_t, const char32_t*> forms[] = {
        {U'\uFF08', U"("}, {U'\uFF09', U")"}, {U'\uFF1B', U";"}, {U'\uFF3B', U"["}, {U'\uFF3D', U"\\]"}, {U'\uFFE5', U"\\\\"}};
    for (const auto& [form, plain] : forms) {
        if (text.find(form) == std::u32string::npos) continue;
        std::string probe;
        if (UnicodeToEncoding(std::u32string(1, form), encoding, probe, nullptr)) continue;
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

bool IsShiftJisName(std::string_view encoding) {
    const std::string key = sgf::CharsetNameKey(encoding);
    for (const char* name : {"SHIFTJIS", "SJIS", "CP932", "WINDOWS31J", "MSKANJI", "XSJIS", "MS932", "WINDOWS932"}) {
        if (key == name) return true;
    }
    return false;
}

DecodedRecord DecodeRecordBytes(std::string_view bytes) {
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
    std::size_t open = 0;
    std::size_t close = 0;
    if (sgf::RootCharsetSpan(bytes, open, close)) {
        std::string ca(bytes.substr(open + 1, close - open - 1));
        while (!ca.empty() && (ca.back() == ' ' || ca.back() == '\r' || ca.back() == '\n')) ca.pop_back();
        while (!ca.empty() && (ca.front() == ' ' || ca.front() == '\r' || ca.front() == '\n')) ca.erase(0, 1);
        const std::string key = sgf::CharsetNameKey(ca);
        if (IsShiftJisName(ca)) {
            // Valid UTF-8 that is no Shift-JIS text: the record was re-encoded and its CA left behind.
            if (KindOfBytes(bytes) == ByteKind::kUtf8 && !IsValidCp932(bytes) &&
                asUtf8("valid UTF-8 under a CA naming Shift-JIS, whose bytes are no Shift-JIS")) {
                return d;
            }
            d.reason = "CA names Shift-JIS";
            return d;
        }
        if (key == "UTF8") {
            if (asUtf8("CA")) return d;
            if (KindOfBytes(bytes) == ByteKind::kAscii) {
                d.encoding = kUtf8;
                d.reason = "CA, ASCII only";
            } else {
                ConvertUtf8(d, bytes, "CA, with bytes that are no UTF-8");
            }
            return d;
        }
        if (key == "HZGB2312" || key == "HZ") {
            // Saved as GB2312, HZ's own characters in their 8-bit form.
            d.converted = true;
            d.text = EncodedToCp932(HzToGb2312(bytes), "GB2312", &d.foreign, &d.lost, nullptr);
            d.encoding = "GB2312";
            d.reason = "CA names HZ";
            return d;
        }
        if (!ca.empty() && IconvKnows(ca)) {
            const bool wide = key.find("16") != std::string::npos || key.find("32") != std::string::npos;
            d.encoding = wide ? std::string(kUtf8) : ca;
            const ByteKind kind = KindOfBytes(bytes);
            if (kind == ByteKind::kAscii && AsciiReadsAsItself(key, bytes)) {
                d.reason = "CA, ASCII only";
                return d;
            }
            bool clean = true;
            std::string text = EncodedToCp932(bytes, ca, &d.foreign, &d.lost, &clean);
            if (!clean && kind == ByteKind::kUtf8) {
                d.foreign.Clear();
                d.lost = 0;
                if (asUtf8("valid UTF-8 under a CA whose encoding does not read the bytes")) return d;
            }
            d.converted = true;
            d.text = std::move(text);
            d.reason = "CA";
            return d;
        }
    }
    if (asUtf8("valid UTF-8 without a known CA")) return d;
    // ASCII alone holds no EUC pair and no Latin letter: a large record is not read once more for nothing.
    if (!asciiOnly && IsEucPairs(bytes)) {
        bool clean = true;
        std::string text = EncodedToCp932(bytes, "GB18030", &d.foreign, &d.lost, &clean);
        if (clean) {
            d.converted = true;
            d.text = std::move(text);
            d.encoding = "GB18030";
            d.reason = "EUC character pairs without a known CA";
            return d;
        }
        d.foreign.Clear();
        d.lost = 0;
    }
    if (!asciiOnly && IsLoneLatinLetters(bytes)) {
        d.converted = true;
        d.text = EncodedToCp932(bytes, "ISO-8859-1", &d.foreign, &d.lost, nullptr);
        d.encoding = "ISO-8859-1";
        d.reason = "lone Latin letters without a known CA";
        return d;
    }
    d.reason = "Shift-JIS";
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
        // A record read as Shift-JIS keeps its bytes; one converted to Shift-JIS by name gets a CA that
        // no longer names its old encoding.
        std::size_t open = 0;
        std::size_t close = 0;
        const bool otherCa = !encoding.empty() && sgf::RootCharsetSpan(text, open, close) &&
                             !IsShiftJisName(text.substr(open + 1, close - open - 1));
        out = otherCa ? WithRootCharset(text, "Shift_JIS") : std::string(text);
        return true;
    }
    const std::string named = WithRootCharset(text, encoding);
    if (sgf::CharsetNameKey(encoding) == "UTF8") {
        out = UnicodeToUtf8(Cp932ToUnicode(named, foreign));
        return true;
    }
    try {
        std::u32string characters = Cp932ToUnicode(named, foreign);
        ProtectionFormsFor(encoding, characters);
        return UnicodeToEncoding(characters, encoding, out, missing);
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
