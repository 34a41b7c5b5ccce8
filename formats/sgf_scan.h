// Byte searches over a record text for the SGF reader. Every search takes an upper bound, so that a
// caller looks for something only up to the point it will be compared with; the record text is never
// copied or rebuilt while it is searched.
//
// Property names are matched byte by byte. Inside comment texts the second byte of a two-byte Shift-JIS
// character is never taken for "[", "]" or "\" (as in "ゼ", "ゾ", "ソ").
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/point.h"
#include "platform/text_codec.h"

namespace quorvel::sgf {

constexpr std::size_t kNone = std::string_view::npos;

// First `c` in [from, limit), or kNone.
inline std::size_t FindByte(std::string_view t, char c, std::size_t from, std::size_t limit = kNone) {
    if (limit > t.size()) limit = t.size();
    // No object is that large; saying so keeps the compiler from warning about the memchr bound.
    if (from >= limit || limit > static_cast<std::size_t>(PTRDIFF_MAX)) return kNone;
    const void* hit = std::memchr(t.data() + from, c, limit - from);
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - t.data()) : kNone;
}

// First occurrence of `pattern` starting in [from, limit) (the match itself may run past `limit`).
std::size_t FindText(std::string_view t, std::string_view pattern, std::size_t from, std::size_t limit = kNone);

// A small set of bytes (at most 8 different ones; more are left out) to look for together.
class ByteSet {
public:
    explicit ByteSet(std::string_view bytes);
    // First byte of the set in [from, limit), or kNone.
    std::size_t Find(std::string_view t, std::size_t from, std::size_t limit = kNone) const;

private:
    char bytes_[8];
    std::size_t count_;
    bool member_[256];
    alignas(16) unsigned char repeated_[8][16];  // each byte sixteen times, for the vector compares
};

// How the bytes of the record being read make characters. Shift-JIS (the program's own) and the Chinese
// double-byte sets have second bytes that look like "[", "\" or "]"; UTF-8, EUC and the single-byte sets
// have none, and their bytes are read as they stand.
enum class Charset { kShiftJis, kDoubleByte, kBytes };

// The charset of a record text: the CA property of its root node (the root read as Shift-JIS), or, without
// one, bytes when the text is valid UTF-8 holding characters beyond ASCII, or holds bytes beyond ASCII but
// none from 0x80 to 0xA0 (EUC, which Chinese and Korean records without CA use), and Shift-JIS otherwise.
// The full-width brackets that the normalisation writes count for neither.
Charset RecordCharset(std::string_view text);

// Where the value of the root node's CA stands: its "[" and its "]" (the root read as Shift-JIS). False when
// the root has no CA.
bool RootCharsetSpan(std::string_view text, std::size_t& open, std::size_t& close);

// A charset name as compared: capitals, without "-", "_" and blanks ("Shift_JIS" and "shift-jis" agree).
std::string CharsetNameKey(std::string_view name);

namespace detail {
inline thread_local Charset currentCharset = Charset::kShiftJis;
}

// The charset the searches below read with; Shift-JIS unless a load says otherwise.
inline Charset CurrentCharset() { return detail::currentCharset; }

// Reads with `charset` while it lives (a load, a reading of the kept text).
class CharsetScope {
public:
    explicit CharsetScope(Charset charset) : previous_(detail::currentCharset) { detail::currentCharset = charset; }
    ~CharsetScope() { detail::currentCharset = previous_; }
    CharsetScope(const CharsetScope&) = delete;
    CharsetScope& operator=(const CharsetScope&) = delete;

private:
    Charset previous_;
};

// True when `b` starts a two-byte character in the current charset.
inline bool IsLeadByte(unsigned char b) {
    switch (CurrentCharset()) {
        case Charset::kShiftJis: return IsCp932LeadByte(b);
        case Charset::kDoubleByte: return b >= 0x81 && b <= 0xFE;
        case Charset::kBytes: return false;
    }
    return false;
}

// True when the byte at `p` is the second byte of a two-byte character, given that a character starts at
// `boundary` (boundary <= p).
bool IsSecondByteAfterLeadRange(std::string_view t, std::size_t boundary, std::size_t p);
inline bool IsSecondByte(std::string_view t, std::size_t boundary, std::size_t p) {
    // Most often the byte before cannot start a character, and the answer is at hand.
    if (p == boundary || !IsLeadByte(static_cast<unsigned char>(t[p - 1]))) return false;
    return IsSecondByteAfterLeadRange(t, boundary, p);
}

// True when the byte at `last` starts a two-byte character whose second byte is missing: a first byte
// after an even run of bytes that take the next byte with them (first bytes and escapes). Before a "]"
// such a byte would take the bracket for its second.
bool IsDanglingLead(std::string_view t, std::size_t last);

// True when the byte at `last` is a backslash that escapes the byte after it (an even run of such bytes
// before it).
bool IsEscape(std::string_view t, std::size_t last);

inline bool IsUpperLetter(char c) { return c >= 'A' && c <= 'Z'; }

// The point of an SGF letter pair on a board of `size` lines: "a" is the first line. A pair with a letter
// off the board is a pass, whatever point the letters would make together.
inline PointCode BoardPoint(char x, char y, int size) {
    const unsigned col = static_cast<unsigned>(static_cast<unsigned char>(x)) - 'a';
    const unsigned row = static_cast<unsigned>(static_cast<unsigned char>(y)) - 'a';
    if (col < static_cast<unsigned>(size) && row < static_cast<unsigned>(size)) {
        return MakePoint(static_cast<int>(col) + 1, static_cast<int>(row) + 1);
    }
    return kPass;
}

// The place of a two-letter property name (two capitals) among all 26 x 26 of them: "AA" 0, "AB" 1, ...
constexpr std::size_t kTwoLetterNames = 26 * 26;
inline std::size_t TwoLetterIndex(char first, char second) {
    return static_cast<std::size_t>((first - 'A') * 26 + (second - 'A'));
}

// The property `name` + "[" starting in [from, limit). A one-letter name counts only as a property of its
// own, not as the tail of a longer name: "B[" is not found inside "LB[", "AB[" or "TB[", nor "C[" inside
// "PC[".
std::size_t FindProperty(std::string_view t, std::string_view name, std::size_t from, std::size_t limit = kNone);

// Where the first property with a two-letter name ("PB[", "AB[") starts whose "[" stands at or after
// `from`, or kNone.
std::size_t FindTwoLetterProperty(std::string_view t, std::size_t from);

// True when a ")" is followed, after blanks only, by another ")": a variation closed right before its
// parent, as standard nesting writes them.
bool HasDoubleClose(std::string_view t);

// The "]" that closes a value starting at `from` (a character boundary): the first "]" that is a
// character of its own and not escaped by a "\". A value that never closes so (a backslash of its own
// before the bracket, as older versions of the program wrote a yen sign) ends at its first "]" of its own.
std::size_t FindValueEnd(std::string_view t, std::size_t from);

// The end of a comment in a normalised text: its first "]" of its own. The normalisation has read the
// comment's escapes and put its brackets in their full-width forms, so a backslash left in it is text.
std::size_t FindKeptCommentEnd(std::string_view t, std::size_t from);

// The same without the fallback: kNone when no unescaped "]" closes the value.
std::size_t FindEscapedValueEnd(std::string_view t, std::size_t from, std::size_t limit = kNone);

// One value of a property in a node: the property's name (the capitals right before its first "["), the
// value's "[" and its "]".
struct ValueSpan {
    std::string_view name;
    std::size_t open;
    std::size_t close;
};

// A node of a normalised text walked value by value, from right after its ";": every value, and where the
// node ends (the ";", "(" or ")" after it, or the end of the text; a value that never closes ends the
// text too). A ";" or bracket inside a value is text and ends nothing.
struct WalkedNode {
    std::vector<ValueSpan> values;
    std::size_t end = 0;
    // The first value of the property `name`, or nullptr.
    const ValueSpan* Find(std::string_view name) const {
        for (const ValueSpan& v : values) {
            if (v.name == name) return &v;
        }
        return nullptr;
    }
};
WalkedNode WalkNodeValues(std::string_view t, std::size_t from);

// Appends a comment text with "(", ")", ";", "[", "]" and the backslash (the yen sign of the Japanese
// code page) in their full-width forms. Each SGF escape becomes the character it stands for; an escaped
// line break (a soft break) goes. Second bytes of two-byte characters are copied as they are.
void AppendProtectedComment(std::string& out, std::string_view comment);

// A value as text: each escape stands for the byte after it, an escaped line break (a soft break) goes
// with its escape, and characters of two bytes stay whole. A first byte left without its second at the
// end becomes "?".
std::string UnescapeValue(std::string_view raw);

// The first occurrence of one byte at or after a position, remembered: the reader asks again and again
// from positions that only move forward, so each byte of the text is looked at once.
class NextByte {
public:
    NextByte(std::string_view t, char c) : t_(t), c_(c) {}
    std::size_t From(std::size_t from) {
        if (from < askedFrom_ || (answer_ != kNone && from > answer_)) {
            askedFrom_ = from;
            answer_ = FindByte(t_, c_, from);
        }
        return answer_;
    }

private:
    std::string_view t_;
    char c_;
    std::size_t askedFrom_ = kNone;
    std::size_t answer_ = kNone;
};

// The same for a property name.
class NextProperty {
public:
    NextProperty(std::string_view t, std::string_view name) : t_(t), name_(name) {}
    std::size_t From(std::size_t from) {
        if (from < askedFrom_ || (answer_ != kNone && from > answer_)) {
            askedFrom_ = from;
            answer_ = FindProperty(t_, name_, from);
        }
        return answer_;
    }

private:
    std::string_view t_;
    std::string_view name_;
    std::size_t askedFrom_ = kNone;
    std::size_t answer_ = kNone;
};

}  // namespace quorvel::sgf
