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
#include <string_view>

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

// True when the byte at `p` is the second byte of a two-byte character, given that a character starts at
// `boundary` (boundary <= p).
bool IsSecondByteAfterLeadRange(std::string_view t, std::size_t boundary, std::size_t p);
inline bool IsSecondByte(std::string_view t, std::size_t boundary, std::size_t p) {
    // Most often the byte before cannot start a character, and the answer is at hand.
    if (p == boundary || !IsCp932LeadByte(static_cast<unsigned char>(t[p - 1]))) return false;
    return IsSecondByteAfterLeadRange(t, boundary, p);
}

inline bool IsUpperLetter(char c) { return c >= 'A' && c <= 'Z'; }

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

// True when, from `p` on, the text goes on as SGF structure: blanks, then ";", "(", ")", a property (capital
// letters and "[") or the end of the text.
bool StructureFollows(std::string_view t, std::size_t p);

// The "]" that closes a value starting at `from` (a character boundary): the first "]" that is a character
// of its own. A "]" that reads as the second byte of a Shift-JIS character still closes the value when
// SGF structure follows it: in a record in another encoding (UTF-8, GB2312) the byte before the bracket
// is only the end of a character.
std::size_t FindValueEnd(std::string_view t, std::size_t from);

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
