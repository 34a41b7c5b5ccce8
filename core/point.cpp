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

}  // namespace quorvel
