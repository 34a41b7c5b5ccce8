#include "platform/text_codec.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "platform/zeroed_allocator.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quorvel {
namespace {

// How many input bytes one undecodable or unrepresentable character takes, seen from its first byte.
using UnitSize = std::function<size_t(const char*, size_t)>;

size_t OneByte(const char*, size_t) { return 1; }
size_t Utf16Unit(const char* p, size_t left) {
    // A high surrogate with its low surrogate is one character.
    unsigned hi = static_cast<unsigned char>(p[1]);
    return (left >= 4 && hi >= 0xD8 && hi <= 0xDB) ? 4 : 2;
}
// One iconv conversion. Where the input holds a sequence the target cannot take, `replacement` is written
// and that one character is skipped, so the conversion always finishes and never drops text silently.
std::string Convert(const char* to, const char* from, const char* in, size_t inLen, const std::string& replacement,
                    const UnitSize& unitSize, bool* clean = nullptr) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv cannot convert this encoding");
    std::string out;
    std::vector<char> buf(4096);
    char* src = const_cast<char*>(in);
    size_t srcLeft = inLen;
    while (srcLeft > 0) {
        char* dst = buf.data();
        size_t dstLeft = buf.size();
        size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf.data(), buf.size() - dstLeft);
        if (rc == static_cast<size_t>(-1)) {
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL (an incomplete character at the end): replace one unit and go on.
            out += replacement;
            if (clean) *clean = false;
            size_t unit = unitSize(src, srcLeft);
            size_t skip = srcLeft < unit ? srcLeft : unit;
            src += skip;
            srcLeft -= skip;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}


constexpr char32_t kReplacement = 0xFFFD;

bool IsCp932Trail(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// Place of a user-defined code in its area, 0 .. 1879.
std::size_t AreaIndex(unsigned code) {
    const unsigned trail = code & 0xFF;
    return ((code >> 8) - 0xF0) * 188 + (trail < 0x80 ? trail - 0x40 : trail - 0x41);
}

bool IsUserDefinedCode(unsigned code) {
    return IsUserDefinedLead(static_cast<unsigned char>(code >> 8)) && IsCp932Trail(static_cast<unsigned char>(code & 0xFF));
}

// The order in which codes of the area are given out: second bytes that look like "[", "\", "]" or "_"
// last, so that a record with few foreign characters holds none that a byte-wise search could mistake.
const std::vector<unsigned>& AreaOrder() {
    static const std::vector<unsigned> order = [] {
        std::vector<unsigned> plain, lookAlike;
        for (unsigned lead = 0xF0; lead <= 0xF9; ++lead) {
            for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
                if (trail == 0x7F) continue;
                const bool looksLikeSyntax = trail == '[' || trail == '\\' || trail == ']' || trail == '_';
                (looksLikeSyntax ? lookAlike : plain).push_back(lead << 8 | trail);
            }
        }
        plain.insert(plain.end(), lookAlike.begin(), lookAlike.end());
        return plain;
    }();
    return order;
}

// CP932 both ways, as iconv reads it, built once: the character of every code, and for every character of
// the Basic Multilingual Plane the code that gives it back (the JIS code before NEC's and IBM's copies, and
// never a code of the user-defined area, which the record's own table fills).
struct Cp932Tables {
    std::vector<char32_t> single = std::vector<char32_t>(256, 0);
    // Zeroed by the system, so that only the pages of codes and characters that exist are ever touched.
    std::vector<char32_t, ZeroedAllocator<char32_t>> pair = std::vector<char32_t, ZeroedAllocator<char32_t>>(65536);
    std::vector<std::uint16_t, ZeroedAllocator<std::uint16_t>> reverse =
        std::vector<std::uint16_t, ZeroedAllocator<std::uint16_t>>(65536);
    // One bit a two-byte code that makes a character: 8 KB that stay in the cache for a validity check.
    std::vector<std::uint64_t> pairValid = std::vector<std::uint64_t>(65536 / 64, 0);

    // The codes of one lead byte, converted together. Where iconv stops at a code it cannot read, that code
    // has no character and the conversion goes on after it; a run whose characters do not pair one to one
    // with its codes is decoded again code by code.
    template <typename Decode>
    void DecodeRow(iconv_t cd, unsigned lead, const Decode& decode) {
        std::vector<unsigned> codes;
        std::string bytes;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (!IsCp932Trail(static_cast<unsigned char>(trail))) continue;
            codes.push_back(lead << 8 | trail);
            bytes += static_cast<char>(lead);
            bytes += static_cast<char>(trail);
        }
        const auto take = [&](unsigned code, char32_t c) {
            pair[code] = c;
            if (c != 0) pairValid[code / 64] |= std::uint64_t{1} << (code % 64);
        };
        std::vector<unsigned char> u(codes.size() * 8);
        for (std::size_t at = 0; at < codes.size();) {
            char* in = &bytes[at * 2];
            std::size_t inLeft = bytes.size() - at * 2;
            char* out = reinterpret_cast<char*>(u.data());
            std::size_t outLeft = u.size();
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            const bool stopped = iconv(cd, &in, &inLeft, &out, &outLeft) == static_cast<size_t>(-1);
            const bool unreadable = stopped && errno == EILSEQ;
            const std::size_t consumed = bytes.size() - at * 2 - inLeft;
            const std::size_t done = consumed / 2;
            if (consumed % 2 == 0 && (u.size() - outLeft) == done * 4) {
                for (std::size_t k = 0; k < done; ++k) {
                    const unsigned char* c = &u[k * 4];
                    take(codes[at + k], static_cast<char32_t>(c[0] | c[1] << 8 | c[2] << 16 | static_cast<std::uint32_t>(c[3]) << 24));
                }
                at += done;
            } else {
                const std::size_t end = std::min(codes.size(), at + (consumed + 1) / 2);
                for (; at < end; ++at) take(codes[at], decode(&bytes[at * 2], 2));
            }
            if (stopped && at < codes.size() && in == &bytes[at * 2]) {
                take(codes[at], unreadable ? 0 : decode(&bytes[at * 2], 2));
                ++at;
            }
        }
    }

    Cp932Tables() {
        iconv_t cd = iconv_open("UTF-32LE", "CP932");
        if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv has no CP932");
        const auto decode = [cd](const char* bytes, size_t n) -> char32_t {
            char* in = const_cast<char*>(bytes);
            size_t inLeft = n;
            unsigned char u[8];
            char* out = reinterpret_cast<char*>(u);
            size_t outLeft = sizeof u;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &in, &inLeft, &out, &outLeft) == static_cast<size_t>(-1) || inLeft != 0 || outLeft != 4) return 0;
            return static_cast<char32_t>(u[0] | u[1] << 8 | u[2] << 16 | static_cast<std::uint32_t>(u[3]) << 24);
        };
        for (unsigned b = 0; b < 0x80; ++b) single[b] = b;
        for (unsigned b = 0x80; b < 0x100; ++b) {
            if (IsCp932LeadByte(static_cast<unsigned char>(b))) continue;
            const char c = static_cast<char>(b);
            single[b] = decode(&c, 1);
            if (single[b] != 0 && single[b] < 0x10000 && reverse[single[b]] == 0) reverse[single[b]] = static_cast<std::uint16_t>(b);
        }
        // Every two-byte code of a lead byte in one conversion: a conversion per code took most of the
        // command-line tool's start.
        for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
            if (IsCp932LeadByte(static_cast<unsigned char>(lead))) DecodeRow(cd, lead, decode);
        }
        // NEC's selection of IBM's characters (ED40 to EEFC) duplicates codes that come later; it is taken
        // last, as Windows does.
        for (int round = 0; round < 2; ++round) {
            for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
                if (!IsCp932LeadByte(static_cast<unsigned char>(lead))) continue;
                const bool necSelected = lead == 0xED || lead == 0xEE;
                for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
                    if (!IsCp932Trail(static_cast<unsigned char>(trail))) continue;
                    const unsigned code = lead << 8 | trail;
                    const char32_t c = pair[code];
                    if (c == 0 || c >= 0x10000 || IsUserDefinedCode(code) || necSelected != (round == 1)) continue;
                    if (reverse[c] == 0) reverse[c] = static_cast<std::uint16_t>(code);
                }
            }
        }
        iconv_close(cd);
    }
};

const Cp932Tables& Tables() {
    static const Cp932Tables tables;
    return tables;
}

void AppendCode(std::string& out, unsigned code) {
    if (code >= 0x100) out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
}

// One character of UTF-8 at `p` (at least one byte left): the character and its length; an invalid
// sequence gives U+FFFD and length 1.
char32_t DecodeUtf8(const unsigned char* p, std::size_t left, std::size_t& length) {
    const unsigned char b = p[0];
    length = 1;
    if (b < 0x80) return b;
    std::size_t more;
    char32_t c;
    unsigned char low = 0x80, high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        more = 1;
        c = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        more = 2;
        c = b & 0x0F;
        if (b == 0xE0) low = 0xA0;
        if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        more = 3;
        c = b & 0x07;
        if (b == 0xF0) low = 0x90;
        if (b == 0xF4) high = 0x8F;
    } else {
        return kReplacement;
    }
    if (left <= more) return kReplacement;
    for (std::size_t k = 1; k <= more; ++k) {
        const unsigned char n = p[k];
        if (n < (k == 1 ? low : 0x80) || n > (k == 1 ? high : 0xBF)) return kReplacement;
        c = c << 6 | (n & 0x3F);
    }
    length = more + 1;
    return c;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Length of the run of ASCII bytes at the start of [p, p + n).
std::size_t AsciiRun(const unsigned char* p, std::size_t n) {
    std::size_t i = 0;
#if defined(__SSE2__)
    while (i + 16 <= n && _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i))) == 0) i += 16;
#endif
    while (i < n && p[i] < 0x80) ++i;
    return i;
}

std::mutex shownMutex;
std::shared_ptr<ForeignCharacters> shownTable;

// A typed character CP932 lacks exactly: first the code the shown table already gives it, then the nearest
// character CP932 has, as Windows converts typed text (the wave dash of Japanese input methods becomes the
// full-width tilde), then a new code of the shown table.
void AppendTyped(std::string& out, char32_t c) {
    const Cp932Tables& t = Tables();
    if (c < 0x80 || (c < 0x10000 && t.reverse[c] != 0)) {
        AppendExactCp932(out, c, nullptr, nullptr);
        return;
    }
    // A character the record already holds keeps its code: editing one character of a text leaves the
    // others as they were.
    ForeignCharacters* shown = ShownForeignCharacters();
    if (const unsigned code = shown ? shown->Find(c) : 0) {
        AppendCode(out, code);
        return;
    }
    const unsigned char u[4] = {static_cast<unsigned char>(c), static_cast<unsigned char>(c >> 8),
                                static_cast<unsigned char>(c >> 16), static_cast<unsigned char>(c >> 24)};
    bool clean = true;
    const std::string nearest = Convert("CP932", "UTF-32LE", reinterpret_cast<const char*>(u), 4, "?", [](const char*, size_t) { return size_t{4}; }, &clean);
    if (clean && !nearest.empty()) {
        out += nearest;
        return;
    }
    AppendExactCp932(out, c, shown, nullptr);
}

}  // namespace

unsigned ForeignCharacters::CodeOf(char32_t c) {
    const auto it = codes_.find(c);
    if (it != codes_.end()) return it->second;
    if (byIndex_.empty()) byIndex_.assign(kCapacity, 0);
    const std::vector<unsigned>& order = AreaOrder();
    while (next_ < kCapacity && byIndex_[AreaIndex(order[next_])] == kReserved) ++next_;
    if (next_ >= kCapacity) return 0;
    const unsigned code = order[next_++];
    byIndex_[AreaIndex(code)] = c;
    codes_.emplace(c, code);
    ++count_;
    return code;
}

unsigned ForeignCharacters::Find(char32_t c) const {
    const auto it = codes_.find(c);
    return it == codes_.end() ? 0 : it->second;
}

char32_t ForeignCharacters::CharacterOf(unsigned code) const {
    if (!IsUserDefinedCode(code) || byIndex_.empty()) return 0;
    const char32_t c = byIndex_[AreaIndex(code)];
    return c == kReserved ? 0 : c;
}

void ForeignCharacters::ReserveCodesIn(std::string_view cp932) {
    // Bytes F0 to F9 are looked for sixteen at a time; most are second bytes of kana and kanji. Whether one
    // begins a character is told from the run of bytes before it that could begin one: characters end
    // where such a run starts, so an even run leaves it at a character's start.
    const unsigned char* p = reinterpret_cast<const unsigned char*>(cp932.data());
    const std::size_t n = cp932.size();
    // Places are asked for in order, and each answer leaves a place where a character starts: no run is
    // walked twice, so a long run of such bytes costs one pass.
    std::size_t known = 0;
    const auto beginsCharacter = [p, &known](std::size_t at) {
        std::size_t run = 0;
        while (at - run > known && IsCp932LeadByte(p[at - run - 1])) ++run;
        const bool begins = run % 2 == 0;
        known = begins ? at : at - 1;
        return begins;
    };
    std::size_t next = 0;  // the first place not inside a character already reserved
    const auto look = [&](std::size_t at) {
        if (at < next || at + 1 >= n || !IsCp932Trail(p[at + 1]) || !beginsCharacter(at)) return;
        if (byIndex_.empty()) byIndex_.assign(kCapacity, 0);
        char32_t& slot = byIndex_[AreaIndex(static_cast<unsigned>(p[at]) << 8 | p[at + 1])];
        if (slot == 0) slot = kReserved;
        next = at + 2;
    };
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i low = _mm_set1_epi8(static_cast<char>(0xF0 ^ 0x80));
    const __m128i high = _mm_set1_epi8(static_cast<char>(0xF9 ^ 0x80));
    const __m128i flip = _mm_set1_epi8(static_cast<char>(0x80));
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)), flip);
        const __m128i in = _mm_andnot_si128(_mm_or_si128(_mm_cmplt_epi8(v, low), _mm_cmpgt_epi8(v, high)), _mm_set1_epi8(-1));
        for (unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(in)); mask != 0; mask &= mask - 1) {
            look(i + static_cast<std::size_t>(__builtin_ctz(mask)));
        }
    }
#endif
    for (; i < n; ++i) {
        if (IsUserDefinedLead(p[i])) look(i);
    }
}

void ForeignCharacters::Clear() {
    byIndex_.clear();
    next_ = 0;
    count_ = 0;
    codes_.clear();
    formsSeparated = false;
}

namespace {
thread_local bool separatingForms = false;
}

SeparatingProtectionForms::SeparatingProtectionForms() : previous_(separatingForms) { separatingForms = true; }
SeparatingProtectionForms::~SeparatingProtectionForms() { separatingForms = previous_; }

bool IsProtectionForm(char32_t c) {
    return c == U'\uFF08' || c == U'\uFF09' || c == U'\uFF1B' || c == U'\uFF3B' || c == U'\uFF3D' || c == U'\uFFE5';
}

void SetShownForeignCharacters(std::shared_ptr<ForeignCharacters> table) {
    const std::lock_guard<std::mutex> lock(shownMutex);
    shownTable = std::move(table);
}

ForeignCharacters* ShownForeignCharacters() {
    const std::lock_guard<std::mutex> lock(shownMutex);
    return shownTable.get();
}

void AppendExactCp932(std::string& out, char32_t c, ForeignCharacters* foreign, std::size_t* lost) {
    if (c < 0x80) {
        out += static_cast<char>(c);
        return;
    }
    const Cp932Tables& t = Tables();
    const bool separate = foreign && (separatingForms || foreign->formsSeparated) && IsProtectionForm(c);
    if (c < 0x10000 && t.reverse[c] != 0 && !separate) {
        AppendCode(out, t.reverse[c]);
        return;
    }
    if (foreign) {
        if (const unsigned code = foreign->CodeOf(c)) {
            AppendCode(out, code);
            return;
        }
    }
    out += '?';
    if (lost) ++*lost;
}

namespace {

// UTF-8 -> CP932 exactly, ASCII runs copied whole; `invalid` takes a byte that begins no UTF-8 character
// (out, place) and returns how many bytes it read.
template <typename Invalid>
std::string Utf8ToCp932Each(std::string_view bytes, ForeignCharacters* foreign, std::size_t* lost, Invalid invalid) {
    std::string out;
    out.reserve(bytes.size());
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n;) {
        const std::size_t run = AsciiRun(p + i, n - i);
        out.append(bytes.data() + i, run);
        i += run;
        if (i >= n) break;
        std::size_t length;
        const char32_t c = DecodeUtf8(p + i, n - i, length);
        if (c != kReplacement || length > 1) {
            AppendExactCp932(out, c, foreign, lost);
            i += length;
        } else {
            i += invalid(out, i);
        }
    }
    return out;
}

}  // namespace

std::string Utf8ToCp932Exact(std::string_view utf8, ForeignCharacters* foreign, std::size_t* lost) {
    return Utf8ToCp932Each(utf8, foreign, lost, [foreign, lost](std::string& out, std::size_t) {
        AppendExactCp932(out, kReplacement, foreign, lost);
        return std::size_t{1};
    });
}

// Windows-1252's characters for the bytes 80 to 9F; 0 where it has none (Latin-1's control stays).
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

char32_t Windows1252Character(unsigned char b) {
    return (b >= 0x80 && b < 0xA0 && kWindows1252High[b - 0x80]) ? kWindows1252High[b - 0x80] : b;
}

std::string MixedUtf8ToCp932(std::string_view bytes, ForeignCharacters* foreign, std::size_t* lost) {
    const Cp932Tables& t = Tables();
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    return Utf8ToCp932Each(bytes, foreign, lost, [&](std::string& out, std::size_t i) -> std::size_t {
        const unsigned char b = p[i];
        // A Shift-JIS character stays the program's own bytes; codes of the user-defined area would meet
        // the table's.
        if (IsCp932LeadByte(b) && !IsUserDefinedLead(b) && i + 1 < n && IsCp932Trail(p[i + 1]) &&
            t.pair[static_cast<unsigned>(b) << 8 | p[i + 1]] != 0) {
            out.append(bytes.data() + i, 2);
            return 2;
        }
        if (!IsCp932LeadByte(b) && t.single[b] != 0) {
            out += static_cast<char>(b);
        } else {
            AppendExactCp932(out, Windows1252Character(b), foreign, lost);
        }
        return 1;
    });
}

std::size_t Utf8BytesBeyondAscii(std::string_view text, std::size_t* beyondAscii) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t utf8 = 0;
    std::size_t beyond = 0;
    for (std::size_t i = 0; i < n;) {
        i += AsciiRun(p + i, n - i);
        if (i >= n) break;
        std::size_t length;
        const bool valid = !(DecodeUtf8(p + i, n - i, length) == kReplacement && length == 1);
        beyond += length;
        if (valid) utf8 += length;
        i += length;
    }
    if (beyondAscii) *beyondAscii = beyond;
    return utf8;
}

bool TryUtf8ToCp932(std::string_view utf8, ForeignCharacters* foreign, std::size_t* lost, std::string& out,
                    bool* multibyte) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t n = utf8.size();
    std::size_t i = AsciiRun(p, n);
    if (multibyte) *multibyte = i < n;
    if (i == n) {
        out.assign(utf8);
        return true;
    }
    // A Shift-JIS text is told by its first character beyond ASCII, before anything is copied.
    std::size_t firstLength;
    if (DecodeUtf8(p + i, n - i, firstLength) == kReplacement && firstLength == 1) return false;
    // Every character beyond ASCII takes at least two bytes of UTF-8 and at most two of CP932.
    out.resize(n);
    char* const start = &out[0];
    // The protection forms leave the run for AppendExactCp932 when they are kept apart.
    const bool separate = foreign && (separatingForms || foreign->formsSeparated);
    char* o = start;
    std::memcpy(o, p, i);
    o += i;
    const std::uint16_t* reverse = Tables().reverse.data();
    std::string one;
    while (i < n) {
        const unsigned b = p[i];
        if (b < 0x80) {
#if defined(__SSE2__)
            // Sixteen bytes copied at once, the ASCII ones among them kept (the output never runs ahead of
            // the input, so the store stays inside the buffer).
            if (i + 16 <= n) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(o), v);
                const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(v));
                const unsigned k = mask ? static_cast<unsigned>(__builtin_ctz(mask)) : 16u;
                o += k;
                i += k;
                continue;
            }
#endif
            *o++ = static_cast<char>(b);
            ++i;
            continue;
        }
        // Runs of three-byte characters (kana, kanji, Hangul) straight through the table.
        bool foreignOne = false;
        while (i + 2 < n && (p[i] & 0xF0) == 0xE0) {
            const unsigned c1 = p[i + 1];
            const unsigned c2 = p[i + 2];
            const unsigned c = (p[i] & 0x0Fu) << 12 | (c1 & 0x3F) << 6 | (c2 & 0x3F);
            if (((c1 | c2 << 8) & 0xC0C0) != 0x8080 || c < 0x800 || (c >= 0xD800 && c <= 0xDFFF)) return false;
            const unsigned code = separate && c >= 0xFF08 && IsProtectionForm(c) ? 0 : reverse[c];
            if (code >= 0x100) {
                o[0] = static_cast<char>(code >> 8);
                o[1] = static_cast<char>(code & 0xFF);
                o += 2;
            } else if (code != 0) {
                *o++ = static_cast<char>(code);
            } else {
                foreignOne = true;
                break;
            }
            i += 3;
        }
        if (i >= n || (!foreignOne && (p[i] < 0x80 || ((p[i] & 0xF0) == 0xE0 && i + 2 < n)))) continue;
        std::size_t length;
        const char32_t c = DecodeUtf8(p + i, n - i, length);
        if (c == kReplacement && length == 1) return false;
        one.clear();
        AppendExactCp932(one, c, foreign, lost);
        std::memcpy(o, one.data(), one.size());
        o += one.size();
        i += length;
    }
    out.resize(static_cast<std::size_t>(o - start));
    return true;
}

std::string EncodedToCp932(std::string_view bytes, const std::string& encoding, ForeignCharacters* foreign,
                           std::size_t* lost, bool* clean) {
    if (clean) *clean = true;
    const bool wide = encoding.find("16") != std::string::npos;
    const std::string utf32 = Convert("UTF-32LE", encoding.c_str(), bytes.data(), bytes.size(), std::string("\xFD\xFF\0\0", 4),
                                      wide ? UnitSize(Utf16Unit) : UnitSize(OneByte), clean);
    std::string out;
    out.reserve(bytes.size());
    const unsigned char* u = reinterpret_cast<const unsigned char*>(utf32.data());
    for (std::size_t i = 0; i + 4 <= utf32.size(); i += 4) {
        const char32_t c = static_cast<char32_t>(u[i] | u[i + 1] << 8 | u[i + 2] << 16 | static_cast<std::uint32_t>(u[i + 3]) << 24);
        if (c == 0xFEFF && i == 0) continue;  // a byte-order mark
        AppendExactCp932(out, c, foreign, lost);
    }
    return out;
}

std::u32string Cp932ToUnicode(std::string_view cp932, const ForeignCharacters* foreign) {
    const Cp932Tables& t = Tables();
    std::u32string out;
    out.reserve(cp932.size());
    const unsigned char* p = reinterpret_cast<const unsigned char*>(cp932.data());
    const std::size_t n = cp932.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            out += static_cast<char32_t>(b);
            ++i;
            continue;
        }
        if (IsCp932LeadByte(b) && i + 1 < n && IsCp932Trail(p[i + 1])) {
            const unsigned code = static_cast<unsigned>(b) << 8 | p[i + 1];
            char32_t c = foreign ? foreign->CharacterOf(code) : 0;
            if (c == 0) c = t.pair[code];
            if (c != 0) {
                out += c;
                i += 2;
                continue;
            }
        }
        const char32_t c = t.single[b];
        out += c != 0 ? c : kReplacement;
        ++i;
    }
    return out;
}

std::string UnicodeToUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text) AppendUtf8(out, c);
    return out;
}

bool Cp932ToEncoding(std::string_view cp932, const ForeignCharacters* foreign, const std::string& encoding,
                     std::string& out, char32_t* missing) {
    return UnicodeToEncoding(Cp932ToUnicode(cp932, foreign), encoding, out, missing);
}

bool UnicodeToEncoding(std::u32string_view text, const std::string& encoding, std::string& out, char32_t* missing) {
    std::string utf32;
    utf32.reserve(text.size() * 4);
    for (char32_t c : text) {
        for (int k = 0; k < 4; ++k) utf32 += static_cast<char>(c >> (8 * k) & 0xFF);
    }
    bool clean = true;
    std::size_t firstBad = std::string::npos;
    const UnitSize unit = [&firstBad, &utf32](const char* p, size_t) {
        if (firstBad == std::string::npos) firstBad = static_cast<std::size_t>(p - utf32.data()) / 4;
        return size_t{4};
    };
    out = Convert(encoding.c_str(), "UTF-32LE", utf32.data(), utf32.size(), "?", unit, &clean);
    if (clean) return true;
    if (missing) *missing = firstBad < text.size() ? text[firstBad] : kReplacement;
    return false;
}

bool IconvKnows(const std::string& encoding) {
    static std::mutex mutex;
    static std::map<std::string, bool> known;
    const std::lock_guard<std::mutex> lock(mutex);
    const auto it = known.find(encoding);
    if (it != known.end()) return it->second;
    bool ok = false;
    iconv_t from = iconv_open("UTF-32LE", encoding.c_str());
    if (from != reinterpret_cast<iconv_t>(-1)) {
        iconv_close(from);
        iconv_t to = iconv_open(encoding.c_str(), "UTF-32LE");
        if (to != reinterpret_cast<iconv_t>(-1)) {
            iconv_close(to);
            ok = true;
        }
    }
    known.emplace(encoding, ok);
    return ok;
}

ByteKind KindOfBytes(std::string_view text) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    bool beyond = false;
    for (std::size_t i = 0; i < n;) {
        i += AsciiRun(p + i, n - i);
        if (i >= n) break;
        std::size_t length;
        if (DecodeUtf8(p + i, n - i, length) == kReplacement && length == 1) return ByteKind::kOther;
        beyond = true;
        i += length;
    }
    return beyond ? ByteKind::kUtf8 : ByteKind::kAscii;
}

bool IsValidCp932(std::string_view text) {
    const Cp932Tables& t = Tables();
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::uint64_t* pairValid = t.pairValid.data();
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            // Long ASCII runs sixteen bytes at a time; single ASCII bytes between characters straight on.
            i += (i + 1 < n && p[i + 1] < 0x80) ? AsciiRun(p + i, n - i) : 1;
        } else if (IsCp932LeadByte(b)) {
            if (i + 1 >= n) return false;
            const unsigned code = static_cast<unsigned>(b) << 8 | p[i + 1];
            if (!(pairValid[code / 64] >> (code % 64) & 1)) return false;
            i += 2;
        } else {
            if (t.single[b] == 0) return false;
            ++i;
        }
    }
    return true;
}

std::u16string Cp932ToUtf16(std::string_view cp932) {
    const std::u32string text = Cp932ToUnicode(cp932, ShownForeignCharacters());
    std::u16string out;
    out.reserve(text.size());
    for (char32_t c : text) {
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

std::string Utf16ToCp932(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size() * 2);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t c = utf16[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (utf16[++i] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            out += '?';
            continue;
        }
        AppendTyped(out, c);
    }
    return out;
}

std::string Cp932ToUtf8(std::string_view cp932) { return UnicodeToUtf8(Cp932ToUnicode(cp932, ShownForeignCharacters())); }

std::string Utf8ToCp932(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8.data());
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t length;
        const char32_t c = DecodeUtf8(p + i, utf8.size() - i, length);
        if (c == kReplacement && length == 1) {
            out += '?';
        } else {
            AppendTyped(out, c);
        }
        i += length;
    }
    return out;
}

}  // namespace quorvel
