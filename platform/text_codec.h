// Conversions between the program's own text (Shift-JIS, code page 932) and Unicode.
//
// Every text the engine keeps is a std::string of CP932 bytes. These helpers are the only place where
// those bytes meet Unicode: the windows convert through them to QString, the command-line tool to the
// terminal's UTF-8. Invalid bytes never throw: they are shown as U+FFFD, one replacement per bad byte.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvel {

// Characters of a record that Shift-JIS lacks (Hangul, simplified Chinese, most Cyrillic, ...), each given a
// code of Shift-JIS's user-defined area (F040 to F9FC), so that the program's byte strings carry them and
// the conversions below give them back. The table is kept with the record.
class ForeignCharacters {
public:
    static constexpr std::size_t kCapacity = 1880;  // 10 lead bytes of 188 codes

    // The two-byte code of `c` (lead * 256 + trail), given one when it has none yet; 0 when the area is
    // full.
    unsigned CodeOf(char32_t c);
    // The code `c` already has, 0 when it has none (nothing is given out).
    unsigned Find(char32_t c) const;
    // The character of a user-defined code, 0 when the code holds none.
    char32_t CharacterOf(unsigned code) const;
    // Keeps every user-defined code that `cp932` uses (a Shift-JIS record's own characters of the area)
    // from being given to another character.
    void ReserveCodesIn(std::string_view cp932);
    // Characters given codes (reserved codes do not count).
    std::size_t size() const { return count_; }
    bool empty() const { return size() == 0; }
    void Clear();

    // The record was read from another encoding with its own full-width brackets, semicolons and yen
    // signs given codes of the area (AppendExactCp932 under SeparatingProtectionForms): the CP932 forms in
    // its text are the ones the program made of "(", ")", ";", "[", "]" and "\" in comments, and a save
    // writes those characters back. Texts typed for such a record keep the two apart the same way.
    bool formsSeparated = false;

private:
    static constexpr char32_t kReserved = 0xFFFFFFFF;
    std::vector<char32_t> byIndex_;  // by place in the area; allocated with the first code given out or kept
    std::size_t next_ = 0;           // place in the order of giving out of the next code to try
    std::size_t count_ = 0;
    std::unordered_map<char32_t, unsigned> codes_;
};

// The table of the record the windows show: their text conversion and the texts typed in them use it. The
// board window names its record's table once; nothing is named at first.
void SetShownForeignCharacters(std::shared_ptr<ForeignCharacters> table);
ForeignCharacters* ShownForeignCharacters();

// True when `c` is the first byte of a code of the user-defined area.
inline bool IsUserDefinedLead(unsigned char c) { return c >= 0xF0 && c <= 0xF9; }

// Appends the CP932 bytes of one character, exactly: a character CP932 holds only approximately (or not
// at all) gets a code of `foreign`; without a table, or when it is full, "?" is written and `*lost` counts
// it.
void AppendExactCp932(std::string& out, char32_t c, ForeignCharacters* foreign, std::size_t* lost);

// The full-width forms in which the program keeps comment brackets: "（", "）", "；", "［", "］", "￥".
bool IsProtectionForm(char32_t c);

// While one lives on a thread, AppendExactCp932 gives the protection forms codes of the area too (the
// decoding of a record from another encoding).
class SeparatingProtectionForms {
public:
    SeparatingProtectionForms();
    ~SeparatingProtectionForms();
    SeparatingProtectionForms(const SeparatingProtectionForms&) = delete;
    SeparatingProtectionForms& operator=(const SeparatingProtectionForms&) = delete;

private:
    bool previous_;
};

// UTF-8 -> CP932 exactly as above; invalid bytes become U+FFFD first.
std::string Utf8ToCp932Exact(std::string_view utf8, ForeignCharacters* foreign, std::size_t* lost);

// UTF-8 -> CP932 exactly as above, for text that may not be UTF-8 at all: false, and `out` unspecified,
// at the first byte that is not valid UTF-8. `multibyte` tells whether it held characters beyond ASCII.
// One pass, ASCII runs sixteen bytes at a time.
bool TryUtf8ToCp932(std::string_view utf8, ForeignCharacters* foreign, std::size_t* lost, std::string& out,
                    bool* multibyte);

// The character of a byte in Windows-1252; Latin-1's (a C1 control) for the five bytes it leaves undefined.
char32_t Windows1252Character(unsigned char b);

// UTF-8 text in which some characters are not UTF-8 (a Shift-JIS comment pasted into a UTF-8 file) ->
// CP932: a byte that starts no UTF-8 character starts a Shift-JIS character when its bytes make one
// (outside the user-defined area), otherwise it is the Windows-1252 (else Latin-1) character of the byte.
// No byte is dropped or read as U+FFFD.
std::string MixedUtf8ToCp932(std::string_view bytes, ForeignCharacters* foreign, std::size_t* lost);

// How many bytes beyond ASCII belong to valid UTF-8 characters; `beyondAscii` receives how many bytes
// beyond ASCII there are.
std::size_t Utf8BytesBeyondAscii(std::string_view text, std::size_t* beyondAscii);

// Text in any encoding iconv knows -> CP932 exactly as above. `clean` tells whether every byte made a
// character. Throws std::runtime_error when iconv does not know the encoding.
std::string EncodedToCp932(std::string_view bytes, const std::string& encoding, ForeignCharacters* foreign,
                           std::size_t* lost, bool* clean);

// CP932 -> Unicode characters; user-defined codes through `foreign` (without it, as the private-use
// characters CP932 gives them); undecodable bytes become U+FFFD.
std::u32string Cp932ToUnicode(std::string_view cp932, const ForeignCharacters* foreign);

// CP932 -> text in `encoding` (an iconv name). False, with `missing` the first character the encoding
// lacks, when it cannot hold every character.
bool Cp932ToEncoding(std::string_view cp932, const ForeignCharacters* foreign, const std::string& encoding,
                     std::string& out, char32_t* missing);

// Unicode characters -> text in `encoding`, as Cp932ToEncoding.
bool UnicodeToEncoding(std::u32string_view text, const std::string& encoding, std::string& out, char32_t* missing);

// True when iconv converts from and to `encoding`.
bool IconvKnows(const std::string& encoding);

// What the bytes of a text are: plain ASCII, valid UTF-8 holding characters beyond ASCII, or neither.
// One pass, sixteen bytes at a time through ASCII.
enum class ByteKind { kAscii, kUtf8, kOther };
ByteKind KindOfBytes(std::string_view text);

// True when every byte of `text` is a character of CP932.
bool IsValidCp932(std::string_view text);

// Unicode characters -> UTF-8.
std::string UnicodeToUtf8(std::u32string_view text);

// CP932 bytes -> UTF-16. Undecodable bytes become U+FFFD. User-defined codes show as the characters of the
// shown record's table.
std::u16string Cp932ToUtf16(std::string_view cp932);

// UTF-16 -> CP932 bytes, for texts typed in the windows. Characters CP932 cannot hold get codes of the shown
// record's table; without one, or when it is full, they become "?".
std::string Utf16ToCp932(std::u16string_view utf16);

// CP932 bytes -> UTF-8. Undecodable bytes become U+FFFD.
std::string Cp932ToUtf8(std::string_view cp932);

// UTF-8 -> CP932 bytes, as Utf16ToCp932; invalid UTF-8 becomes "?".
std::string Utf8ToCp932(std::string_view utf8);

// True when the byte starts a two-byte CP932 character (the next byte belongs to it).
inline bool IsCp932LeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Replaces every occurrence of `from` (not empty) by `to`, byte by byte, left to right; a replacement is not
// searched again.
inline void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

// Where `pattern` first stands in the CP932 text from `from` (a character's start) on, as characters: a
// match that would start on the second byte of a character ("{" ends 本) is none. npos when there is none.
inline std::size_t FindCharacters(std::string_view text, std::string_view pattern, std::size_t from = 0) {
    for (std::size_t at = from; at < text.size();) {
        if (text.compare(at, pattern.size(), pattern) == 0) return at;
        at += IsCp932LeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
    }
    return std::string_view::npos;
}

}  // namespace quorvel
