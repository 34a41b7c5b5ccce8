// ZarnShow, the Quorvel program: the main window with the board window and the text window docked under
// it, following a record path on the command line, or the start screen without one.
#include <QApplication>

#include "platform/gui/qt_text.h"
#include <QStringList>
#include <cstdio>
#include <string>
#include <vector>

#include "app/gui/main_window.h"
#include "app/settings_file.h"
#include "app/startup_record.h"
#include "platform/gui/font_configuration.h"
#include "platform/gui/qt_ports.h"
#include "platform/gui/qt_translation.h"
#include "platform/gui/startup_probe.h"
#include "platform/file_io.h"
#include "platform/title_registry.h"

int main(int argc, char** argv) {
    quorvel::StartupMark("main");
    // Read on their own threads while Qt starts: the font configuration and the command line's record.
    quorvel::FontConfigurationReader fontConfiguration;
    // The record is loaded while the windows are built too, and shown at their first paint.
    const std::string settingsFolder = quorvel::SettingsFolder(quorvel::ExecutableFolder());
    quorvel::StartupRecord loadedAhead(
        quorvel::AbsolutePath(quorvel::RecordPathOf(std::vector<std::string>(argv + 1, argv + argc))), settingsFolder);
    QApplication app(argc, argv);
    quorvel::StartupMark("application");
    fontConfiguration.Wait();
    quorvel::StartupMark("fonts");
    quorvel::PreferJapaneseFonts();
    quorvel::LoadQtJapanese(app);
    quorvel::TitleRegistry titles;
    // The arguments Qt left (its own options taken out), read as the file system's bytes: Qt's own list
    // turns a name that is not UTF-8 (a Shift-JIS name) into replacement characters.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << quorvel::PathToQString(argv[i]);
    const QString programDir = QCoreApplication::applicationDirPath();
    quorvel::TForm1 main(programDir, arguments, titles, nullptr, nullptr,
                         quorvel::SettingsFolder(quorvel::PathFromQString(programDir)));
    quorvel::StartupMark("windows");
    if (!main.Form2->missingPictures().isEmpty()) {
        std::fprintf(stderr, "Quorvel: missing pictures: %s\n",
                     qPrintable(main.Form2->missingPictures().join(QStringLiteral(", "))));
    }
    // Only for the start-up benchmark: the first board painted with the record of the command line.
    quorvel::StartupProbe probe(main.Form2, [&main] { return main.files().currentFileName != quorvel::kNoTitle; });
    // Closing the main window ends the program, also when the start screen closes it before it ever showed.
    QObject::connect(&main, &quorvel::TForm1::closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    // With a record the windows show; without one the start screen decides.
    main.Start(&loadedAhead);
    quorvel::StartupMark("shown");
    return app.exec();
}
