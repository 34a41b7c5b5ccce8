#include "app/start_screen.h"

namespace quorvel {

StartChoice StartScreenClick(int x, int y) {
    StartChoice c;
    if (y >= 194 && x >= 260) {
        c.exit = true;
        return c;
    }
    if (y >= 194) {
        c.windowSwitch = true;
    } else if (x < 115 && y < 75) {
        c.creation = true;
    } else if (x < 105 && y > 85 && y < 180) {
        c.clipboard = true;
    }
    c.showWindows = true;
    return c;
}

StartChoice StartScreenKey(StartKey key, bool shift, bool alt) {
    StartChoice c;
    switch (key) {
        case StartKey::Escape:
            c.exit = true;
            break;
        case StartKey::Space:
            c.creation = true;
            c.windowSwitch = shift;
            c.showWindows = true;
            break;
        case StartKey::Enter:
            c.windowSwitch = shift;
            c.clipboard = !shift && alt;
            c.showWindows = true;
            break;
        case StartKey::Other:
            break;
    }
    return c;
}

std::vector<PixelRun> OpaqueRuns(const std::vector<uint32_t>& pixels, int width, int height) {
    std::vector<PixelRun> runs;
    if (width <= 0 || height <= 0 || pixels.size() < static_cast<std::size_t>(width) * height) return runs;
    const uint32_t key = pixels[0];
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = pixels.data() + static_cast<std::size_t>(y) * width;
        int x = 0;
        while (x < width) {
            while (x < width && row[x] == key) ++x;
            const int start = x;
            while (x < width && row[x] != key) ++x;
            if (x > start) runs.push_back({start, y, x - start});
        }
    }
    return runs;
}

}  // namespace quorvel
