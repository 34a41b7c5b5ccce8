// The game and settings dialogs of the engine menu on their real widgets: what the player sets is what
// the game and the engine get.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

#include "gtp/gui/engine_commands.h"
#include "platform/gui/qt_text.h"

namespace quorvel::gtp {
namespace {

TEST(GameDialog, TheChoicesAreWhatThePlayerSet) {
    GameDialog dialog;
    GameChoices c = dialog.Choices();
    EXPECT_EQ(c.playerColour, kBlack);
    EXPECT_EQ(c.boardSize, 19);
    EXPECT_EQ(c.handicap, 0);
    EXPECT_DOUBLE_EQ(c.komi, 6.5);

    dialog.colour->setCurrentIndex(1);
    dialog.size->setCurrentText(QStringLiteral("13"));
    // Stepping the handicap up with the keyboard: one stone is no handicap, two and more set the half
    // point of komi.
    dialog.handicap->setFocus();
    QTest::keyClick(dialog.handicap, Qt::Key_Up);
    EXPECT_EQ(dialog.Choices().handicap, 0);
    QTest::keyClick(dialog.handicap, Qt::Key_Up);
    c = dialog.Choices();
    EXPECT_EQ(c.playerColour, kWhite);
    EXPECT_EQ(c.boardSize, 13);
    EXPECT_EQ(c.handicap, 2);
    EXPECT_DOUBLE_EQ(c.komi, 0.5);
    dialog.handicap->setValue(0);
    EXPECT_DOUBLE_EQ(dialog.Choices().komi, 6.5);
}

TEST(EngineSettingsDialog, ACommandLineWithQuotesAndBracketsComesBackWhole) {
    EngineSettingsDialog dialog;
    EngineSettings s;
    s.command = "katago gtp -config \"/home/me/my [best].cfg\"";
    s.level = 4;
    dialog.Fill(s);
    EXPECT_EQ(dialog.Settings().command, s.command);
    EXPECT_EQ(dialog.Settings().level, 4);
    dialog.command->clear();
    QTest::keyClicks(dialog.command, QStringLiteral("leelaz --gtp"));
    EXPECT_EQ(dialog.Settings().command, "leelaz --gtp");
    EXPECT_EQ(EngineCommandLine(dialog.Settings()), "leelaz --gtp");
}

}  // namespace
}  // namespace quorvel::gtp
