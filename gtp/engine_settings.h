// The engine's own settings file, "Engine.dat", in the folder of "Zarn.dat" (app/settings_file.h's
// SettingsFolder). It is a file of its own so that Zarn.dat keeps exactly the bytes the program has always
// written. Lines of "Key[value]" ended by CR LF like Zarn.dat's: "Command" (the engine's command line, empty
// for GNU Go) and "Level" (GNU Go's strength, 0 to 10).
#pragma once

#include <string>

namespace quorvel::gtp {

extern const char* const kEngineSettingsFileName;  // "Engine.dat"

struct EngineSettings {
    std::string command;  // empty: GNU Go at `level`
    int level = 10;       // GNU Go's own default level
};

// The command line to start: the user's, else GNU Go in GTP mode at the level.
std::string EngineCommandLine(const EngineSettings& settings);

// The file's text for the settings.
std::string EngineSettingsText(const EngineSettings& settings);

// Reads the text: a missing or unreadable key keeps its value; a level outside 0..10 is brought inside.
void ReadEngineSettingsText(const std::string& text, EngineSettings& settings);

// The settings of `folder`'s Engine.dat; the defaults when there is none.
EngineSettings LoadEngineSettings(const std::string& folder);

// Replaces the folder's Engine.dat. False with the reason in `error`; the old file is then unchanged.
bool SaveEngineSettings(const std::string& folder, const EngineSettings& settings, std::string& error);

}  // namespace quorvel::gtp
