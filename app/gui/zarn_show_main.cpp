// ZarnShow, the Quorvel program: the main window with the board window and the text window docked under
// it, following a record path on the command line.
#include <QApplication>

#include "platform/gui/qt_text.h"
#include <QStringList>
#include <cstdio>

#include "app/gui/main_window.h"
#include "app/settings_file.h"
#include "platform/gui/qt_ports.h"
#include "platform/gui/startup_probe.h"
#include "platform/title_registry.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    quorvel::PreferJapaneseFonts();
    quorvel::TitleRegistry titles;
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const QString programDir = QCoreApplication::applicationDirPath();
    quorvel::TForm1 main(programDir, arguments, titles, nullptr, nullptr,
                         quorvel::SettingsFolder(quorvel::PathFromQString(programDir)));
    if (!main.Form2->missingPictures().isEmpty()) {
        std::fprintf(stderr, "Quorvel: missing pictures: %s\n",
                     qPrintable(main.Form2->missingPictures().join(QStringLiteral(", "))));
    }
    // Only for the start-up benchmark: the first board painted with the record of the command line.
    quorvel::StartupProbe probe(main.Form2, [&main] { return main.files().currentFileName != quorvel::kNoTitle; });
    // Without a record the start screen would choose what to show; until it exists, the windows show.
    main.ShowAtStart();
    return app.exec();
}
