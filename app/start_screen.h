// What the start screen does with a click or a key: the choices of its picture's areas, and the shape of
// its window, cut out of the picture by the picture's own top-left colour.
#pragma once

#include <cstdint>
#include <vector>

namespace quorvel {

struct StartChoice {
    bool exit = false;          // close the main window: the program ends, no other window shows
    bool windowSwitch = false;  // full mode (on a screen taller than 500 pixels)
    bool creation = false;      // a new record in creation mode
    bool clipboard = false;     // read a record from the clipboard
    bool showWindows = false;   // the start screen goes, the main, board and text windows show
};

// A mouse button pressed at (x, y) of the 289 x 223 picture: the bottom strip ends the program right of
// x = 260 and starts in full mode left of it; the top-left corner makes a new record, the area below it
// reads the clipboard; anywhere else only shows the windows.
StartChoice StartScreenClick(int x, int y);

enum class StartKey { Escape, Space, Enter, Other };
// Esc ends the program; Space makes a new record (Shift: in full mode); Enter with Shift is full mode,
// with Alt the clipboard, alone only the windows. Other keys do nothing.
StartChoice StartScreenKey(StartKey key, bool shift, bool alt);

// One row's run of pixels that belong to the window.
struct PixelRun {
    int x;
    int y;
    int length;
};
// The runs of pixels that differ from the top-left pixel, row by row: the window's shape. `pixels` holds
// the picture's colours row after row.
std::vector<PixelRun> OpaqueRuns(const std::vector<uint32_t>& pixels, int width, int height);

}  // namespace quorvel
