// The window tests run inside one QApplication. Without a platform of their own they use the offscreen
// one, also when the build lists the tests (no display is needed anywhere).
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/gui/qt_text.h"
#include "platform/gui/qt_translation.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    quorvel::PreferJapaneseFonts();
    // The windows are tested as the program shows them: Qt's own texts in Japanese.
    quorvel::LoadQtJapanese(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
