// For the whole-process start-up benchmark (tests/bench_gui/startup_bench.sh): with the environment
// variable QUORVEL_STARTUP_PROBE set, a program prints the wall-clock time (CLOCK_REALTIME, nanoseconds)
// at which a window has painted what it waits for, and ends. Without the variable it does nothing. With
// the variable set to "trace", the steps of the start-up print their times too ("mark NAME TIME").
#pragma once

#include <QObject>
#include <QSet>
#include <functional>

class QWidget;

namespace quorvel {

// Prints the time of a step of the start-up under QUORVEL_STARTUP_PROBE=trace.
void StartupMark(const char* name);

class StartupProbe : public QObject {
public:
    // Watches `window`'s paint events; the first one after `ready` holds ends the program.
    StartupProbe(QWidget* window, std::function<bool()> ready);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<bool()> ready_;
    bool done_ = false;
    QSet<QObject*> tracedPaints_;
};

}  // namespace quorvel
