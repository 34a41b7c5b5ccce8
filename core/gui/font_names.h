// The fonts the program names, drawn on Linux with the IPA fonts of the distribution. Sizes are the
// program's point sizes at the 96 pixels per inch it was laid out for, so text keeps its pixel size on any
// screen.
#pragma once

#include <QFont>

namespace quorvel {

// "ＭＳ Ｐ明朝" is IPAPMincho, "MS明朝" IPAMincho, "ＭＳ Ｐゴシック" IPAPGothic, "ＭＳ ゴシック" IPAGothic;
// `systemName` is the CP932 name.
QFont SystemFont(const char* systemName, int pointSize, bool bold = false);

// The font of the board's texts, "ＭＳ Ｐ明朝".
QFont BoardFont(int pointSize, bool bold = false);

}  // namespace quorvel
