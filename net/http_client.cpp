#include "net/http_client.h"

#include <algorithm>
#include <cctype>

#include "net/curl_handle.h"

namespace quorvel::net {

namespace {

struct Transfer {
    std::string body;
    std::string header;
    std::size_t cap = 0;
    bool overCap = false;
    const std::atomic<bool>* cancel = nullptr;
};

std::size_t TakeBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const std::size_t n = size * count;
    if (t->body.size() + n > t->cap) {
        t->overCap = true;
        return 0;  // stops the transfer
    }
    t->body.append(data, n);
    return n;
}

std::size_t TakeHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    // Only the last response's header counts: a redirect's own header is dropped when the next begins.
    if (t->header.size() > 64 * 1024) return 0;
    const std::string line(data, size * count);
    if (line.compare(0, 5, "HTTP/") == 0) t->header.clear();
    t->header += line;
    return size * count;
}

int Progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto* t = static_cast<Transfer*>(user);
    return t->cancel && t->cancel->load() ? 1 : 0;
}

bool IsConnectionFailure(CURLcode code) {
    return code == CURLE_COULDNT_RESOLVE_HOST || code == CURLE_COULDNT_RESOLVE_PROXY ||
           code == CURLE_COULDNT_CONNECT;
}

}  // namespace

bool IsWebAddress(const std::string& url) {
    std::string scheme;
    for (char c : url.substr(0, url.find(':'))) scheme += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::size_t colon = url.find("://");
    return colon != std::string::npos && (scheme == "http" || scheme == "https") && colon + 3 < url.size();
}

HttpResult FetchUrl(const std::string& url, const HttpOptions& options, const std::atomic<bool>* cancel) {
    HttpResult result;
    if (!IsWebAddress(url)) {
        result.error = "not an http or https address";
        return result;
    }
    CurlHandle handle = NewCurlHandle();
    if (!handle) {
        result.error = "libcurl could not start";
        return result;
    }
    CURL* h = handle.get();
    Transfer t;
    t.cap = options.maxBodyBytes;
    t.cancel = cancel;
    char errorText[CURL_ERROR_SIZE] = "";
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    // Redirects stay on the web: never to a file or another protocol.
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, options.timeoutMs);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, std::min(options.connectTimeoutMs, options.timeoutMs));
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, TakeBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, TakeHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &t);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, Progress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &t);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_USERAGENT, "Quorvel");
    const CURLcode code = curl_easy_perform(h);
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &result.status);
    result.header = std::move(t.header);

    if (cancel && cancel->load()) {
        result.outcome = HttpOutcome::Cancelled;
        result.error = "cancelled";
    } else if (t.overCap) {
        result.error = "the body is longer than " + std::to_string(options.maxBodyBytes) + " bytes";
    } else if (code != CURLE_OK) {
        result.outcome = IsConnectionFailure(code) ? HttpOutcome::ConnectionFailed : HttpOutcome::Failure;
        result.error = *errorText ? errorText : curl_easy_strerror(code);
    } else if (result.status >= 400) {
        result.error = "HTTP status " + std::to_string(result.status);
    } else {
        result.outcome = HttpOutcome::Success;
        result.body = std::move(t.body);
    }
    return result;
}

void HttpClient::Get(const std::string& url, Done done) {
    const HttpOptions chosen = options;
    job_.Start([url, chosen, done = std::move(done)](JobContext& job) {
        HttpResult result = FetchUrl(url, chosen, job.CancelFlag());
        job.Finish([done, result = std::move(result)] { done(result); });
    });
}

}  // namespace quorvel::net
