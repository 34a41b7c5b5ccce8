#include "core/gui/font_names.h"

#include <cstring>

namespace quorvel {
namespace {

struct FontName {
    const char* systemName;
    const char* family;
};

const FontName kFontNames[] = {
    {"ＭＳ Ｐ明朝", "IPAPMincho"},
    {"MS明朝", "IPAMincho"},
    {"ＭＳ Ｐゴシック", "IPAPGothic"},
    {"ＭＳ ゴシック", "IPAGothic"},
};

}  // namespace

QFont SystemFont(const char* systemName, int pointSize, bool bold) {
    QFont font(QStringLiteral("IPAPMincho"));
    for (const FontName& f : kFontNames) {
        if (std::strcmp(f.systemName, systemName) == 0) font.setFamily(QLatin1String(f.family));
    }
    // The point size at 96 pixels per inch, rounded as the program's toolkit did.
    font.setPixelSize((pointSize * 96 + 36) / 72);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QFont BoardFont(int pointSize, bool bold) { return SystemFont("ＭＳ Ｐ明朝", pointSize, bold); }

}  // namespace quorvel
