#include "platform/gui/startup_probe.h"

#include <QCoreApplication>
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <utility>

namespace quorvel {
namespace {

long long RealTimeNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// QUORVEL_STARTUP_PROBE=trace, read once (the first mark comes before Qt starts).
bool Tracing() {
    static const bool tracing = [] {
        const char* v = std::getenv("QUORVEL_STARTUP_PROBE");
        return v != nullptr && std::strcmp(v, "trace") == 0;
    }();
    return tracing;
}

}  // namespace

void StartupMark(const char* name) {
    if (Tracing()) std::printf("mark %s %lld\n", name, RealTimeNanoseconds());
}

StartupProbe::StartupProbe(QWidget* window, std::function<bool()> ready) : QObject(window), ready_(std::move(ready)) {
    if (qEnvironmentVariableIsSet("QUORVEL_STARTUP_PROBE")) window->installEventFilter(this);
    if (Tracing()) qApp->installEventFilter(this);
}

bool StartupProbe::eventFilter(QObject* watched, QEvent* event) {
    if (watched != parent()) {
        // Tracing: the first paint of each window.
        if (event->type() == QEvent::Paint && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow() &&
            !tracedPaints_.contains(watched)) {
            tracedPaints_.insert(watched);
            StartupMark((QByteArrayLiteral("paint-") + watched->metaObject()->className()).constData());
        }
        return QObject::eventFilter(watched, event);
    }
    if (event->type() == QEvent::Paint && !done_ && ready_()) {
        done_ = true;
        // Queued, so that the time is taken once this paint has been drawn and handed to the display.
        QTimer::singleShot(0, this, [] {
            std::printf("painted %lld\n", RealTimeNanoseconds());
            std::fflush(stdout);
            QCoreApplication::quit();
        });
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace quorvel
