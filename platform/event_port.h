// The port through which work done off the user-interface thread hands its events back to it. The windows
// implement it by queueing the event on their own thread (platform/gui/qt_event_port.h); the queue below is a
// complete implementation of the same contract for tests and the command-line tool, which run the events
// when they choose.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace quorvel {

class EventPort {
public:
    virtual ~EventPort() = default;
    // Callable from any thread; `event` later runs on the port's own thread, in the order posted.
    virtual void Post(std::function<void()> event) = 0;
};

class QueuedEventPort : public EventPort {
public:
    void Post(std::function<void()> event) override;
    // Runs every event posted so far; returns how many ran.
    int RunPending();
    // Waits up to `limit` for an event, then runs the ones posted; false when none came in time.
    bool WaitAndRun(std::chrono::milliseconds limit);

private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> queue_;
};

}  // namespace quorvel
