#include "net/smtp_client.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "net/transfers.h"

namespace quorvel::net {

namespace {

void Report(JobContext& job, const std::function<void(const SmtpReport&)>& listener, SmtpEvent event,
            int message = 0, std::string text = std::string()) {
    job.Post([listener, report = SmtpReport{event, message, std::move(text)}] { listener(report); });
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

        SmtpTransfer transfer;
        transfer.url = SmtpUrlOf(job.server);
        if (transfer.url.empty()) return fail(SmtpEvent::InvalidHost, "not a mail server: " + job.server);
        for (const MailMessage& m : job.messages) {
            if (!IsSafeAddress(m.to) || !IsSafeAddress(m.from)) {
                return fail(SmtpEvent::Failure, "an address holds a line break, a blank or an unsafe character");
            }
        }
        std::string error;
        const Transfers* transfers = NetTransfers(error);
        if (!transfers) return fail(SmtpEvent::Failure, error);
        transfer.userId = job.userId;
        transfer.authenticate = job.authenticate;
        transfer.timeoutMs = job.timeoutMs;
        transfer.caFile = job.caFile;
        const std::string date = MailDateNow();
        for (const MailMessage& m : job.messages) transfer.messages.push_back({m.from, m.to, ComposeMessage(m, date)});

        const SmtpReport outcome = transfers->sendMail(
            transfer, [&](const SmtpReport& r) { Report(context, listener, r.event, r.message, r.text); },
            context.CancelFlag());
        if (context.Cancelled()) return;
        if (outcome.event != SmtpEvent::Success) return fail(outcome.event, outcome.text);
        Report(context, listener, SmtpEvent::Success);
        finish();
    });
}

}  // namespace quorvel::net
