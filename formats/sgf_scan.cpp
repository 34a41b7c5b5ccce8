#include "formats/sgf_scan.h"

#include "formats/sgf_simd.h"

#include <algorithm>
#include <string>

#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quorvel::sgf {

std::size_t FindText(std::string_view t, std::string_view pattern, std::size_t from, std::size_t limit) {
    if (pattern.empty()) return from <= t.size() ? from : kNone;
    if (limit > t.size()) limit = t.size();
    for (std::size_t p = FindByte(t, pattern[0], from, limit); p != kNone; p = FindByte(t, pattern[0], p + 1, limit)) {
        if (t.compare(p, pattern.size(), pattern) == 0) return p;
    }
    return kNone;
}

namespace {

bool IsPropertyAt(std::string_view t, std::string_view name, std::size_t p) {
    const std::size_t n = name.size();
    const std::size_t start = p - n;
    if (t[p] != '[' || t[start] != name[0] || (n == 2 && t[start + 1] != name[1])) return false;
    return start == 0 || !IsUpperLetter(t[start - 1]);
}

#if defined(__SSE2__)
// Bytes 'A' to 'Z' (the signed compare leaves out every byte of 0x80 and above).
inline __m128i UpperLetters(__m128i v) {
    return _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8('A' - 1)), _mm_cmplt_epi8(v, _mm_set1_epi8('Z' + 1)));
}
#endif

}  // namespace

std::size_t FindProperty(std::string_view t, std::string_view name, std::size_t from, std::size_t limit) {
    // Names are one or two letters. The match is found at its "[", at p in [from + n, limit + n).
    const std::size_t n = name.size();
    if (limit > t.size()) limit = t.size();
    if (from >= limit) return kNone;
    std::size_t p = from + n;
    const std::size_t end = std::min(limit + n, t.size());
    // The first sixteen places are looked at for a "[" alone, each checked for the name: the name is often
    // right there (the move after a ";", the comment after a move).
#if defined(__SSE2__)
    if (p >= 2 && p + 16 <= end) {
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(t.data() + p)), _mm_set1_epi8('['))));
        for (; mask != 0; mask &= mask - 1) {
            const std::size_t q = p + static_cast<std::size_t>(__builtin_ctz(mask));
            if (IsPropertyAt(t, name, q)) return q - n;
        }
        p += 16;
    }
#endif
    for (const std::size_t head = std::min(end, std::max<std::size_t>(from + n + 16, 2)); p < head; ++p) {
        if (t[p] == '[' && IsPropertyAt(t, name, p)) return p - n;
    }
#if defined(__SSE2__)
    // Sixteen places a step: "[" with the name before it, and for a one-letter name no capital before
    // that. Most of a record's brackets are not the one looked for, and comments have none.
    const char* data = t.data();
    const __m128i open = _mm_set1_epi8('[');
    const __m128i last = _mm_set1_epi8(name[n - 1]);
    const __m128i first = _mm_set1_epi8(name[0]);
    for (; p + 16 <= end; p += 16) {
        const __m128i cur = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + p));
        const __m128i prev1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + p - 1));
        const __m128i prev2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + p - 2));
        __m128i hit = _mm_and_si128(_mm_cmpeq_epi8(cur, open), _mm_cmpeq_epi8(prev1, last));
        if (n == 2) {
            // Not the tail of a longer name: no capital before the two letters.
            const __m128i prev3 = p >= 3 ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + p - 3)) : _mm_setzero_si128();
            hit = _mm_andnot_si128(UpperLetters(prev3), _mm_and_si128(hit, _mm_cmpeq_epi8(prev2, first)));
        } else {
            hit = _mm_andnot_si128(UpperLetters(prev2), hit);
        }
        const int mask = _mm_movemask_epi8(hit);
        if (mask != 0) return p + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask))) - n;
    }
#endif
    for (; p < end; ++p) {
        if (IsPropertyAt(t, name, p)) return p - n;
    }
    return kNone;
}

#if defined(__x86_64__) && defined(__GNUC__)
// Sixty-four bytes a step, looking at the two bytes before a "[" only where there is one: the whole text
// of a large record is passed over at close to the speed of memchr.
__attribute__((target("avx2"))) std::size_t FindTwoLetterPropertyAvx2(std::string_view t, std::size_t& p) {
    const char* data = t.data();
    const __m256i open = _mm256_set1_epi8('[');
    for (; p + 32 <= t.size(); p += 32) {
        const __m256i brackets = _mm256_cmpeq_epi8(Load256(data, p), open);
        if (_mm256_testz_si256(brackets, brackets)) continue;
        const Window256 w = LoadWindow256(data, p);
        const __m256i hit = _mm256_and_si256(brackets, _mm256_and_si256(UpperLetters256(w.prev1), UpperLetters256(w.prev2)));
        const unsigned mask = static_cast<unsigned>(_mm256_movemask_epi8(hit));
        if (mask != 0) return p + static_cast<std::size_t>(__builtin_ctz(mask)) - 2;
    }
    return kNone;
}

const bool kTwoLetterAvx2 = __builtin_cpu_supports("avx2");
#endif

std::size_t FindTwoLetterProperty(std::string_view t, std::size_t from) {
    std::size_t p = std::max<std::size_t>(from, 2);
#if defined(__x86_64__) && defined(__GNUC__)
    if (kTwoLetterAvx2) {
        const std::size_t found = FindTwoLetterPropertyAvx2(t, p);
        if (found != kNone) return found;
    }
#endif
#if defined(__SSE2__)
    const char* data = t.data();
    const __m128i open = _mm_set1_epi8('[');
    for (; p + 16 <= t.size(); p += 16) {
        const __m128i cur = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + p));
        const __m128i prev1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + p - 1));
        const __m128i prev2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + p - 2));
        const __m128i hit =
            _mm_and_si128(_mm_cmpeq_epi8(cur, open), _mm_and_si128(UpperLetters(prev1), UpperLetters(prev2)));
        const int mask = _mm_movemask_epi8(hit);
        if (mask != 0) return p + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask))) - 2;
    }
#endif
    for (; p < t.size(); ++p) {
        if (t[p] == '[' && IsUpperLetter(t[p - 1]) && IsUpperLetter(t[p - 2])) return p - 2;
    }
    return kNone;
}

ByteSet::ByteSet(std::string_view bytes) : bytes_{}, count_(0), member_{}, repeated_{} {
    for (const char c : bytes) {
        if (member_[static_cast<unsigned char>(c)] || count_ == 8) continue;  // each byte once, at most 8
        bytes_[count_] = c;
        member_[static_cast<unsigned char>(c)] = true;
        for (unsigned char& b : repeated_[count_]) b = static_cast<unsigned char>(c);
        count_ += 1;
    }
}

namespace {

#if defined(__x86_64__) && defined(__GNUC__)
// Thirty-two bytes a step where the processor has AVX2: comments make up most of a large record, and
// every pass over them runs at close to memory speed.
// The number of bytes looked for is a template argument, so that the compares of a block are unrolled.
template <std::size_t N>
__attribute__((target("avx2"))) std::size_t FindAvx2Of(const unsigned char* data, std::size_t p, std::size_t limit,
                                                       const char* bytes) {
    __m256i wanted[N];
#pragma GCC unroll 8
    for (std::size_t k = 0; k < N; ++k) wanted[k] = _mm256_set1_epi8(bytes[k]);
    for (; p + 32 <= limit; p += 32) {
        const __m256i block = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + p));
        __m256i hit = _mm256_cmpeq_epi8(block, wanted[0]);
#pragma GCC unroll 8
        for (std::size_t k = 1; k < N; ++k) hit = _mm256_or_si256(hit, _mm256_cmpeq_epi8(block, wanted[k]));
        const unsigned mask = static_cast<unsigned>(_mm256_movemask_epi8(hit));
        if (mask != 0) return p + static_cast<std::size_t>(__builtin_ctz(mask));
    }
    return p;
}

std::size_t FindAvx2(const unsigned char* data, std::size_t p, std::size_t limit, const char* bytes,
                     std::size_t count) {
    switch (count) {
        case 1: return FindAvx2Of<1>(data, p, limit, bytes);
        case 2: return FindAvx2Of<2>(data, p, limit, bytes);
        case 3: return FindAvx2Of<3>(data, p, limit, bytes);
        case 4: return FindAvx2Of<4>(data, p, limit, bytes);
        case 5: return FindAvx2Of<5>(data, p, limit, bytes);
        case 6: return FindAvx2Of<6>(data, p, limit, bytes);
        case 7: return FindAvx2Of<7>(data, p, limit, bytes);
        default: return FindAvx2Of<8>(data, p, limit, bytes);
    }
}

const bool kHasAvx2 = __builtin_cpu_supports("avx2");
#endif

#if defined(__SSE2__)
template <std::size_t N>
std::size_t FindSse2Of(const unsigned char* data, std::size_t p, std::size_t limit, const unsigned char (*repeated)[16]) {
    __m128i wanted[N];
#pragma GCC unroll 8
    for (std::size_t k = 0; k < N; ++k) wanted[k] = _mm_load_si128(reinterpret_cast<const __m128i*>(repeated[k]));
    for (; p + 16 <= limit; p += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + p));
        __m128i hit = _mm_cmpeq_epi8(block, wanted[0]);
#pragma GCC unroll 8
        for (std::size_t k = 1; k < N; ++k) hit = _mm_or_si128(hit, _mm_cmpeq_epi8(block, wanted[k]));
        const int mask = _mm_movemask_epi8(hit);
        if (mask != 0) return p + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
    return p;
}
#endif

}  // namespace

std::size_t ByteSet::Find(std::string_view t, std::size_t from, std::size_t limit) const {
    if (limit > t.size()) limit = t.size();
    if (from >= limit || count_ == 0) return kNone;
    const unsigned char* data = reinterpret_cast<const unsigned char*>(t.data());
    std::size_t p = from;
#if defined(__SSE2__)
    if (limit - p >= 16) {
#if defined(__x86_64__) && defined(__GNUC__)
        // Long stretches (the comments of a large record) thirty-two bytes a step.
        if (kHasAvx2 && limit - p >= 64) {
            p = FindAvx2(data, p, limit, bytes_, count_);
            if (p + 32 <= limit) return p;  // a hit inside a full block
        }
#endif
        switch (count_) {
            case 1: p = FindSse2Of<1>(data, p, limit, repeated_); break;
            case 2: p = FindSse2Of<2>(data, p, limit, repeated_); break;
            case 3: p = FindSse2Of<3>(data, p, limit, repeated_); break;
            case 4: p = FindSse2Of<4>(data, p, limit, repeated_); break;
            case 5: p = FindSse2Of<5>(data, p, limit, repeated_); break;
            case 6: p = FindSse2Of<6>(data, p, limit, repeated_); break;
            case 7: p = FindSse2Of<7>(data, p, limit, repeated_); break;
            default: p = FindSse2Of<8>(data, p, limit, repeated_); break;
        }
        if (p + 16 <= limit) return p;  // a hit inside a full block
    }
#endif
    for (; p < limit; ++p) {
        if (member_[data[p]]) return p;
    }
    return kNone;
}

bool IsSecondByteAfterLeadRange(std::string_view t, std::size_t boundary, std::size_t p) {
    // Count the lead-byte-range bytes right before p, back to a byte that always ends a character (or to
    // the boundary): an odd count means p is the second byte of a character.
    std::size_t run = 0;
    while (p - run > boundary && IsLeadByte(static_cast<unsigned char>(t[p - run - 1]))) ++run;
    return run % 2 == 1;
}

bool HasDoubleClose(std::string_view t) {
    for (std::size_t p = FindByte(t, ')', 0); p != kNone; p = FindByte(t, ')', p + 1)) {
        std::size_t q = p + 1;
        while (q < t.size() && (t[q] == '\r' || t[q] == '\n' || t[q] == ' ' || t[q] == '\t')) ++q;
        if (q < t.size() && t[q] == ')') return true;
    }
    return false;
}

namespace {

const ByteSet kValueEndBytes("]\\");

// The first "]" at or after `from` that is a character of its own, escaped or not.
std::size_t FirstOwnBracket(std::string_view t, std::size_t from) {
    std::size_t boundary = from;
    for (std::size_t p = FindByte(t, ']', from); p != kNone; p = FindByte(t, ']', p + 1)) {
        if (!IsSecondByte(t, boundary, p)) return p;
        boundary = p + 1;
    }
    return kNone;
}

// Bytes of a UTF-8 text, checked a run of ASCII at a time; the full-width brackets the normalisation
// writes ("\x81" and one of "i", "j", "G", "m", "n") are let through.
bool IsUtf8Beyond(std::string_view t) {
    bool beyond = false;
    const unsigned char* d = reinterpret_cast<const unsigned char*>(t.data());
    const std::size_t n = t.size();
    for (std::size_t i = 0; i < n;) {
#if defined(__SSE2__)
        while (i + 16 <= n && _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i))) == 0) i += 16;
        if (i >= n) break;
#endif
        const unsigned char b = d[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        if (b == 0x81 && i + 1 < n && std::memchr("ijGmn", d[i + 1], 5) != nullptr && d[i + 1] != 0) {
            i += 2;
            continue;
        }
        std::size_t more = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            more = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            more = 2;
        } else if (b >= 0xF0 && b <= 0xF4) {
            more = 3;
        } else {
            return false;
        }
        if (i + more >= n) return false;
        for (std::size_t k = 1; k <= more; ++k) {
            if (d[i + k] < 0x80 || d[i + k] > 0xBF) return false;
        }
        beyond = true;
        i += more + 1;
    }
    return beyond;
}

// True when the text holds bytes beyond ASCII and none from 0x80 to 0xA0, the first bytes of the usual
// Shift-JIS characters (kana, punctuation), which EUC texts (Chinese, Korean) never hold; the full-width
// brackets the normalisation writes count for nothing.
bool IsEucLike(std::string_view t) {
    bool beyond = false;
    for (std::size_t i = 0; i < t.size(); ++i) {
#if defined(__SSE2__)
        while (i + 16 <= t.size() && _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(t.data() + i))) == 0) {
            i += 16;
        }
        if (i >= t.size()) break;
#endif
        const unsigned char b = static_cast<unsigned char>(t[i]);
        if (b < 0x80) continue;
        if (b == 0x81 && i + 1 < t.size() && t[i + 1] != 0 && std::memchr("ijGmn", t[i + 1], 5) != nullptr) {
            ++i;
            continue;
        }
        if (b <= 0xA0) return false;
        beyond = true;
    }
    return beyond;
}

std::string UpperName(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (c == '-' || c == '_' || c == ' ') continue;
        out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return out;
}

// The value of the root node's CA, the root read as Shift-JIS; empty when there is none.
std::string RootCharsetName(std::string_view t) {
    std::size_t open = 0;
    std::size_t close = 0;
    return RootCharsetSpan(t, open, close) ? UpperName(t.substr(open + 1, close - open - 1)) : std::string();
}

}  // namespace

bool RootCharsetSpan(std::string_view t, std::size_t& open, std::size_t& close) {
    const CharsetScope shiftJis(Charset::kShiftJis);
    std::size_t p = t.find('(');
    while (p != std::string_view::npos && p + 1 < t.size() && (t[p + 1] == ' ' || t[p + 1] == '\t' || t[p + 1] == '\r' || t[p + 1] == '\n')) ++p;
    if (p == std::string_view::npos || p + 1 >= t.size() || t[p + 1] != ';') return false;
    std::size_t nameStart = kNone;
    std::size_t nameEnd = kNone;
    for (std::size_t i = p + 2; i < t.size(); ++i) {
        const char c = t[i];
        if (c == ';' || c == '(' || c == ')') break;
        if (IsUpperLetter(c)) {
            if (nameStart == kNone || nameEnd != kNone) {
                nameStart = i;
                nameEnd = kNone;
            }
        } else if (c == '[') {
            if (nameStart != kNone && nameEnd == kNone) nameEnd = i;
            const std::size_t end = FindEscapedValueEnd(t, i + 1);
            if (end == kNone) break;
            if (nameStart != kNone && t.substr(nameStart, nameEnd - nameStart) == "CA") {
                open = i;
                close = end;
                return true;
            }
            i = end;
        } else if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
            nameStart = kNone;
        }
    }
    return false;
}

std::string CharsetNameKey(std::string_view name) { return UpperName(name); }

Charset RecordCharset(std::string_view t) {
    const std::string ca = RootCharsetName(t);
    if (!ca.empty()) {
        for (const char* name : {"SHIFTJIS", "SJIS", "CP932", "WINDOWS31J", "MSKANJI", "XSJIS", "MS932"}) {
            if (ca == name) return Charset::kShiftJis;
        }
        for (const char* name : {"GBK", "GB2312", "GB18030", "CP936", "BIG5", "BIG5HKSCS", "CP950"}) {
            if (ca == name) return Charset::kDoubleByte;
        }
        return Charset::kBytes;
    }
    return IsUtf8Beyond(t) || IsEucLike(t) ? Charset::kBytes : Charset::kShiftJis;
}

std::size_t FindEscapedValueEnd(std::string_view t, std::size_t from, std::size_t limit) {
    // Short values of plain ASCII (points, numbers) end within a few bytes.
    for (std::size_t p = from; p < t.size() && p < from + 8 && p < limit; ++p) {
        const unsigned char c = static_cast<unsigned char>(t[p]);
        if (c == ']') return p;
        if (c >= 0x80 || c == '\\') break;
    }
    std::size_t boundary = from;
    for (std::size_t p = kValueEndBytes.Find(t, boundary, limit); p != kNone; p = kValueEndBytes.Find(t, boundary, limit)) {
        if (IsSecondByte(t, boundary, p)) {
            boundary = p + 1;
            continue;
        }
        if (t[p] == ']') return p;
        boundary = p + 2;  // a backslash escapes the byte after it
    }
    return kNone;
}

std::size_t FindValueEnd(std::string_view t, std::size_t from) {
    const std::size_t end = FindEscapedValueEnd(t, from);
    return end != kNone ? end : FirstOwnBracket(t, from);
}

std::size_t FindKeptCommentEnd(std::string_view t, std::size_t from) { return FirstOwnBracket(t, from); }

WalkedNode WalkNodeValues(std::string_view t, std::size_t from) {
    WalkedNode node;
    std::string_view name;
    for (std::size_t i = from; i < t.size();) {
        const char c = t[i];
        if (c == ';' || c == '(' || c == ')') {
            node.end = i;
            return node;
        }
        if (c == '[') {
            std::size_t start = i;
            while (start > from && IsUpperLetter(t[start - 1])) --start;
            if (start < i) name = t.substr(start, i - start);
            const std::size_t end = name == "C" ? FindKeptCommentEnd(t, i + 1) : FindValueEnd(t, i + 1);
            if (end == kNone) break;
            node.values.push_back({name, i, end});
            i = end + 1;
            continue;
        }
        // Blanks between the values of one property keep its name; anything else starts a new one.
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && !IsUpperLetter(c)) name = std::string_view();
        ++i;
    }
    node.end = t.size();
    return node;
}

std::string UnescapeValue(std::string_view raw) {
    std::string out;
    out.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < raw.size()) {
            out += c;
            out += raw[++i];
        } else if (c == '\\' && i + 1 < raw.size()) {
            const char next = raw[++i];
            if (next == '\r' || next == '\n') {
                if (i + 1 < raw.size() && raw[i + 1] == (next == '\r' ? '\n' : '\r')) ++i;
            } else {
                out += next;
            }
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace quorvel::sgf
