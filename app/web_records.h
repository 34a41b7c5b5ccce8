// Records on the web: loading a record from a web address (KNR, and a recent file that is an address) and
// sending the record to the web service by opening the send address in the desktop's browser (KNN).
// A load runs off the user-interface thread; its outcome arrives through the event port and replaces the
// record only when a record came. Nothing received is written to disk.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "app/file_commands.h"
#include "app/shell_settings.h"
#include "net/http_client.h"
#include "platform/event_port.h"
#include "platform/url_opener.h"

namespace quorvel {

extern const char* const kNotInReplayMode;   // "Showモードにしてからファイルを読み込めます"

// Every line end of a received text made CR LF: LF, CR LF and CR CR LF alike.
std::string WithCrLfLineEnds(const std::string& text);

// The bytes of `text` as they may stand in an address: unreserved characters as they are, every other
// byte as "%" and two hexadecimal digits.
std::string PercentEncode(const std::string& text);

// The address as a browser requests it: the typed address (Shift-JIS, as the address lists keep it) in
// UTF-8, every byte beyond ASCII, every control character and blank, and '"', '<', '>', '`' as "%" and two
// hexadecimal digits; escapes already typed stay as they are.
std::string RequestAddress(const std::string& url);

// A received page without a record as the text window shows it: lines longer than kLongestShownLine cut
// with " ・・・", the page cut after kLongestShownPage bytes, and when anything was cut a last line that
// says so. The window lays out what it is given on the window thread, and a long text (a long line above
// all) holds the windows for minutes.
constexpr std::size_t kLongestShownPage = 64 * 1024;
constexpr std::size_t kLongestShownLine = 1024;
std::string ShownPageText(const std::string& page);

class WebRecords {
public:
    static constexpr std::size_t kLongestAddress = 65536;  // what a browser and its command line carry

    // `settings` holds the web-record addresses of Form11 and the send address, kept in the settings file.
    WebRecords(Engine& board, FileCommands& files, EventPort& events, ShellSettings& settings);

    ShellSettings& settings;
    bool dialUpStarted = false;  // the connection was found down during a load; there is nothing to hang up
    net::HttpOptions& httpOptions() { return http_.options; }
    // Called when a load has ended, whatever its outcome (the windows redraw and refill their lists).
    std::function<void()> finished;

    // False, after telling the user, unless a record may be loaded now (replay mode only).
    bool CanLoad();
    // Starts loading the record at `url`; a load still pending is dropped. The text window says what is
    // going on.
    void StartRequest(const std::string& url);
    bool Loading() const { return http_.Busy(); }

    // KNN: opens the send address with the record in the browser, or says why not.
    void SendRecord(UrlOpener& opener);

private:
    // `recordsTaken`: the file commands' count when the load started.
    void Received(const std::string& url, const net::HttpResult& result, unsigned long recordsTaken);

    Engine& board_;
    FileCommands& files_;
    net::HttpClient http_;
};

}  // namespace quorvel
