// The system's font configuration (fontconfig's files and caches), read on a thread of its own from the
// first moment of the program: Qt reads it before the first text is laid out, which costs a start several
// milliseconds, and then finds it read. fontconfig keeps one configuration per process and lets only one
// of two readers install it, so a reading that Qt starts meanwhile is merely wasted work.
#pragma once

#include <thread>

namespace quorvel {

class FontConfigurationReader {
public:
    FontConfigurationReader();
    // Waits for the reading.
    ~FontConfigurationReader();
    FontConfigurationReader(const FontConfigurationReader&) = delete;
    FontConfigurationReader& operator=(const FontConfigurationReader&) = delete;

    // Waits for the reading; call before the first font is looked up.
    void Wait();

private:
    std::thread thread_;
};

}  // namespace quorvel
