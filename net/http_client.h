// The HTTP client that loads a record from a web address: a GET on libcurl, run off the user-interface
// thread, with exactly one outcome reported back through the event port. Every transfer is bounded: a time
// limit for the whole transfer, a cap on the body and cancellation, so no window can hang on the network.
#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "net/background_job.h"

namespace quorvel::net {

struct HttpOptions {
    long timeoutMs = 90000;                // the whole transfer, from the first lookup to the last byte
    long connectTimeoutMs = 30000;
    std::size_t maxBodyBytes = 32u << 20;  // a record is never this long; an endless body is cut off here
};

enum class HttpOutcome {
    Success,           // a status below 400 and the whole body
    Failure,           // an error status, a time-out, a body over the cap, a broken transfer
    ConnectionFailed,  // the host could not be found or reached
    Cancelled,         // only from FetchUrl; a cancelled Get reports nothing
};

struct HttpResult {
    HttpOutcome outcome = HttpOutcome::Failure;
    long status = 0;     // the HTTP status, 0 when none came
    std::string body;    // the response body as received
    std::string header;  // the response's header lines
    std::string error;   // why it failed, in English, for logs and the command-line tool
};

// True for the addresses the client fetches: those of http and https.
bool IsWebAddress(const std::string& url);

// The whole GET on the calling thread. `cancel` (may be null) stops it as soon as it is set.
HttpResult FetchUrl(const std::string& url, const HttpOptions& options, const std::atomic<bool>* cancel = nullptr);

class HttpClient {
public:
    using Done = std::function<void(const HttpResult&)>;

    explicit HttpClient(EventPort& events) : job_(events) {}

    HttpOptions options;

    // Starts a GET of `url`; `done` runs once on the port's thread with the outcome. A pending GET is
    // cancelled first and never reports.
    void Get(const std::string& url, Done done);
    void Cancel() { job_.Cancel(); }
    bool Busy() const { return job_.Busy(); }

private:
    BackgroundJob job_;
};

}  // namespace quorvel::net
