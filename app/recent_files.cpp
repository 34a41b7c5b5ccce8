#include "app/recent_files.h"

namespace quorvel {

void RecentFiles::Add(const std::string& path) {
    for (const std::string& s : slots) {
        if (s == path) return;
    }
    if (count < kSlots) ++count;
    for (int k = count - 1; k >= 1; --k) slots[k] = slots[k - 1];
    slots[0] = path;
}

std::string RecentFiles::Choose(int k) {
    if (k < 1 || k > count) return std::string();
    const std::string path = slots[k - 1];
    for (int i = k - 1; i >= 1; --i) slots[i] = slots[i - 1];
    slots[0] = path;
    return path;
}

}  // namespace quorvel
