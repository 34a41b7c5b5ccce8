#include "platform/avi_frames.h"

#include <algorithm>
#include <cstdint>

namespace quorvel {
namespace {

uint32_t Le32(const std::string& b, std::size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}
uint16_t Le16(const std::string& b, std::size_t at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}

struct Reader {
    const std::string& bytes;
    AviFrames& out;
    std::string& error;
    bool sawFormat = false;

    bool Fail(const char* why) {
        error = why;
        return false;
    }

    // Walks the chunks in [begin, end); lists are entered, the stream header, the stream format and the
    // frames are taken.
    bool Walk(std::size_t begin, std::size_t end) {
        std::size_t at = begin;
        while (at + 8 <= end) {
            const std::string id = bytes.substr(at, 4);
            const std::size_t size = Le32(bytes, at + 4);
            const std::size_t data = at + 8;
            if (size > end - data) return Fail("a chunk runs past the end of the file");
            if (id == "LIST") {
                if (size < 4) return Fail("an empty list");
                if (!Walk(data + 4, data + size)) return false;
            } else if (id == "avih") {
                if (size < 4) return Fail("a short main header");
                out.microsecondsPerFrame = static_cast<int>(Le32(bytes, data));
            } else if (id == "strf") {
                if (!Format(data, size)) return false;
            } else if (id[2] == 'd' && (id[3] == 'b' || id[3] == 'c')) {
                if (!sawFormat) return Fail("a frame before the stream format");
                const std::size_t need = static_cast<std::size_t>(out.Stride()) * static_cast<std::size_t>(out.height);
                if (size < need) return Fail("a frame shorter than its rows");
                out.frames.push_back(bytes.substr(data, need));
            }
            at = data + size + (size % 2);
        }
        return true;
    }

    bool Format(std::size_t data, std::size_t size) {
        if (sawFormat) return true;  // the video stream comes first; others are not shown
        if (size < 40) return Fail("a short stream format");
        const int32_t width = static_cast<int32_t>(Le32(bytes, data + 4));
        const int32_t height = static_cast<int32_t>(Le32(bytes, data + 8));
        const int bits = Le16(bytes, data + 14);
        const uint32_t compression = Le32(bytes, data + 16);
        if (compression != 0) return Fail("compressed frames");
        if (bits != 24 && bits != 32) return Fail("frames of another depth than 24 or 32 bits");
        if (width <= 0 || height <= 0 || width > 4096 || height > 4096) return Fail("an unusable frame size");
        out.width = width;
        out.height = height;
        out.bitCount = bits;
        sawFormat = true;
        return true;
    }
};

}  // namespace

bool ReadAviFrames(const std::string& bytes, AviFrames& out, std::string& error) {
    out = AviFrames();
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "AVI ") != 0) {
        error = "not an AVI file";
        return false;
    }
    const std::size_t end = std::min<std::size_t>(bytes.size(), 8 + static_cast<std::size_t>(Le32(bytes, 4)));
    Reader reader{bytes, out, error};
    if (!reader.Walk(12, end)) return false;
    if (!reader.sawFormat) {
        error = "no stream format";
        return false;
    }
    if (out.frames.empty()) {
        error = "no frames";
        return false;
    }
    if (out.microsecondsPerFrame <= 0) out.microsecondsPerFrame = 100000;
    return true;
}

}  // namespace quorvel
