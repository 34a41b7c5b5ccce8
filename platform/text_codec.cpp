#include "platform/text_codec.h"

#include <iconv.h>

#include <cerrno>
#include <functional>
#include <stdexcept>
#include <vector>

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
size_t Utf8Unit(const char* p, size_t left) {
    unsigned char b = static_cast<unsigned char>(*p);
    size_t n = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    for (size_t i = 1; i < n; ++i) {
        if (i >= left || (static_cast<unsigned char>(p[i]) & 0xC0) != 0x80) return i;
    }
    return n;
}

// One iconv conversion. Where the input holds a sequence the target cannot take, `replacement` is written
// and that one character is skipped, so the conversion always finishes and never drops text silently.
std::string Convert(const char* to, const char* from, const char* in, size_t inLen, const std::string& replacement,
                    const UnitSize& unitSize) {
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

const std::string kUtf16Replacement("\xFD\xFF", 2);  // U+FFFD, little endian
const std::string kUtf8Replacement("\xEF\xBF\xBD", 3);

}  // namespace

std::u16string Cp932ToUtf16(std::string_view cp932) {
    std::string bytes = Convert("UTF-16LE", "CP932", cp932.data(), cp932.size(), kUtf16Replacement, OneByte);
    std::u16string out(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    }
    return out;
}

std::string Utf16ToCp932(std::u16string_view utf16) {
    std::string bytes;
    bytes.reserve(utf16.size() * 2);
    for (char16_t c : utf16) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return Convert("CP932", "UTF-16LE", bytes.data(), bytes.size(), "?", Utf16Unit);
}

std::string Cp932ToUtf8(std::string_view cp932) {
    return Convert("UTF-8", "CP932", cp932.data(), cp932.size(), kUtf8Replacement, OneByte);
}

std::string Utf8ToCp932(std::string_view utf8) { return Convert("CP932", "UTF-8", utf8.data(), utf8.size(), "?", Utf8Unit); }

}  // namespace quorvel
