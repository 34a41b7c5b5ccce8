// Key codes the board window acts on. The values are the virtual-key codes the program has always used,
// so that the key tables read the same everywhere; the windows translate their toolkit's keys into these.
#pragma once

namespace quorvel {

enum KeyCode : int {
    kKeyTab = 9,
    kKeyPageUp = 33,
    kKeyPageDown = 34,
    kKeyEnd = 35,
    kKeyHome = 36,
    kKeyLeft = 37,
    kKeyUp = 38,
    kKeyRight = 39,
    kKeyDown = 40,
    kKeyInsert = 45,
    kKeyA = 65,  // "A" .. "Z" are 65 .. 90
    kKeyZ = 90,
    kKeyNumpad0 = 96,  // numeric pad 0 .. 9 are 96 .. 105
    kKeyNumpad1 = 97,
    kKeyNumpad4 = 100,
    kKeyNumpad5 = 101,
    kKeyNumpad6 = 102,
    kKeyNumpad9 = 105,
    kKeyNumpadPlus = 107,
    kKeyNumpadMinus = 109,
    kKeyF1 = 112,
};

// The hint number a key stands for: "A".."Z" 1..26, numeric pad 1..9 1..9; 0 for any other key.
inline int HintNumberOfKey(int key) {
    if (key >= kKeyA && key <= kKeyZ) return key - kKeyA + 1;
    if (key >= kKeyNumpad1 && key <= kKeyNumpad9) return key - kKeyNumpad0;
    return 0;
}

}  // namespace quorvel
