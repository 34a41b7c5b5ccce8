#include "platform/title_registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace quorvel {
namespace {

// A file name for any title: FNV-1a over its bytes, in hex. Titles that collide would only make a
// free title look taken; with 64 bits that does not happen in practice.
std::string TitleKey(const std::string& title) {
    unsigned long long h = 1469598103934665603ull;
    for (unsigned char c : title) {
        h ^= c;
        h *= 1099511628211ull;
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%016llx.title", h);
    return buffer;
}

}  // namespace

std::string TitleRegistry::DefaultFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime) return std::string(runtime) + "/quorvel-titles";
    return "/tmp/quorvel-titles-" + std::to_string(::getuid());
}

TitleRegistry::TitleRegistry(std::string folder) : folder_(std::move(folder)) { ::mkdir(folder_.c_str(), 0700); }

TitleRegistry::~TitleRegistry() { Claim(std::string()); }

std::string TitleRegistry::LockPath(const std::string& title) const { return folder_ + "/" + TitleKey(title); }

bool TitleRegistry::IsTakenByOther(const std::string& title) const {
    if (title == claimed_ && claimedFd_ >= 0) return false;
    const int fd = ::open(LockPath(title).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool taken = ::flock(fd, LOCK_SH | LOCK_NB) != 0;
    ::close(fd);
    return taken;
}

void TitleRegistry::Claim(const std::string& title) {
    if (claimedFd_ >= 0) {
        ::close(claimedFd_);  // releases the lock
        claimedFd_ = -1;
    }
    claimed_ = title;
    if (title.empty()) return;
    const int fd = ::open(LockPath(title).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return;
    }
    claimedFd_ = fd;
}

}  // namespace quorvel
