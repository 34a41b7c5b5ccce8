// The transfers themselves, the one part of the network clients that runs on libcurl. libcurl, with the
// TLS, Kerberos and LDAP libraries it pulls in, costs a start a good part of its time, so the windows
// program loads the transfers from a module of the program folder (quorvel_net.so) with its first network
// job, while the command-line tool and the tests link them in (quorvel_net_linked).
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "net/http_client.h"
#include "net/smtp_client.h"

namespace quorvel::net {

// One mail as the SMTP dialogue sends it: the envelope's addresses and the composed message.
struct MailUpload {
    std::string from;
    std::string to;
    std::string text;
};

// An SMTP send, checked and composed: the server's URL (SmtpUrlOf) and the messages in order.
struct SmtpTransfer {
    std::string url;
    std::string userId;
    bool authenticate = false;
    long timeoutMs = 60000;
    std::string caFile;
    std::vector<MailUpload> messages;
};

struct Transfers {
    // The whole GET of a web address on the calling thread; `cancel` (may be null) stops it.
    HttpResult (*fetch)(const std::string& url, const HttpOptions& options, const std::atomic<bool>* cancel);
    // The whole send on the calling thread, one connection for every message. `report` hears, in order,
    // ConnectionRequired, HostResolved, Connect and each SendStart; the result is Success or the event
    // that ended the send (InvalidHost, ConnectionFailed, AuthenticationFailed, RecipientNotFound,
    // Failure) with its text. After `cancel` was set the result means nothing.
    SmtpReport (*sendMail)(const SmtpTransfer& transfer, const std::function<void(const SmtpReport&)>& report,
                           const std::atomic<bool>* cancel);
};

// The transfers on libcurl, as compiled into quorvel_net_linked and the module.
const Transfers& CurlTransfers();

// The module's one entry point, and its file in the program folder.
extern "C" using TransfersEntry = const Transfers* (*)();
constexpr const char* kTransfersSymbol = "QuorvelNetTransfers";
constexpr const char* kTransfersModule = "quorvel_net.so";

// The transfers of this program: the linked ones when the program links them in, otherwise the module
// beside the executable, loaded on the first call (from any thread). Null when neither is there; `error`
// then says why.
const Transfers* NetTransfers(std::string& error);

// Loads a transfers module (kept loaded to the end of the program). Null with `error` when it cannot.
const Transfers* LoadTransfersModule(const std::string& path, std::string& error);

// Called once by quorvel_net_linked, before main: the program links the transfers in.
bool LinkTransfers(const Transfers& transfers);

}  // namespace quorvel::net
