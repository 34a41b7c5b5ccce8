// The engine off the window thread: one thread of its own owns the engine process and runs the jobs the
// windows queue, one at a time; each job hands its results back through the event port, so they reach the
// windows on their thread. Only the newest job of a kind waits (a step through the record replaces the
// analysis of the position before), Cancel drops what waits and asks the running job to stop, and no
// event reaches an owner that is gone or outlives a Cancel.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "gtp/gtp_client.h"
#include "platform/event_port.h"

namespace quorvel::gtp {

class EngineSession;

class EngineWorker {
  public:
    using Job = std::function<void(EngineSession&)>;

    EngineWorker(EventPort& events, std::string commandLine);
    // Stops the running job (an engine still thinking for it is killed, so that closing the program never
    // waits for a move), then the engine ("quit", a kill after the grace period), and joins the thread.
    ~EngineWorker();
    EngineWorker(const EngineWorker&) = delete;
    EngineWorker& operator=(const EngineWorker&) = delete;

    // Queues a job. A job of the same non-zero `kind` still waiting is replaced by this one.
    void Submit(Job job, int kind = 0);
    // Drops the waiting jobs and every later event of the running one, and asks it to stop.
    void Cancel();
    // The engine to start from the next job on; a running engine is stopped first.
    void SetCommandLine(std::string commandLine);

  private:
    friend class EngineSession;
    struct Waiting {
        Job job;
        int kind;
    };
    void Run();

    GtpClient client_;         // used by the worker's thread only, but for Interrupt
    bool jobRunning_ = false;  // under mutex_

    EventPort& events_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Waiting> queue_;
    std::string commandLine_;
    bool restart_ = false;
    bool quitting_ = false;
    // Raised by Cancel: events of jobs started before it are dropped.
    std::shared_ptr<std::atomic<int>> generation_ = std::make_shared<std::atomic<int>>(0);
    std::shared_ptr<std::atomic<bool>> alive_ = std::make_shared<std::atomic<bool>>(true);
    std::thread thread_;
};

// What a job sees, on the worker's thread.
class EngineSession {
  public:
    // The engine, started when it does not run yet; null (with the user's message) when it cannot start.
    GtpClient* Engine(std::string& error);
    // True once the job was cancelled; it should stop soon.
    bool Cancelled() const { return generation_->load() != started_; }
    // Delivers `event` on the port's thread unless the job was cancelled or the worker is gone by then.
    void Post(std::function<void()> event);

  private:
    friend class EngineWorker;
    EngineSession(EngineWorker& worker, GtpClient& client, int started)
        : worker_(worker), client_(client), generation_(worker.generation_), started_(started) {}

    EngineWorker& worker_;
    GtpClient& client_;
    std::shared_ptr<std::atomic<int>> generation_;
    int started_;
};

}  // namespace quorvel::gtp
