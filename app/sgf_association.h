// The ".sgf" association on a Linux desktop: the files that make the desktop open SGF files with the
// program. The handler is a desktop entry "quorvel.desktop" in $XDG_DATA_HOME/applications naming the
// program; the default is its line under "[Default Applications]" of $XDG_CONFIG_HOME/mimeapps.list; the
// MIME type "application/x-go-sgf" is added to $XDG_DATA_HOME/mime where the system lacks it. No file
// outside the user's own folders is touched.
#pragma once

#include <string>
#include <vector>

namespace quorvel {

extern const char* const kSgfMimeType;      // "application/x-go-sgf"
extern const char* const kDesktopFileName;  // "quorvel.desktop"

// The XDG base folders, as the desktop finds its files.
struct DesktopFolders {
    std::string dataHome;                 // $XDG_DATA_HOME, else ~/.local/share
    std::vector<std::string> dataDirs;    // $XDG_DATA_DIRS, else /usr/local/share and /usr/share
    std::string configHome;               // $XDG_CONFIG_HOME, else ~/.config
    std::vector<std::string> configDirs;  // $XDG_CONFIG_DIRS, else /etc/xdg

    static DesktopFolders FromEnvironment();
};

// The desktop file the desktop takes as the default application of SGF files, found as xdg-mime finds it:
// the mimeapps.list files (the user's configuration first, then the system's, then the applications
// folders), then defaults.list and the MIME cache of each applications folder, then the installed entries
// listing the type; empty when there is none. This is what "the association exists" means.
std::string DefaultSgfApplication(const DesktopFolders& folders);
inline bool AssociationExists(const DesktopFolders& folders) { return !DefaultSgfApplication(folders).empty(); }

// The program the default application's desktop entry runs (its Exec line without the arguments), or
// "不明" when there is no such entry.
std::string ReadAssociationCommand(const DesktopFolders& folders);

// The start-up check: SGF files already open with this program (the default's command names "ZarnShow",
// in any letter case).
bool AssociatedWithProgram(const DesktopFolders& folders);

// Writes the association for the program `executable` (an absolute path) with the picture `icon`: the
// desktop entry first, then the default, then the MIME type if the system lacks it. Every file is replaced
// in one step; when any of them cannot be written, those written before are put back as they were and
// false is returned with the reason in `error`.
bool WriteAssociation(const DesktopFolders& folders, const std::string& executable, const std::string& icon,
                      std::string& error);

// The pieces, for the tests and for the installed desktop entry.
// An Exec line's program: as it is when the desktop would read it whole, otherwise quoted and escaped as
// desktop entries require ("%" doubled, backslashes escaped for the value).
std::string DesktopExecProgram(const std::string& path);
// The desktop entry's text (UTF-8).
std::string DesktopEntryText(const std::string& executable, const std::string& icon);
// `text` of a mimeapps.list with SGF files defaulting to quorvel.desktop; every other line is kept.
std::string WithSgfDefault(const std::string& text);
// The MIME package naming "application/x-go-sgf" for "*.sgf".
std::string SgfMimePackageText();

}  // namespace quorvel
