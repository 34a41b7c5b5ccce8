#include "platform/event_port.h"

namespace quorvel {

void QueuedEventPort::Post(std::function<void()> event) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(std::move(event));
    }
    posted_.notify_all();
}

int QueuedEventPort::RunPending() {
    std::deque<std::function<void()>> ready;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ready.swap(queue_);
    }
    // An event may post more; those wait for the next call, as a window's queue would run them later.
    for (auto& event : ready) event();
    return static_cast<int>(ready.size());
}

bool QueuedEventPort::WaitAndRun(std::chrono::milliseconds limit) {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!posted_.wait_for(lock, limit, [this] { return !queue_.empty(); })) return false;
    }
    RunPending();
    return true;
}

}  // namespace quorvel
