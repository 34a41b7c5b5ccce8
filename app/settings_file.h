// The settings file "Zarn.dat": every option, the dialog folders and the four short lists, read once at
// start-up and written once at close. The file is Shift-JIS text of "Key[value]" lines ended by CR LF, in
// one fixed order; a key counts only at the start of a line, and its value runs to the last "]" of that
// line, so that a path holding "]" (or the second byte of "ゾ") comes back whole.
#pragma once

#include <string>

#include "app/file_commands.h"
#include "app/shell_settings.h"
#include "core/engine.h"

namespace quorvel {

extern const char* const kSettingsFileName;  // "Zarn.dat"

// The owners of what the file keeps: the board window's options and hint switch, the file commands'
// "EndingAsk", open and save folders and recent files, and the rest of the main window's state.
struct SettingsOwners {
    Engine& board;
    FileCommands& files;
    ShellSettings& shell;
};

// Where the file and the "SGF" and "HTML" folders live: the program folder when it is writable, otherwise
// $XDG_CONFIG_HOME/quorvel/ (~/.config/quorvel/ without it). Ends with "/".
std::string SettingsFolder(const std::string& programFolder);

// The file's bytes for the settings in force. Dialog folders not yet set are written as their defaults in
// `dataFolder` ("SGF/", "HTML/", "BMP/").
std::string SettingsFileText(const SettingsOwners& owners, const std::string& dataFolder);

// Reads a file's text into the owners: keys that are missing, empty or unreadable keep their current
// values. Each dialog folder becomes the value read or its default. False when some line of the text is
// not a setting line (a damaged file); everything readable is still taken.
bool ReadSettingsText(const std::string& text, const SettingsOwners& owners, const std::string& dataFolder);

// Start-up: creates the "SGF" and "HTML" folders in `dataFolder` and reads its "Zarn.dat", if any. Returns
// a message for the user when the file could not be read whole, else an empty text.
std::string LoadSettingsFile(const std::string& dataFolder, const SettingsOwners& owners);

// Close: replaces "Zarn.dat" in `dataFolder` in one step. Returns a message for the user when that failed
// (the old file is then unchanged), else an empty text.
std::string SaveSettingsFile(const std::string& dataFolder, const SettingsOwners& owners);

}  // namespace quorvel
