#include "gtp/engine_worker.h"

namespace quorvel::gtp {

EngineWorker::EngineWorker(EventPort& events, std::string commandLine)
    : events_(events), commandLine_(std::move(commandLine)), thread_([this] { Run(); }) {}

EngineWorker::~EngineWorker() {
    alive_->store(false);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quitting_ = true;
        queue_.clear();
        ++*generation_;
        if (jobRunning_) client_.Interrupt();
    }
    wake_.notify_all();
    thread_.join();
}

void EngineWorker::Submit(Job job, int kind) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (kind != 0) {
            for (auto it = queue_.begin(); it != queue_.end();) {
                it = it->kind == kind ? queue_.erase(it) : it + 1;
            }
        }
        queue_.push_back({std::move(job), kind});
    }
    wake_.notify_all();
}

void EngineWorker::Cancel() {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.clear();
    ++*generation_;
}

void EngineWorker::SetCommandLine(std::string commandLine) {
    std::lock_guard<std::mutex> lock(mutex_);
    commandLine_ = std::move(commandLine);
    restart_ = true;
}

void EngineWorker::Run() {
    GtpClient& client = client_;
    for (;;) {
        Job job;
        int started = 0;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] { return quitting_ || !queue_.empty(); });
            if (quitting_) break;
            job = std::move(queue_.front().job);
            queue_.pop_front();
            started = generation_->load();
            jobRunning_ = true;
            if (restart_) {
                restart_ = false;
                lock.unlock();
                client.Stop();
            }
        }
        EngineSession session(*this, client, started);
        job(session);
        std::lock_guard<std::mutex> lock(mutex_);
        jobRunning_ = false;
    }
    client.Stop();
}

GtpClient* EngineSession::Engine(std::string& error) {
    if (client_.Running()) return &client_;
    std::string commandLine;
    {
        std::lock_guard<std::mutex> lock(worker_.mutex_);
        commandLine = worker_.commandLine_;
    }
    return client_.Start(commandLine, error) ? &client_ : nullptr;
}

void EngineSession::Post(std::function<void()> event) {
    auto generation = generation_;
    auto alive = worker_.alive_;
    const int started = started_;
    worker_.events_.Post([generation, alive, started, event = std::move(event)] {
        if (!alive->load() || generation->load() != started) return;
        event();
    });
}

}  // namespace quorvel::gtp
