#include <gtest/gtest.h>

#include "platform/gui/qt_text.h"

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

}  // namespace
}  // namespace quorvel
