// The yardstick of the start-up benchmark: a minimal Qt Widgets program that shows one empty window the
// size of the docked Quorvel windows and, under QUORVEL_STARTUP_PROBE, ends at its first paint.
#include <QApplication>
#include <QWidget>

#include "platform/gui/startup_probe.h"

int main(int argc, char** argv) {
    quorvel::StartupMark("main");
    QApplication app(argc, argv);
    quorvel::StartupMark("application");
    QWidget window;
    window.resize(575, 500);
    quorvel::StartupProbe probe(&window, [] { return true; });
    window.show();
    quorvel::StartupMark("shown");
    return app.exec();
}
