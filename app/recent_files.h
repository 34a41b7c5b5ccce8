// The five most recent record files, slot 1 the newest, as the file menu shows them.
#pragma once

#include <array>
#include <string>

namespace quorvel {

struct RecentFiles {
    static constexpr int kSlots = 5;
    // Unused paths hold "1" .. "5" until they are filled, as the settings file keeps them.
    std::array<std::string, kSlots> paths{"1", "2", "3", "4", "5"};
    int count = 0;

    // Adds a path at the front; a path already held in any slot changes nothing.
    void Add(const std::string& path);
    // Moves entry k (1-based) to the front and returns it.
    std::string Choose(int k);
    const std::string& Slot(int k) const { return paths[static_cast<std::size_t>(k - 1)]; }
};

}  // namespace quorvel
