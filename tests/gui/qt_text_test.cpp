#include <gtest/gtest.h>

#include <memory>

#include "platform/gui/qt_text.h"
#include "platform/text_codec.h"

namespace quorvel {
namespace {

TEST(QtText, ShiftJisTextsReachQtAndComeBackByteForByte) {
    const std::string text = "ゼゾソ表 [C] 能";
    const QString q = ToQString(text);
    EXPECT_EQ(q, QString::fromUtf16(u"ゼゾソ表 [C] 能"));
    EXPECT_EQ(FromQString(q), text);
}

TEST(QtText, BrokenBytesAreShownReplacedAndNeverCrash) {
    const QString q = ToQString(std::string("a\x81", 2));
    EXPECT_EQ(q, QString::fromUtf16(u"a\uFFFD"));
}

// Texts typed in the windows keep characters Shift-JIS lacks: they take codes of the shown record's table,
// and the windows show them as themselves again.
TEST(QtText, TypedCharactersShiftJisLacksComeBackThroughTheShownTable) {
    const auto table = std::make_shared<ForeignCharacters>();
    SetShownForeignCharacters(table);
    const QString typed = QString::fromUtf16(u"이창호 7단 \u0416 \U0001F600");
    const std::string stored = FromQString(typed);
    EXPECT_EQ(stored.substr(0, 6), "\xF0\x40\xF0\x41\xF0\x42");
    EXPECT_EQ(table->size(), 5u);  // three syllables, 단 and the emoji; Shift-JIS has Cyrillic
    EXPECT_EQ(ToQString(stored), typed);
    SetShownForeignCharacters(nullptr);
    EXPECT_EQ(ToQString(stored).left(1), QString(QChar(0xE000)));
}

}  // namespace
}  // namespace quorvel
