#include "formats/sgf_scan.h"

#if defined(__SSE2__)
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

std::size_t FindProperty(std::string_view t, std::string_view name, std::size_t from, std::size_t limit) {
    const std::size_t n = name.size();
    if (limit > t.size()) limit = t.size();
    if (from >= limit) return kNone;
    // Look for the bracket and check the name before it: "[" is rarer than the letters of a name.
    for (std::size_t p = FindByte(t, '[', from + n, limit + n); p != kNone; p = FindByte(t, '[', p + 1, limit + n)) {
        const std::size_t start = p - n;
        if (t.compare(start, n, name) != 0) continue;
        if (n == 1 && start > 0 && IsUpperLetter(t[start - 1])) continue;
        return start;
    }
    return kNone;
}

std::size_t FindAnyOf(std::string_view t, std::string_view set, std::size_t from, std::size_t limit) {
    if (limit > t.size()) limit = t.size();
    if (from >= limit) return kNone;
    if (set.size() == 1) return FindByte(t, set[0], from, limit);
    const unsigned char* data = reinterpret_cast<const unsigned char*>(t.data());
    std::size_t p = from;
#if defined(__SSE2__)
    // Comments make up most of a large record; sixteen bytes a step keeps the scan near memory speed.
    __m128i wanted[8];
    const std::size_t n = set.size() < 8 ? set.size() : 8;
    for (std::size_t k = 0; k < n; ++k) wanted[k] = _mm_set1_epi8(set[k]);
    for (; p + 16 <= limit; p += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + p));
        __m128i hit = _mm_cmpeq_epi8(block, wanted[0]);
        for (std::size_t k = 1; k < n; ++k) hit = _mm_or_si128(hit, _mm_cmpeq_epi8(block, wanted[k]));
        const int mask = _mm_movemask_epi8(hit);
        if (mask != 0) return p + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
#endif
    for (; p < limit; ++p) {
        if (set.find(static_cast<char>(data[p])) != std::string_view::npos) return p;
    }
    return kNone;
}

bool IsSecondByte(std::string_view t, std::size_t boundary, std::size_t p) {
    // Count the lead-byte-range bytes right before p, back to a byte that always ends a character (or to
    // the boundary): an odd count means p is the second byte of a character.
    std::size_t run = 0;
    while (p - run > boundary && IsCp932LeadByte(static_cast<unsigned char>(t[p - run - 1]))) ++run;
    return run % 2 == 1;
}

std::size_t FindValueEnd(std::string_view t, std::size_t from) {
    std::size_t boundary = from;
    for (std::size_t p = FindByte(t, ']', from); p != kNone; p = FindByte(t, ']', p + 1)) {
        if (!IsSecondByte(t, boundary, p)) return p;
        boundary = p + 1;
    }
    return kNone;
}

}  // namespace quorvel::sgf
