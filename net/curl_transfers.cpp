// The transfers on libcurl: the HTTP GET of a web record and the SMTP send of a mail. Compiled into the
// module quorvel_net.so and into quorvel_net_linked, never into the engine, so that only a program that
// does network work loads libcurl.
#include <sys/socket.h>

#include <algorithm>

#include "net/curl_handle.h"
#include "net/transfers.h"

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

int FetchProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto* t = static_cast<Transfer*>(user);
    return t->cancel && t->cancel->load() ? 1 : 0;
}

bool IsConnectionFailure(CURLcode code) {
    return code == CURLE_COULDNT_RESOLVE_HOST || code == CURLE_COULDNT_RESOLVE_PROXY ||
           code == CURLE_COULDNT_CONNECT;
}

HttpResult FetchOnCurl(const std::string& url, const HttpOptions& options, const std::atomic<bool>* cancel) {
    HttpResult result;
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
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, FetchProgress);
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

struct SlistFree {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// What the dialogue showed, for telling the failures apart.
struct Dialogue {
    const std::function<void(const SmtpReport&)>* report = nullptr;
    const std::atomic<bool>* cancel = nullptr;
    bool greeted = false;
    bool resolved = false;
    std::string lastCommand;  // "MAIL", "RCPT", "AUTH", ...
    std::string lastReply;
    std::string refusedCommand;  // the command of the last 4xx or 5xx answer, and that answer
    std::string refusal;
    const std::string* upload = nullptr;
    std::size_t sent = 0;

    void Report(SmtpEvent event, int message = 0, std::string text = std::string()) const {
        (*report)(SmtpReport{event, message, std::move(text)});
    }
    bool Cancelled() const { return cancel && cancel->load(); }
};

int WatchDialogue(CURL*, curl_infotype type, char* data, std::size_t size, void* user) {
    auto* d = static_cast<Dialogue*>(user);
    const std::string text(data, size);
    if (type == CURLINFO_HEADER_OUT) {
        d->lastCommand = text.substr(0, text.find_first_of(" \r\n"));
    } else if (type == CURLINFO_HEADER_IN) {
        d->lastReply = text.substr(0, text.find_first_of("\r\n"));
        if (!d->lastReply.empty() && (d->lastReply[0] == '4' || d->lastReply[0] == '5')) {
            d->refusedCommand = d->lastCommand;
            d->refusal = d->lastReply;
        }
        if (!d->greeted) {
            d->greeted = true;
            if (d->resolved) d->Report(SmtpEvent::HostResolved);
            d->Report(SmtpEvent::Connect, 0, d->lastReply);
        }
    }
    return 0;
}

curl_socket_t OpenSocket(void* user, curlsocktype, curl_sockaddr* address) {
    auto* d = static_cast<Dialogue*>(user);
    d->resolved = true;
    return socket(address->family, address->socktype, address->protocol);
}

std::size_t ReadMessage(char* buffer, std::size_t size, std::size_t count, void* user) {
    auto* d = static_cast<Dialogue*>(user);
    const std::size_t n = std::min(size * count, d->upload->size() - d->sent);
    std::copy_n(d->upload->data() + d->sent, n, buffer);
    d->sent += n;
    return n;
}

int SendProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<Dialogue*>(user)->Cancelled() ? 1 : 0;
}

SmtpReport SendOnCurl(const SmtpTransfer& transfer, const std::function<void(const SmtpReport&)>& report,
                      const std::atomic<bool>* cancel) {
    CurlHandle handle = NewCurlHandle();
    if (!handle) return {SmtpEvent::Failure, 0, "libcurl could not start"};
    CURL* h = handle.get();
    Dialogue dialogue;
    dialogue.report = &report;
    dialogue.cancel = cancel;
    char errorText[CURL_ERROR_SIZE] = "";
    curl_easy_setopt(h, CURLOPT_URL, transfer.url.c_str());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "smtp");
    curl_easy_setopt(h, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_TRY));
    if (!transfer.caFile.empty()) curl_easy_setopt(h, CURLOPT_CAINFO, transfer.caFile.c_str());
    if (transfer.authenticate) curl_easy_setopt(h, CURLOPT_USERNAME, transfer.userId.c_str());
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, transfer.timeoutMs);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, std::min(30000L, transfer.timeoutMs));
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(h, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(h, CURLOPT_DEBUGFUNCTION, WatchDialogue);
    curl_easy_setopt(h, CURLOPT_DEBUGDATA, &dialogue);
    curl_easy_setopt(h, CURLOPT_OPENSOCKETFUNCTION, OpenSocket);
    curl_easy_setopt(h, CURLOPT_OPENSOCKETDATA, &dialogue);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, SendProgress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &dialogue);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_READFUNCTION, ReadMessage);
    curl_easy_setopt(h, CURLOPT_READDATA, &dialogue);
    curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);

    dialogue.Report(SmtpEvent::ConnectionRequired);
    for (std::size_t i = 0; i < transfer.messages.size(); ++i) {
        const MailUpload& m = transfer.messages[i];
        dialogue.upload = &m.text;
        dialogue.sent = 0;
        const std::string from = "<" + m.from + ">";
        std::unique_ptr<curl_slist, SlistFree> to(curl_slist_append(nullptr, ("<" + m.to + ">").c_str()));
        curl_easy_setopt(h, CURLOPT_MAIL_FROM, from.c_str());
        curl_easy_setopt(h, CURLOPT_MAIL_RCPT, to.get());
        dialogue.Report(SmtpEvent::SendStart, static_cast<int>(i));
        const CURLcode code = curl_easy_perform(h);
        if (dialogue.Cancelled()) return {SmtpEvent::Failure, 0, "cancelled"};
        if (code == CURLE_OK) continue;
        const std::string why = *errorText ? errorText : curl_easy_strerror(code);
        if (code == CURLE_COULDNT_RESOLVE_HOST) return {SmtpEvent::InvalidHost, 0, why};
        if (code == CURLE_COULDNT_CONNECT || !dialogue.greeted) return {SmtpEvent::ConnectionFailed, 0, why};
        const std::string& refusal = dialogue.refusal;
        if (code == CURLE_LOGIN_DENIED || dialogue.refusedCommand == "AUTH" || refusal.compare(0, 3, "530") == 0) {
            return {SmtpEvent::AuthenticationFailed, 0, refusal};
        }
        if (dialogue.refusedCommand == "RCPT") return {SmtpEvent::RecipientNotFound, 0, refusal};
        return {SmtpEvent::Failure, 0, refusal.empty() ? why : why + ": " + refusal};
    }
    return {SmtpEvent::Success, 0, std::string()};
}

const Transfers kCurlTransfers{&FetchOnCurl, &SendOnCurl};

}  // namespace

const Transfers& CurlTransfers() { return kCurlTransfers; }

}  // namespace quorvel::net
