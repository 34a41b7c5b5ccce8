// One transfer at a time off the user-interface thread. The work runs on a thread of its own and reports
// through the event port, so its events reach the windows on their thread; a cancelled job's later events
// are dropped, and none reach an owner that is gone.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "platform/event_port.h"

namespace quorvel::net {

// What the work sees of its job, on the worker thread.
class JobContext {
public:
    // True once the job was cancelled; the work should stop soon.
    bool Cancelled() const { return cancelled_->load(); }
    // Delivers `event` on the port's thread, unless the job was cancelled by then.
    void Post(std::function<void()> event);
    // Like Post, for the job's last event: when it runs, the job is no longer busy.
    void Finish(std::function<void()> event);
    // The flag itself, for callbacks of libraries that poll it.
    const std::atomic<bool>* CancelFlag() const { return cancelled_.get(); }

private:
    friend class BackgroundJob;
    JobContext(EventPort& events, std::shared_ptr<std::atomic<bool>> cancelled, std::weak_ptr<bool*> busy)
        : events_(events), cancelled_(std::move(cancelled)), busy_(std::move(busy)) {}

    EventPort& events_;
    std::shared_ptr<std::atomic<bool>> cancelled_;
    std::weak_ptr<bool*> busy_;  // the owner's busy flag while the owner lives
};

class BackgroundJob {
public:
    explicit BackgroundJob(EventPort& events);
    // Cancels the running job and waits for its thread.
    ~BackgroundJob();
    BackgroundJob(const BackgroundJob&) = delete;
    BackgroundJob& operator=(const BackgroundJob&) = delete;

    // Cancels a running job, then runs `work` on a new thread. Call on the port's thread.
    void Start(std::function<void(JobContext&)> work);
    // Drops every later event of the running job and asks its work to stop.
    void Cancel();
    // True from Start until the job's last event has run or it was cancelled.
    bool Busy() const { return busy_; }

private:
    struct Worker {
        std::shared_ptr<std::atomic<bool>> cancelled;
        std::shared_ptr<std::atomic<bool>> done;
        std::thread thread;
    };
    void JoinFinished(bool all);

    EventPort& events_;
    bool busy_ = false;
    std::shared_ptr<bool*> busyHandle_;
    std::vector<Worker> workers_;
};

}  // namespace quorvel::net
