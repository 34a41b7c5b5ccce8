#include "gtp/engine_settings.h"

#include <algorithm>
#include <cstdlib>

#include "platform/file_io.h"

namespace quorvel::gtp {

const char* const kEngineSettingsFileName = "Engine.dat";

namespace {

constexpr int kLowestLevel = 0;
constexpr int kHighestLevel = 10;

// The value of "Key[value]" at the start of a line of `text`; the value runs to the last "]" of its line,
// so a command line holding "]" comes back whole.
bool Value(const std::string& text, const std::string& key, std::string& value) {
    const std::string head = key + "[";
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t close = line.rfind(']');
        if (line.compare(0, head.size(), head) == 0 && close != std::string::npos && close >= head.size()) {
            value = line.substr(head.size(), close - head.size());
            return true;
        }
        start = end + 1;
    }
    return false;
}

std::string FileIn(const std::string& folder) {
    std::string path = folder;
    if (!path.empty() && path.back() != '/') path += '/';
    return path + kEngineSettingsFileName;
}

}  // namespace

std::string EngineCommandLine(const EngineSettings& settings) {
    if (settings.command.find_first_not_of(" \t") != std::string::npos) return settings.command;
    return "gnugo --mode gtp --level " + std::to_string(settings.level);
}

std::string EngineSettingsText(const EngineSettings& settings) {
    return "Command[" + settings.command + "]\r\nLevel[" + std::to_string(settings.level) + "]\r\n";
}

void ReadEngineSettingsText(const std::string& text, EngineSettings& settings) {
    std::string value;
    if (Value(text, "Command", value)) settings.command = value;
    if (Value(text, "Level", value)) {
        char* end = nullptr;
        const long level = std::strtol(value.c_str(), &end, 10);
        if (end != value.c_str() && *end == '\0') {
            settings.level = static_cast<int>(std::clamp<long>(level, kLowestLevel, kHighestLevel));
        }
    }
}

EngineSettings LoadEngineSettings(const std::string& folder) {
    EngineSettings settings;
    std::string text;
    std::string error;
    if (FileExists(FileIn(folder)) && ReadWholeFile(FileIn(folder), text, error)) {
        ReadEngineSettingsText(text, settings);
    }
    return settings;
}

bool SaveEngineSettings(const std::string& folder, const EngineSettings& settings, std::string& error) {
    return WriteFileAtomically(FileIn(folder), EngineSettingsText(settings), error);
}

}  // namespace quorvel::gtp
