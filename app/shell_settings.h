// What the main window keeps between runs besides the file commands' own state: the HTML page settings,
// the mail settings, the net game log window's size, the send and web-record address lists and three of
// the five dialog folders. The settings file reads and writes them; the windows of the Parts that use
// them read them here.
#pragma once

#include <array>
#include <string>

namespace quorvel {

// The record-sending CGI and a sample record on the program's web host.
extern const char* const kDefaultSendUrl;
extern const char* const kSampleRecordUrl;

// Five entries with a count, slot 1 the newest, kept in move-to-front order.
struct FiveEntryList {
    static constexpr int kSlots = 5;
    std::array<std::string, kSlots> entries;
    int count = 0;

    const std::string& Slot(int k) const { return entries[static_cast<std::size_t>(k - 1)]; }
    // Puts `entry` in slot 1: an entry already among the first `count` slots moves there, a new one pushes
    // the others down (the fifth drops off). True when the list changed.
    bool MoveToFront(const std::string& entry);
};

struct HtmlSettings {
    std::string appCodeBase = "MyZarn";
    std::string appWidth = "454";
    std::string appHeight = "494";
    std::string htmlColor = "f8e0e0";  // page background, six hexadecimal digits
};

struct MailSettings {
    std::string mailTo;  // the current recipient
    std::string mailFrom;
    std::string mailServer;
    std::string userID;
    bool attached = true;  // attach the record
    FiveEntryList recipients;

    // After a mail went out: a recipient that differs from every stored entry becomes entry 1 and the
    // current recipient, and the fifth entry drops out. An empty one, or one already stored, changes
    // nothing (unlike the address lists, a known recipient does not move up).
    void RememberRecipient(const std::string& to);
};

struct ShellSettings {
    // The settings dialog's own copy of AdvanceMoves, which the file keeps: the user's choice, whatever the
    // GO property of a record loaded since has done to the board window's.
    bool advanceMoves = false;
    HtmlSettings html;
    MailSettings mail;
    int chatWindowSize = 0;  // width * 10000 + height of the net game log window; 0 = not set
    std::string sendPath = kDefaultSendUrl;
    FiveEntryList sendPaths{{kDefaultSendUrl, "path2", "path3", "path4", "path5"}, 1};
    FiveEntryList netKifu{{kSampleRecordUrl, "", "", "", ""}, 1};
    // Start folders of the HTML open and save dialogs and the board-picture dialog; empty until a settings
    // file names them or the dialog is first used (the system chooses).
    std::string htmlOpenDialogDir;
    std::string htmlSaveDialogDir;
    std::string openPictureDialogDir;
};

// Six hexadecimal digits, as a page colour must be written.
bool IsHtmlColour(const std::string& text);
// Decimal digits only (at most five), as an applet size must be written.
bool IsPlainNumber(const std::string& text);

}  // namespace quorvel
