// The frames of an uncompressed AVI file (the board window's animation "boat.avi"): RIFF "AVI " with one
// video stream of 24- or 32-bit DIB frames, as a small player of the program shows them.
#pragma once

#include <string>
#include <vector>

namespace quorvel {

struct AviFrames {
    int width = 0;
    int height = 0;
    int bitCount = 0;                // 24 or 32
    int microsecondsPerFrame = 0;
    // Each frame's DIB rows as the file has them: bottom-up, BGR(A), every row padded to four bytes.
    std::vector<std::string> frames;

    int Stride() const { return (width * bitCount / 8 + 3) & ~3; }
};

// Reads the frames of `bytes`. False (with the reason in `error`) for a file that is not such an AVI: not
// RIFF "AVI ", without a stream format, compressed, of another depth, or with a frame shorter than its rows.
// Chunk sizes that run past the end of the file are errors, never read beyond.
bool ReadAviFrames(const std::string& bytes, AviFrames& out, std::string& error);

}  // namespace quorvel
