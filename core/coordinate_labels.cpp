#include "core/coordinate_labels.h"

#include "core/settings.h"

namespace quorvel {
namespace {

constexpr char kLettersWithoutI[] = " A B C D E F G H J K L M N O P Q R S T A";
constexpr char kLettersWithI[] = " A B C D E F G H I J K L M N O P Q R S A";
constexpr char kNumbersFromLeft[] = " 1 2 3 4 5 6 7 8 91011121314151617181920";
constexpr char kNumbersFromRight[] = "19181716151413121110 9 8 7 6 5 4 3 2 120";
constexpr char kRows19TopDown[] = "191817161514131211109 8 7 6 5 4 3 2 1 20";
constexpr char kRows1TopDown[] = "1 2 3 4 5 6 7 8 9 1011121314151617181920";
constexpr char kRowLetters[] = "A B C D E F G H J K L M N O P Q R S T A ";
constexpr char kRows13[] = "131211109 8 7 6 5 4 3 2 1 20";
constexpr char kRows9[] = "9 8 7 6 5 4 3 2 1 20";
constexpr char kRows7[] = "7 6 5 4 3 2 1 20";
constexpr char kRows6[] = "6 5 4 3 2 1 20";

// The two characters of label `index` (1-based): the slice at 2 * index - 1.
std::string Slice(const std::string& labels, int index) {
    const std::size_t at = static_cast<std::size_t>(2 * index - 2);
    if (index < 1 || at >= labels.size()) return "  ";
    return labels.substr(at, 2);
}

}  // namespace

std::string CoordinateLabel(int boardSize, const CoordinateStyle& style, int col, int row) {
    const char* columns = kLettersWithoutI;
    const char* rows = kRows19TopDown;
    if (boardSize == 19) {
        if (style.xStyle == 1) {
            columns = kNumbersFromLeft;
        } else if (style.xStyle == 19) {
            columns = kNumbersFromRight;
        } else if (style.withLetterI) {
            columns = kLettersWithI;
        }
        if (style.yStyle == 1) {
            rows = kRows1TopDown;
        } else if (style.yStyle == 101) {
            rows = kRowLetters;
        }
    } else {
        rows = boardSize == 13 ? kRows13 : boardSize == 9 ? kRows9 : boardSize == 7 ? kRows7 : kRows6;
    }
    return Slice(columns, col) + "-" + Slice(rows, row);
}

namespace {

// The style one part of a coordinate text stands for; 0 for a text that is none.
int StyleOf(const std::string& part) {
    if (part == "A") return 101;
    if (part == "T") return 119;
    if (part == "1") return 1;
    if (part == "19") return 19;
    return 0;
}

}  // namespace

bool SetCoordinateSystem(Settings& settings, const std::string& text) {
    const std::size_t dash = text.find('-');
    if (dash == std::string::npos) return false;
    std::string x = text.substr(0, dash);
    const std::string y = text.substr(dash + 1);
    const bool withI = x.find("(I)") != std::string::npos;
    settings.coordinates.withLetterI = withI;
    if (withI) x = x.substr(0, 1);
    const int xStyle = x.size() <= 2 ? StyleOf(x) : 0;
    const int yStyle = y.size() <= 2 ? StyleOf(y) : 0;
    if (xStyle == 0 || yStyle == 0) return false;
    settings.coordinates.xStyle = xStyle;
    settings.coordinates.yStyle = yStyle;
    settings.goBanXY = text;
    return true;
}

}  // namespace quorvel
