#include "platform/gui/startup_probe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>
#include <utility>

namespace quorvel {

StartupProbe::StartupProbe(QWidget* window, std::function<bool()> ready) : QObject(window), ready_(std::move(ready)) {
    if (qEnvironmentVariableIsSet("QUORVEL_STARTUP_PROBE")) window->installEventFilter(this);
}

bool StartupProbe::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && !done_ && ready_()) {
        done_ = true;
        // Queued, so that the time is taken once this paint has been drawn and handed to the display.
        QTimer::singleShot(0, this, [] {
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            std::printf("painted %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
            std::fflush(stdout);
            QCoreApplication::quit();
        });
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace quorvel
