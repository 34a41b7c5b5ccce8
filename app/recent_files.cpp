#include "app/recent_files.h"

namespace quorvel {

void RecentFiles::Add(const std::string& path) {
    for (const std::string& s : paths) {
        if (s == path) return;
    }
    if (count < kSlots) ++count;
    for (int k = count - 1; k >= 1; --k) paths[k] = paths[k - 1];
    paths[0] = path;
}

std::string RecentFiles::Choose(int k) {
    if (k < 1 || k > count) return std::string();
    const std::string path = paths[k - 1];
    for (int i = k - 1; i >= 1; --i) paths[i] = paths[i - 1];
    paths[0] = path;
    return path;
}

}  // namespace quorvel
