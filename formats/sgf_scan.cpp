#include "formats/sgf_scan.h"

#include "formats/sgf_simd.h"

#include <algorithm>
#include <array>
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

#if defined(__SSE2__)
// The bytes of sixty-four at `p` that equal `c`, one bit each.
inline std::uint64_t Equal64(const char* p, __m128i c) {
    std::uint64_t bits = 0;
    for (int k = 0; k < 4; ++k) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
        bits |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, c)))) << (16 * k);
    }
    return bits;
}

// The bytes of sixty-four at `p` that start a two-byte character in the current charset (first bytes
// and bytes in their range alike), one bit each.
inline std::uint64_t LeadRange64(const char* p, Charset charset) {
    if (charset == Charset::kBytes) return 0;
    const __m128i flip = _mm_set1_epi8(static_cast<char>(0x80));
    std::uint64_t bits = 0;
    for (int k = 0; k < 4; ++k) {
        // With the top bit flipped, 0x80..0xFF compare as 0..127 and ASCII as negative.
        const __m128i x = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k)), flip);
        __m128i lead;
        if (charset == Charset::kShiftJis) {
            lead = _mm_or_si128(
                _mm_and_si128(_mm_cmpgt_epi8(x, _mm_set1_epi8(0x00)), _mm_cmplt_epi8(x, _mm_set1_epi8(0x20))),
                _mm_and_si128(_mm_cmpgt_epi8(x, _mm_set1_epi8(0x5F)), _mm_cmplt_epi8(x, _mm_set1_epi8(0x7D))));
        } else {
            lead = _mm_and_si128(_mm_cmpgt_epi8(x, _mm_set1_epi8(0x00)), _mm_cmplt_epi8(x, _mm_set1_epi8(0x7F)));
        }
        bits |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(lead))) << (16 * k);
    }
    return bits;
}
#endif

// The bytes of a block that a byte before them takes as their second byte, given the bytes that take
// the next one (`takers`: first bytes of characters, and backslashes where they escape) and whether the
// block's first byte is taken (`carry`, updated for the next block). Only bytes that take none are
// answered: such a byte is taken when the run of takers right before it, counted from its first byte
// not taken, is odd.
inline std::uint64_t TakenBytes(std::uint64_t takers, std::uint64_t& carry) {
    constexpr std::uint64_t kEven = 0x5555555555555555ULL;
    const std::uint64_t active = takers & ~carry;  // a taken first byte takes nothing
    const std::uint64_t starts = active & ~(active << 1);
    const std::uint64_t evenEnds = (active + (starts & kEven)) & ~active;
    std::uint64_t oddSum;
    const bool out = __builtin_add_overflow(active, starts & ~kEven, &oddSum);
    const std::uint64_t taken = (evenEnds & ~kEven) | ((oddSum & ~active) & kEven) | carry;
    carry = out ? 1 : 0;
    return taken;
}

// What each byte is to the searches, in each charset: 0 plain, 1 the first byte of a two-byte character
// (or a byte in that range), 2 the backslash, 3 a byte the protection of comments changes.
const unsigned char* ByteClasses(Charset charset) {
    static const auto tables = [] {
        std::array<std::array<unsigned char, 256>, 3> t{};
        for (int cs = 0; cs < 3; ++cs) {
            const CharsetScope scope(static_cast<Charset>(cs));
            for (int b = 0; b < 256; ++b) {
                unsigned char k = 0;
                if (IsLeadByte(static_cast<unsigned char>(b))) {
                    k = 1;
                } else if (b == '\\') {
                    k = 2;
                } else if (b == '(' || b == ')' || b == ';' || b == '[' || b == ']') {
                    k = 3;
                }
                t[static_cast<std::size_t>(cs)][static_cast<std::size_t>(b)] = k;
            }
        }
        return t;
    }();
    return tables[static_cast<std::size_t>(charset)].data();
}

// The first `target` at or after `from` (a character boundary) and before `limit` that is a character
// of its own: not the second byte of a two-byte character and, with `escapes`, not escaped by a
// backslash. kNone when there is none.
std::size_t FindOwnByte(std::string_view t, char target, std::size_t from, std::size_t limit, bool escapes) {
    if (limit > t.size()) limit = t.size();
    const Charset charset = CurrentCharset();
    std::size_t p = from;
    bool taken = false;
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(target);
    const __m128i backslash = _mm_set1_epi8('\\');
    std::uint64_t carry = 0;
    for (; p + 64 <= limit; p += 64) {
        const char* d = t.data() + p;
        const std::uint64_t hits = Equal64(d, wanted);
        std::uint64_t takers = LeadRange64(d, charset);
        if (escapes) takers |= Equal64(d, backslash);
        const std::uint64_t own = hits & ~TakenBytes(takers, carry);
        if (own != 0) return p + static_cast<std::size_t>(__builtin_ctzll(own));
    }
    taken = carry != 0;
#endif
    const unsigned char* classes = ByteClasses(charset);
    const unsigned char takes = escapes ? 2 : 1;  // classes up to this one take the next byte
    for (; p < limit; ++p) {
        if (taken) {
            taken = false;
            continue;
        }
        const char c = t[p];
        if (c == target) return p;
        const unsigned char k = classes[static_cast<unsigned char>(c)];
        taken = k != 0 && k <= takes;
    }
    return kNone;
}

// The first "]" at or after `from` that is a character of its own, escaped or not.
std::size_t FirstOwnBracket(std::string_view t, std::size_t from) { return FindOwnByte(t, ']', from, kNone, false); }

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
        if (c == '-' || c == '_' || c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
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
    return FindOwnByte(t, ']', from, limit, true);
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

namespace {

// The full-width form of a byte the protection of comments changes, or nullptr.
inline const char* FullWidth(char c) {
    switch (c) {
        case '(': return "（";
        case ')': return "）";
        case ';': return "；";
        case '[': return "［";
        case ']': return "］";
        // The yen sign of the Japanese code page: the full-width form leaves no backslash in the kept text
        // that a later reading could take for an escape.
        case '\\': return "￥";
        default: return nullptr;
    }
}

// Writes the byte an escape at c[p] stands for (c[p + 1] exists) to `w`; an escaped line break goes.
// Returns where the text goes on.
inline std::size_t WriteEscaped(std::string_view c, std::size_t p, char*& w) {
    const char ch = c[p + 1];
    std::size_t next = p + 2;
    if (ch == '\r' || ch == '\n') {
        if (next < c.size() && c[next] == (ch == '\r' ? '\n' : '\r')) next += 1;
    } else if (const char* wide = FullWidth(ch)) {
        *w++ = wide[0];
        *w++ = wide[1];
    } else {
        *w++ = ch;
    }
    return next;
}

// The comment read as its escapes say, then protected as characters of that text. An escaped first byte
// of a two-byte character makes a character with the byte after it there, where the escaped text had
// another.
void AppendProtectedUnescaped(std::string& out, std::string_view c) {
    const std::string text = UnescapeValue(c);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char b = text[i];
        if (IsLeadByte(static_cast<unsigned char>(b)) && i + 1 < text.size()) {
            out += b;
            out += text[++i];
        } else if (const char* wide = FullWidth(b)) {
            out += wide;
        } else {
            out += b;
        }
    }
}

// The same in one pass over the escaped text, whose characters are those of the text it stands for as
// long as no escape stands before the first byte of a two-byte character: false, with `out` as it was,
// when one does.
bool AppendProtectedInOnePass(std::string& out, std::string_view c) {
    // Every byte becomes at most two: the text is written into room made once.
    const std::size_t start = out.size();
    out.resize(start + 2 * c.size());
    char* const base = &out[0];
    char* w = base + start;
    const std::size_t n = c.size();
    std::size_t p = 0;  // bytes before p are written
    bool taken = false;  // c[p] is the second byte of a character or an escaped byte, already decided
#if defined(__SSE2__)
    // Sixty-four bytes a block: the bytes to look at are the ones protection changes that are characters
    // of their own, and the backslashes that escape; everything between is copied as it stands.
    const Charset charset = CurrentCharset();
    const __m128i specials[] = {_mm_set1_epi8('('), _mm_set1_epi8(')'), _mm_set1_epi8(';'), _mm_set1_epi8('['),
                                _mm_set1_epi8(']')};
    const __m128i backslash = _mm_set1_epi8('\\');
    constexpr std::uint64_t kEven = 0x5555555555555555ULL;
    std::uint64_t carry = 0;
    std::size_t block = 0;
    for (; block + 64 <= n; block += 64) {
        const char* d = c.data() + block;
        std::uint64_t special = 0;
        for (const __m128i& s : specials) special |= Equal64(d, s);
        const std::uint64_t slashes = Equal64(d, backslash);
        const std::uint64_t takers = LeadRange64(d, charset) | slashes;
        const std::uint64_t carried = carry;
        const std::uint64_t takenBytes = TakenBytes(takers, carry);
        std::uint64_t look = special & ~takenBytes;
        if (slashes != 0) {
            // Backslashes that escape: those at an even place of their run of takers.
            const std::uint64_t active = takers & ~carried;
            const std::uint64_t starts = active & ~(active << 1);
            const std::uint64_t evenRuns = active & ~(active + (starts & kEven));
            const std::uint64_t oddRuns = active & ~(active + (starts & ~kEven));
            look |= slashes & ((evenRuns & kEven) | (oddRuns & ~kEven));
        }
        for (; look != 0; look &= look - 1) {
            const std::size_t at = block + static_cast<std::size_t>(__builtin_ctzll(look));
            if (at < p) continue;  // written with the escape before it
            // The bytes before it; a short run as one copy of sixteen bytes: the room holds two bytes for
            // each byte not yet read, so what it writes past the run stays inside, and is overwritten.
            const std::size_t run = at - p;
            if (run <= 16 && p + 16 <= n) {
                _mm_storeu_si128(reinterpret_cast<__m128i*>(w), _mm_loadu_si128(reinterpret_cast<const __m128i*>(c.data() + p)));
            } else {
                std::memcpy(w, c.data() + p, run);
            }
            w += run;
            if (c[at] == '\\') {
                if (at + 1 < n) {
                    if (IsLeadByte(static_cast<unsigned char>(c[at + 1]))) {
                        out.resize(start);
                        return false;
                    }
                    p = WriteEscaped(c, at, w);
                    continue;
                }
            }
            const char* wide = FullWidth(c[at]);
            *w++ = wide[0];
            *w++ = wide[1];
            p = at + 1;
        }
    }
    if (p < block) {
        std::memcpy(w, c.data() + p, block - p);
        w += block - p;
        p = block;
    }
    taken = p == block && carry != 0;
#endif
    const unsigned char* classes = ByteClasses(CurrentCharset());
    for (; p < n; ++p) {
        const char b = c[p];
        if (taken) {
            *w++ = b;
            taken = false;
            continue;
        }
        switch (classes[static_cast<unsigned char>(b)]) {
            case 0: *w++ = b; break;
            case 1:
                *w++ = b;
                taken = true;
                break;
            case 2:
                if (p + 1 < n) {
                    if (classes[static_cast<unsigned char>(c[p + 1])] == 1) {
                        out.resize(start);
                        return false;
                    }
                    p = WriteEscaped(c, p, w) - 1;
                    break;
                }
                [[fallthrough]];
            default: {
                const char* wide = FullWidth(b);
                *w++ = wide[0];
                *w++ = wide[1];
            }
        }
    }
    out.resize(static_cast<std::size_t>(w - base));
    return true;
}

}  // namespace

void AppendProtectedComment(std::string& out, std::string_view c) {
    if (!AppendProtectedInOnePass(out, c)) {
        AppendProtectedUnescaped(out, c);
    } else if (!c.empty() && IsDanglingLead(c, c.size() - 1)) {
        // Its characters are those of the text: the byte was copied last, and would take the "]" after it.
        out.back() = '?';
    }
}

namespace {

// True when a character starts at `last`: the bytes right before it that take the next byte with them
// (first bytes and escapes) make an even run.
bool StartsCharacter(std::string_view t, std::size_t last) {
    std::size_t takers = 0;
    for (std::size_t p = last; p-- > 0;) {
        const unsigned char b = static_cast<unsigned char>(t[p]);
        if (!IsLeadByte(b) && b != '\\') break;
        ++takers;
    }
    return takers % 2 == 0;
}

}  // namespace

bool IsDanglingLead(std::string_view t, std::size_t last) {
    return IsLeadByte(static_cast<unsigned char>(t[last])) && StartsCharacter(t, last);
}

bool IsEscape(std::string_view t, std::size_t last) { return t[last] == '\\' && StartsCharacter(t, last); }

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
    // An escaped first byte pairs with the byte after it; only the last one can be left alone.
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (!IsLeadByte(static_cast<unsigned char>(out[i]))) continue;
        if (i + 1 == out.size()) out[i] = '?';
        ++i;
    }
    return out;
}

}  // namespace quorvel::sgf
