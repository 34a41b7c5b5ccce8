#include "net/background_job.h"

namespace quorvel::net {

void JobContext::Post(std::function<void()> event) {
    auto cancelled = cancelled_;
    auto busy = busy_;
    events_.Post([cancelled, busy, event = std::move(event)] {
        if (cancelled->load() || busy.expired()) return;
        event();
    });
}

void JobContext::Finish(std::function<void()> event) {
    auto cancelled = cancelled_;
    auto busy = busy_;
    events_.Post([cancelled, busy, event = std::move(event)] {
        const std::shared_ptr<bool*> owner = busy.lock();
        if (cancelled->load() || !owner) return;
        **owner = false;
        event();
    });
}

BackgroundJob::BackgroundJob(EventPort& events) : events_(events), busyHandle_(std::make_shared<bool*>(&busy_)) {}

BackgroundJob::~BackgroundJob() {
    Cancel();
    // Events still queued at the port find their owner gone and do nothing.
    busyHandle_.reset();
    JoinFinished(true);
}

void BackgroundJob::Cancel() {
    for (Worker& w : workers_) w.cancelled->store(true);
    busy_ = false;
}

void BackgroundJob::JoinFinished(bool all) {
    for (auto it = workers_.begin(); it != workers_.end();) {
        if (all || it->done->load()) {
            it->thread.join();
            it = workers_.erase(it);
        } else {
            ++it;
        }
    }
}

void BackgroundJob::Start(std::function<void(JobContext&)> work) {
    Cancel();
    JoinFinished(false);
    Worker w{std::make_shared<std::atomic<bool>>(false), std::make_shared<std::atomic<bool>>(false), {}};
    busy_ = true;
    JobContext context(events_, w.cancelled, busyHandle_);
    w.thread = std::thread([context, done = w.done, work = std::move(work)]() mutable {
        work(context);
        done->store(true);
    });
    workers_.push_back(std::move(w));
}

}  // namespace quorvel::net
