// The mail window's engine (Form9): checks the fields, builds the messages (the record attached as
// "Zarn.sgf", or written into the text) from the text window's text, sends them with the SMTP client and
// turns its events into the window's state. Nothing is written to disk.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/shell_settings.h"
#include "core/engine.h"
#include "net/smtp_client.h"

namespace quorvel {

// The fields of the mail window as the user filled them.
struct MailForm {
    std::string to;       // ComboBox1
    std::string from;     // Edit1
    std::string subject;  // Edit2
    std::string body;     // Memo1
    std::string server;   // Edit3
    std::string userId;   // Edit4
    bool attach = true;   // CheckBox1
};

// What the window shows while and after sending.
struct MailWindowState {
    std::string status;        // StatusBar1
    bool sendEnabled = true;   // Button1
    bool sent = false;         // every message was accepted: the window closes
};

class MailSender {
public:
    using AskText = std::function<std::optional<std::string>(const std::string& title, const std::string& prompt)>;

    MailSender(Engine& board, UserDialogs& dialogs, EventPort& events, MailSettings& settings);

    MailWindowState state;
    // Called after every change of `state` or of the recipient history.
    std::function<void()> changed;
    // The input box for a user name the server asks for; nothing when cancelled.
    AskText askText;
    // For tests: what the client is given besides the form (a certificate to trust).
    std::string caFile;

    // Button1Click: false, after a message box, when a field is missing or there is nothing to send;
    // otherwise the send has started.
    bool Send(const MailForm& form);
    // Drops a send in progress (the window is hidden).
    void Disconnect();
    bool Sending() const { return smtp_.Busy(); }

    // The messages of a send: the record attached, the text with its subject. False, after telling the
    // user, when the text window holds neither a record nor a text board and none can be written.
    bool Compose(const MailForm& form, std::vector<net::MailMessage>& messages);

private:
    void OnEvent(const net::SmtpReport& report);
    void Start(net::SmtpJob job);

    Engine& board_;
    UserDialogs& dialogs_;
    MailSettings& settings_;
    net::SmtpClient smtp_;
    net::SmtpJob lastJob_;
    std::string recipient_;
};

}  // namespace quorvel
