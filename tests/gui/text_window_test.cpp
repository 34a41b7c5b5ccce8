#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QTest>

#include "platform/gui/qt_text.h"
#include "app/gui/text_window.h"

namespace quorvel {
namespace {

class TextWindowTest : public ::testing::Test {
protected:
    TForm3 window{[this] { return source; }};
    std::string source = "(;GM[1]SZ[19];B[pd])";
};

TEST_F(TextWindowTest, TextsComeBackByteForByteWithTheirLineBreaks) {
    const std::string text = std::string("● 黒 | ○ 白\r\n消費時間：5秒\r\nbad byte \xA0 kept");
    window.SetText(text);
    EXPECT_EQ(window.Text(), text);
    EXPECT_EQ(window.memo()->toPlainText().count(QLatin1Char('\n')), 2);
    EXPECT_FALSE(window.memo()->toPlainText().contains(QLatin1Char('\r')));
    EXPECT_TRUE(window.memo()->isReadOnly());
}

TEST_F(TextWindowTest, CopyOnAnEmptyMemoLeavesTheClipboardAlone) {
    QApplication::clipboard()->setText(QStringLiteral("kept"));
    window.SetText("");
    window.PPC->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("kept"));

    window.SetText("黒 3 目半勝\r\nline");
    window.PPC->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), ToQString("黒 3 目半勝\nline"));
}

TEST_F(TextWindowTest, PasteClearAndSource) {
    window.SetText("a");
    QApplication::clipboard()->setText(ToQString("(;B[aa]C[ゼ])"));
    window.memo()->moveCursor(QTextCursor::End);
    window.PPP->trigger();
    EXPECT_EQ(window.Text(), "a(;B[aa]C[ゼ])");
    window.PPK->trigger();
    EXPECT_EQ(window.Text(), "");
    window.PPT->trigger();
    EXPECT_EQ(window.Text(), source);
}

TEST_F(TextWindowTest, ToggleFrameShowsAHiddenWindowThenSwitchesTheBorder) {
    EXPECT_FALSE(window.isVisible());
    window.ToggleFrame();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isSizeable());
    window.ToggleFrame();
    EXPECT_TRUE(window.isSizeable());
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    window.ToggleFrame();
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
}

TEST_F(TextWindowTest, AClickHidesTheCaret) {
    window.SetText("text");
    window.show();
    QTest::mouseClick(window.memo()->viewport(), Qt::LeftButton);
    EXPECT_EQ(window.memo()->cursorWidth(), 0);
}

}  // namespace
}  // namespace quorvel
