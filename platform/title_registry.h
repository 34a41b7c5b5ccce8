// The titles of the program's open record windows, registered per user so that a second running copy of
// the program sees them: the stand-in for looking up a top-level window by its exact title.
//
// Each title is a lock file in the user's runtime folder, held with flock() by the process that shows it.
// A crashed process releases its locks with its file descriptors, so a stale file never blocks a title.
#pragma once

#include <string>

namespace quorvel {

class TitleRegistry {
public:
    // `folder` holds the lock files; by default a folder of our own in $XDG_RUNTIME_DIR (or /tmp).
    explicit TitleRegistry(std::string folder = DefaultFolder());
    ~TitleRegistry();
    TitleRegistry(const TitleRegistry&) = delete;
    TitleRegistry& operator=(const TitleRegistry&) = delete;

    // True when a window other than ours shows exactly this title.
    bool IsTakenByOther(const std::string& title) const;
    // Shows `title` as ours from now on (and no longer the one we showed before). Empty: show none.
    void Claim(const std::string& title);

    static std::string DefaultFolder();

private:
    std::string LockPath(const std::string& title) const;

    std::string folder_;
    std::string claimed_;
    int claimedFd_ = -1;
};

}  // namespace quorvel
