// Vector pieces shared by the searches over record texts, for the functions compiled for AVX2 (each
// such function checks at run time that the processor has it).
#pragma once

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>

#include <cstddef>

namespace quorvel::sgf {

// The bytes of `v` that are the capitals "A" to "Z" (the signed compares leave out 0x80 and above).
__attribute__((target("avx2"))) inline __m256i UpperLetters256(__m256i v) {
    return _mm256_and_si256(_mm256_cmpgt_epi8(v, _mm256_set1_epi8('A' - 1)),
                            _mm256_cmpgt_epi8(_mm256_set1_epi8('Z' + 1), v));
}

// The thirty-two bytes at `p` and the same shifted by one and by two, for checks on the bytes before a
// "[" (p >= 2).
struct Window256 {
    __m256i cur;
    __m256i prev1;
    __m256i prev2;
};

__attribute__((target("avx2"))) inline __m256i Load256(const char* data, std::size_t p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + p));
}

__attribute__((target("avx2"))) inline Window256 LoadWindow256(const char* data, std::size_t p) {
    return {Load256(data, p), Load256(data, p - 1), Load256(data, p - 2)};
}

}  // namespace quorvel::sgf
#endif
