#include "app/web_records.h"

#include <cctype>
#include <memory>

#include "formats/sgf_reader.h"
#include "formats/sgf_writer.h"
#include "platform/connection_state.h"
#include "platform/text_codec.h"

namespace quorvel {

const char* const kNotInReplayMode = "Showモードにしてからファイルを読み込めます";

namespace {

const char* const kReceiving = " 受 信 中 ・・・";
const char* const kCannotRead = "指定されたファイルを読み込めません！";
const char* const kNoConnection = "インターネットに接続できません。";
const char* const kNoRecord = "指定されたファイルに棋譜データはありません。\r\n\r\n";
const char* const kNoAddress = "読み込む棋譜のURLを指定して下さい";
const char* const kNotWebAddress = "http:// か https:// で始まるURLを指定して下さい";
const char* const kWriteFirst = "[SGF]か[ADD]ボタンを押してから送信して下さい";
const char* const kTooLong = "棋譜データが長すぎるので、ブラウザで送信できません";
const char* const kBadSendPath = "送信先のURLが http:// か https:// で始まっていません";
const char* const kNoBrowser = "ブラウザを開けません";

// A page holds a record when it reads as one with at least one entry (a stone or a move): "(;" alone
// is also in every script's "for(;;)", and a record may have blanks between its "(" and ";". It is read
// aside, so that the board's record stays until then.
bool HoldsRecord(const std::string& text) {
    MemoryMessageArea messages;
    MemoryDialogs dialogs;
    const auto trial = std::make_unique<Engine>(messages, dialogs);
    return LoadRecordText(*trial, text) && trial->lineEnd > 0;
}

void AppendEscaped(std::string& out, unsigned char c) {
    static const char kHex[] = "0123456789ABCDEF";
    out += '%';
    out += kHex[c >> 4];
    out += kHex[c & 15];
}

}  // namespace

std::string WithCrLfLineEnds(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') {
            while (!out.empty() && out.back() == '\r') out.pop_back();
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

namespace {

// How many bytes of `text` from `from` make whole characters within `limit` bytes: a two-byte character
// is never cut in half.
std::size_t WholeCharacters(const std::string& text, std::size_t from, std::size_t limit) {
    std::size_t i = from;
    while (i < text.size() && i - from < limit) {
        const std::size_t width = IsCp932LeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
        if (i - from + width > limit) break;
        i += width;
    }
    return i - from;
}

}  // namespace

std::string ShownPageText(const std::string& page) {
    std::string shown;
    bool cut = false;
    for (std::size_t start = 0; start < page.size();) {
        const std::size_t newline = page.find('\n', start);
        const std::size_t next = newline == std::string::npos ? page.size() : newline + 1;
        std::size_t content = next - start;
        if (newline != std::string::npos) content -= (content >= 2 && page[newline - 1] == '\r') ? 2 : 1;
        std::string line;
        if (content > kLongestShownLine) {
            line = page.substr(start, WholeCharacters(page, start, kLongestShownLine)) + " ・・・";
            if (newline != std::string::npos) line += "\r\n";
            cut = true;
        } else {
            line = page.substr(start, next - start);
        }
        if (shown.size() + line.size() > kLongestShownPage) {
            cut = true;
            break;
        }
        shown += line;
        start = next;
    }
    if (!cut) return shown;
    if (!shown.empty() && shown.back() != '\n') shown += "\r\n";
    return shown + "\r\n（ページが大きいため、一部だけを表示しています。全体は " + std::to_string(page.size()) +
           " バイトです。）";
}

std::string PercentEncode(const std::string& text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (std::isalnum(c) && c < 0x80) {
            out += ch;
        } else if (c == '-' || c == '_' || c == '.' || c == '~') {
            out += ch;
        } else {
            AppendEscaped(out, c);
        }
    }
    return out;
}

std::string RequestAddress(const std::string& url) {
    std::string out;
    for (char ch : Cp932ToUtf8(url)) {
        const auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c >= 0x7F || c == '"' || c == '<' || c == '>' || c == '`') {
            AppendEscaped(out, c);
        } else {
            out += ch;
        }
    }
    return out;
}

WebRecords::WebRecords(Engine& board, FileCommands& files, EventPort& events, ShellSettings& kept)
    : settings(kept), board_(board), files_(files), http_(events) {}

bool WebRecords::CanLoad() {
    if (board_.replayMode) return true;
    board_.dialogs().ShowMessage(kNotInReplayMode);
    return false;
}

void WebRecords::StartRequest(const std::string& url) {
    MessageArea& textWindow = board_.messages();
    textWindow.SetText(kReceiving);
    if (url.empty() || !net::IsWebAddress(url)) {
        // A new request replaces the one pending, even when it cannot start.
        http_.Cancel();
        textWindow.SetText(url.empty() ? kNoAddress : kNotWebAddress);
        if (finished) finished();
        return;
    }
    if (!dialUpStarted && !InternetConnectionUp()) dialUpStarted = true;
    const unsigned long recordsTaken = files_.recordsTaken;
    http_.Get(RequestAddress(url), [this, url, recordsTaken](const net::HttpResult& result) { Received(url, result, recordsTaken); });
}

void WebRecords::Received(const std::string& url, const net::HttpResult& result, unsigned long recordsTaken) {
    MessageArea& textWindow = board_.messages();
    // A record opened while this one was on its way is the one the user wants now.
    if (recordsTaken != files_.recordsTaken) {
        if (finished) finished();
        return;
    }
    // The user may have started creation mode, autoplay or the comment dialog while the record was on
    // its way: the record they work on stays.
    if (result.outcome == net::HttpOutcome::Success && (board_.Busy() || !CanLoad())) {
        textWindow.SetText(kCannotRead);
        if (finished) finished();
        return;
    }
    if (result.outcome != net::HttpOutcome::Success) {
        textWindow.SetText(result.outcome == net::HttpOutcome::ConnectionFailed ? kNoConnection : kCannotRead);
        if (finished) finished();
        return;
    }
    const std::string text = WithCrLfLineEnds(result.body);
    const bool holdsRecord = HoldsRecord(text);
    // The record it would replace may have been changed meanwhile: asked as opening asks.
    if (holdsRecord && !files_.AskToSave()) {
        textWindow.Clear();
        board_.ShowPositionComment();
        if (finished) finished();
        return;
    }
    // A page without a record leaves the record on the board as it is.
    const bool loaded = holdsRecord && LoadRecordText(board_, text);
    if (loaded) {
        board_.recordModified = false;
        files_.KeepLoadedText(text);
        files_.DropChatLog();
        // The address names the record in the caption and the recent files, but it is no file to
        // overwrite: saving asks for a name.
        files_.currentFileName = url;
        files_.RenewTitle();
        files_.currentFileName = kNoTitle;
        files_.recentFiles.Add(url);
    }
    if (!loaded) textWindow.SetText(kNoRecord + ShownPageText(text));
    settings.netKifu.MoveToFront(url);
    if (files_.changed) files_.changed();
    if (finished) finished();
}

void WebRecords::SendRecord(UrlOpener& opener) {
    if (board_.currentIndex == 0) return;
    MessageArea& textWindow = board_.messages();
    if (textWindow.Text().find("(;") == std::string::npos) {
        if (board_.branchCount > 0) {
            board_.dialogs().ShowMessage(kWriteFirst);
            return;
        }
        WriteCurrentLine(board_, false);
    }
    // The send address is the user's setting: only a web address goes to the browser.
    if (!net::IsWebAddress(settings.sendPath)) {
        board_.dialogs().ShowMessage(kBadSendPath);
        return;
    }
    const std::string url = settings.sendPath + "SGF=" + PercentEncode(textWindow.Text());
    if (url.size() > kLongestAddress) {
        board_.dialogs().ShowMessage(kTooLong);
        return;
    }
    if (!opener.OpenUrl(url)) board_.dialogs().ShowMessage(kNoBrowser);
}

}  // namespace quorvel
