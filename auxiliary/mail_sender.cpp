#include "auxiliary/mail_sender.h"

#include "app/file_commands.h"
#include "formats/sgf_writer.h"

namespace quorvel {

namespace {

const char* const kNoSender = "送信元のメールアドレスを指定してください";
const char* const kNoServer = "メールサーバーの名前かIPアドレスを指定してください";
const char* const kNoUserId = "メール送信の ユーザーID を指定してください";
const char* const kNoRecipient = "宛先のメールアドレスを指定してください";
const char* const kBadAddress = "メールアドレスに使えない文字が含まれています";
const char* const kWriteFirst = "[ADD] か [SGF] か [Text B]ボタンを押してから送信できます";
const char* const kNoSubject = "なし";
const char* const kSgfSection = "\r\n\r\n\r\n==========SGF棋譜データ==========\r\n\r\n";
const char* const kTextBoardSection = "\r\n\r\n\r\n==========テキスト碁盤==========\r\n\r\n";
const char* const kFailed = "メールの送信はできませんでした";

bool Holds(const std::string& text, const char* what) { return text.find(what) != std::string::npos; }

}  // namespace

MailSender::MailSender(Engine& board, UserDialogs& dialogs, EventPort& events, MailSettings& settings)
    : board_(board), dialogs_(dialogs), settings_(settings), smtp_(events) {}

bool MailSender::Compose(const MailForm& form, std::vector<net::MailMessage>& messages) {
    const std::string shown = board_.messages().Text();
    std::string body = form.body;
    std::string record;  // the attachment's text
    std::string recordText;
    if (Holds(shown, "(;")) {
        recordText = shown;
    } else if (Holds(shown, "Text GoBoard")) {
        body += kTextBoardSection + shown;
    } else if (board_.currentIndex == 0 || board_.branchCount > 0) {
        // A bare board has nothing to send, and variations are written only on request.
        dialogs_.ShowMessage(kWriteFirst);
        return false;
    } else {
        recordText = board_.replayMode ? WholeRecordText(board_) : CurrentLineText(board_);
    }
    if (!recordText.empty()) {
        if (form.attach) {
            // The file a save would write: in the record's own encoding, its foreign characters kept.
            record = RecordFileBytes(board_, recordText);
        } else {
            body += kSgfSection + recordText;
        }
    }
    messages.clear();
    const auto foreign = std::make_shared<const ForeignCharacters>(*board_.foreignCharacters);
    if (!record.empty()) {
        messages.push_back({form.to, form.from, "Kifu Mail", "A SGF file attached.", {{"Zarn.sgf", record}}, foreign});
    }
    if (!body.empty()) {
        messages.push_back({form.to, form.from, form.subject.empty() ? kNoSubject : form.subject, body, {}, foreign});
    }
    return true;
}

bool MailSender::Send(const MailForm& form) {
    const std::pair<const std::string*, const char*> required[] = {
        {&form.from, kNoSender}, {&form.server, kNoServer}, {&form.userId, kNoUserId}, {&form.to, kNoRecipient}};
    for (const auto& [field, message] : required) {
        if (field->empty()) {
            dialogs_.ShowMessage(message);
            return false;
        }
    }
    if (!net::IsSafeAddress(form.from) || !net::IsSafeAddress(form.to)) {
        dialogs_.ShowMessage(kBadAddress);
        return false;
    }
    smtp_.Cancel();
    net::SmtpJob job;
    if (!Compose(form, job.messages)) return false;
    job.server = form.server;
    job.userId = form.userId;
    job.caFile = caFile;
    recipient_ = form.to;
    state.sendEnabled = false;
    state.sent = false;
    Start(std::move(job));
    return true;
}

void MailSender::Start(net::SmtpJob job) {
    lastJob_ = job;
    smtp_.Send(std::move(job), [this](const net::SmtpReport& report) { OnEvent(report); });
    if (changed) changed();
}

void MailSender::Disconnect() {
    smtp_.Cancel();
    state.sendEnabled = true;
    if (changed) changed();
}

void MailSender::OnEvent(const net::SmtpReport& report) {
    using E = net::SmtpEvent;
    switch (report.event) {
        case E::ConnectionRequired: state.status = "ホストに接続しています"; break;
        case E::HostResolved: state.status = "ホストアドレス ＯＫ"; break;
        case E::Connect: state.status = "ホストに接続しました"; break;
        case E::SendStart: state.status = "メールの送信を開始しました ・・・"; break;
        case E::InvalidHost:
        case E::RecipientNotFound: state.status.clear(); break;
        case E::ConnectionFailed:
            state.status = "ホストに接続できませんでした";
            state.sendEnabled = true;
            break;
        case E::Disconnect: state.sendEnabled = true; break;
        case E::Failure:
            state.status = kFailed;
            state.sendEnabled = true;
            if (changed) changed();
            dialogs_.ShowMessage(kFailed);
            return;
        case E::Success:
            state.status = "メールを送信しました";
            state.sent = true;
            settings_.RememberRecipient(recipient_);
            break;
        case E::AuthenticationFailed: {
            const std::optional<std::string> user =
                askText ? askText("認証が必要です。", "ユーザーIDを入力してください") : std::nullopt;
            if (user) {
                net::SmtpJob retry = lastJob_;
                retry.userId = *user;
                retry.authenticate = true;
                Start(std::move(retry));
                return;
            }
            state.status = kFailed;
            state.sendEnabled = true;
            break;
        }
    }
    if (changed) changed();
}

}  // namespace quorvel
