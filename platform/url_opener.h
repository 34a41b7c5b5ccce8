// The shell's "open" of a web address: the desktop's browser gets it. The windows implement it with the
// desktop's opener (platform/gui/qt_net_ports.h); the in-memory version records what it was given.
#pragma once

#include <string>
#include <vector>

namespace quorvel {

class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // Hands the address (plain ASCII, already percent-encoded) to the browser; false when nothing took it.
    virtual bool OpenUrl(const std::string& url) = 0;
};

class MemoryUrlOpener : public UrlOpener {
public:
    bool OpenUrl(const std::string& url) override {
        opened.push_back(url);
        return opens;
    }
    std::vector<std::string> opened;
    bool opens = true;
};

}  // namespace quorvel
