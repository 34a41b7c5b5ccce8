#include "net/smtp_client.h"

#include <sys/socket.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "net/curl_handle.h"

namespace quorvel::net {

namespace {

struct SlistFree {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// What the dialogue showed, for telling the failures apart.
struct Dialogue {
    JobContext* job = nullptr;
    const std::function<void(const SmtpReport&)>* listener = nullptr;
    bool greeted = false;
    bool resolved = false;
    std::string lastCommand;  // "MAIL", "RCPT", "AUTH", ...
    std::string lastReply;
    std::string refusedCommand;  // the command of the last 4xx or 5xx answer, and that answer
    std::string refusal;
    const std::string* upload = nullptr;
    std::size_t sent = 0;
};

void Report(JobContext& job, const std::function<void(const SmtpReport&)>& listener, SmtpEvent event,
            int message = 0, std::string text = std::string()) {
    job.Post([listener, report = SmtpReport{event, message, std::move(text)}] { listener(report); });
}

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
            if (d->resolved) Report(*d->job, *d->listener, SmtpEvent::HostResolved);
            Report(*d->job, *d->listener, SmtpEvent::Connect, 0, d->lastReply);
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

int Progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<Dialogue*>(user)->job->Cancelled() ? 1 : 0;
}

bool IsHostText(const std::string& host) {
    if (host.empty() || host.size() > 253) return false;
    return std::all_of(host.begin(), host.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_';
    });
}

bool IsV6Text(const std::string& host) {
    return !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
        return std::isxdigit(static_cast<unsigned char>(c)) || c == ':' || c == '.';
    });
}

}  // namespace

std::string SmtpUrlOf(const std::string& server) {
    std::string host = server;
    std::string port = "25";
    if (!host.empty() && host[0] == '[') {
        const std::size_t close = host.find(']');
        if (close == std::string::npos) return std::string();
        const std::string rest = host.substr(close + 1);
        host = host.substr(0, close + 1);
        if (!IsV6Text(host.substr(1, host.size() - 2))) return std::string();
        if (!rest.empty()) {
            if (rest[0] != ':') return std::string();
            port = rest.substr(1);
        }
    } else {
        const std::size_t colon = host.find(':');
        if (colon != std::string::npos) {
            port = host.substr(colon + 1);
            host = host.substr(0, colon);
        }
        if (!IsHostText(host)) return std::string();
    }
    if (port.empty() || port.size() > 5 || !std::all_of(port.begin(), port.end(), ::isdigit)) return std::string();
    const long number = std::strtol(port.c_str(), nullptr, 10);
    if (number < 1 || number > 65535) return std::string();
    return "smtp://" + host + ":" + std::to_string(number);
}

void SmtpClient::Send(SmtpJob job, Listener listener) {
    job_.Start([job = std::move(job), listener = std::move(listener)](JobContext& context) {
        const auto finish = [&] { context.Finish([listener] { listener(SmtpReport{SmtpEvent::Disconnect, 0, std::string()}); }); };
        const auto fail = [&](SmtpEvent event, const std::string& why) {
            Report(context, listener, event, 0, why);
            // These two say only what went wrong; the send itself failed as well.
            if (event == SmtpEvent::InvalidHost || event == SmtpEvent::RecipientNotFound) {
                Report(context, listener, SmtpEvent::Failure, 0, why);
            }
            finish();
        };

        const std::string url = SmtpUrlOf(job.server);
        if (url.empty()) return fail(SmtpEvent::InvalidHost, "not a mail server: " + job.server);
        for (const MailMessage& m : job.messages) {
            if (!IsSafeAddress(m.to) || !IsSafeAddress(m.from)) {
                return fail(SmtpEvent::Failure, "an address holds a line break, a blank or an unsafe character");
            }
        }
        CurlHandle handle = NewCurlHandle();
        if (!handle) return fail(SmtpEvent::Failure, "libcurl could not start");
        CURL* h = handle.get();
        Dialogue dialogue;
        dialogue.job = &context;
        dialogue.listener = &listener;
        char errorText[CURL_ERROR_SIZE] = "";
        curl_easy_setopt(h, CURLOPT_URL, url.c_str());
        curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "smtp");
        curl_easy_setopt(h, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_TRY));
        if (!job.caFile.empty()) curl_easy_setopt(h, CURLOPT_CAINFO, job.caFile.c_str());
        if (job.authenticate) curl_easy_setopt(h, CURLOPT_USERNAME, job.userId.c_str());
        curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, job.timeoutMs);
        curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, std::min(30000L, job.timeoutMs));
        curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText);
        curl_easy_setopt(h, CURLOPT_VERBOSE, 1L);
        curl_easy_setopt(h, CURLOPT_DEBUGFUNCTION, WatchDialogue);
        curl_easy_setopt(h, CURLOPT_DEBUGDATA, &dialogue);
        curl_easy_setopt(h, CURLOPT_OPENSOCKETFUNCTION, OpenSocket);
        curl_easy_setopt(h, CURLOPT_OPENSOCKETDATA, &dialogue);
        curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, Progress);
        curl_easy_setopt(h, CURLOPT_XFERINFODATA, &dialogue);
        curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(h, CURLOPT_READFUNCTION, ReadMessage);
        curl_easy_setopt(h, CURLOPT_READDATA, &dialogue);
        curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);

        Report(context, listener, SmtpEvent::ConnectionRequired);
        const std::string date = MailDateNow();
        for (std::size_t i = 0; i < job.messages.size(); ++i) {
            const MailMessage& m = job.messages[i];
            const std::string upload = ComposeMessage(m, date);
            dialogue.upload = &upload;
            dialogue.sent = 0;
            const std::string from = "<" + m.from + ">";
            std::unique_ptr<curl_slist, SlistFree> to(curl_slist_append(nullptr, ("<" + m.to + ">").c_str()));
            curl_easy_setopt(h, CURLOPT_MAIL_FROM, from.c_str());
            curl_easy_setopt(h, CURLOPT_MAIL_RCPT, to.get());
            Report(context, listener, SmtpEvent::SendStart, static_cast<int>(i));
            const CURLcode code = curl_easy_perform(h);
            if (context.Cancelled()) return;
            if (code == CURLE_OK) continue;
            const std::string why = *errorText ? errorText : curl_easy_strerror(code);
            if (code == CURLE_COULDNT_RESOLVE_HOST) return fail(SmtpEvent::InvalidHost, why);
            if (code == CURLE_COULDNT_CONNECT || !dialogue.greeted) {
                return fail(SmtpEvent::ConnectionFailed, why);
            }
            const std::string& refusal = dialogue.refusal;
            if (code == CURLE_LOGIN_DENIED || dialogue.refusedCommand == "AUTH" || refusal.compare(0, 3, "530") == 0) {
                return fail(SmtpEvent::AuthenticationFailed, refusal);
            }
            if (dialogue.refusedCommand == "RCPT") return fail(SmtpEvent::RecipientNotFound, refusal);
            return fail(SmtpEvent::Failure, refusal.empty() ? why : why + ": " + refusal);
        }
        Report(context, listener, SmtpEvent::Success);
        finish();
    });
}

}  // namespace quorvel::net
