#include "core/point.h"

namespace quorvel {

std::string SgfPointText(PointCode p) {
    std::string s(2, 't');
    if (p != kPass) {
        s[0] = kSgfLetters[PointCol(p) % 20];
        s[1] = kSgfLetters[PointRow(p) % 20];
    }
    return s;
}

PointCode SgfLettersToPoint(char x, char y, int boardSize) {
    // v = y + x * 21 over the character codes; "aa" is 97 + 97 * 21 = 2134, which is code 22.
    const int v = static_cast<unsigned char>(y) + static_cast<unsigned char>(x) * kGridWidth;
    if (v < 2134 || v - 2112 > boardSize * 22) return kPass;
    // The sum alone lets a stray letter land on a border cell (for example "as" on 13 lines); such a pair
    // is off the board too, and storing it would overwrite the border.
    const PointCode p = v - 2112;
    if (PointCol(p) < 1 || PointCol(p) > boardSize || PointRow(p) < 1 || PointRow(p) > boardSize) return kPass;
    return p;
}

}  // namespace quorvel
