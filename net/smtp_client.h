// The SMTP client that sends mail: one connection for the messages of a send, on libcurl, off the
// user-interface thread, with its progress and its outcome reported back through the event port. STARTTLS
// is used whenever the server offers it; no password is kept.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "net/background_job.h"
#include "net/mail_text.h"

namespace quorvel::net {

enum class SmtpEvent {
    ConnectionRequired,    // about to connect
    HostResolved,          // the server's address is known
    Connect,               // the server greeted
    SendStart,             // message `message` (0-based) starts
    Success,               // every message was accepted
    Failure,               // a message was not accepted; `text` says why
    ConnectionFailed,      // the server could not be reached
    InvalidHost,           // the server name is not a host (followed by Failure)
    RecipientNotFound,     // the server refused the recipient (followed by Failure)
    AuthenticationFailed,  // the server wants a user it accepts; the send stops
    Disconnect,            // the last event of every send
};

struct SmtpReport {
    SmtpEvent event;
    int message = 0;
    std::string text;  // the server's answer or the transfer's error, in English
};

struct SmtpJob {
    std::string server;  // "host" or "host:port"; the port is 25 unless given
    std::string userId;  // the user name, given to a server that asked for one
    // Log in as `userId` (with no password, none is kept). Only after a server refused the mail for want
    // of a login: a server that offers a login without needing it would refuse a login without a password.
    bool authenticate = false;
    std::vector<MailMessage> messages;
    long timeoutMs = 60000;  // for each message, from connecting to its last answer
    std::string caFile;      // certificates to trust for STARTTLS besides the system's
};

// The URL libcurl is given for a server "host", "host:port", "[v6]" or "[v6]:port"; empty when the
// text is not a host with a port in 1..65535.
std::string SmtpUrlOf(const std::string& server);

class SmtpClient {
public:
    using Listener = std::function<void(const SmtpReport&)>;

    explicit SmtpClient(EventPort& events) : job_(events) {}

    // Sends the job's messages in order, one after the other on one connection, reporting every event to
    // `listener` on the port's thread. Addresses with CR, LF or other unsafe bytes are refused before any
    // connection. A send still running is cancelled first.
    void Send(SmtpJob job, Listener listener);
    // Drops the connection; the cancelled send reports nothing more.
    void Cancel() { job_.Cancel(); }
    bool Busy() const { return job_.Busy(); }

private:
    BackgroundJob job_;
};

}  // namespace quorvel::net
