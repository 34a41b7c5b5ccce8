#include "app/startup_record.h"

#include "app/settings_file.h"
#include "formats/sgf_reader.h"
#include "platform/file_io.h"

namespace quorvel {

std::string RecordPathOf(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return std::string();
    if (arguments.size() == 2) return arguments[0] + ' ' + arguments[1];
    return arguments[0];
}

StartupRecord::StartupRecord(std::string path, std::string settingsFolder)
    : path_(std::move(path)), settingsFolder_(std::move(settingsFolder)) {
    if (!path_.empty()) thread_ = std::thread([this] { Load(); });
}

StartupRecord::~StartupRecord() {
    if (thread_.joinable()) thread_.join();
}

void StartupRecord::Load() {
    auto ahead = std::make_unique<RecordLoadedAhead>();
    ahead->path = path_;
    // The load reads some settings (AdvanceMoves, the hints) and a record's GO sets two, so the engine
    // holds what the settings file gives the board's engine before it loads. Nothing here is kept but the
    // engine's own settings; the settings file is read for the windows as always.
    std::string text;
    std::string error;
    const std::string settingsPath = settingsFolder_ + kSettingsFileName;
    if (!settingsFolder_.empty() && FileExists(settingsPath) && ReadWholeFile(settingsPath, text, error)) {
        AnsweredFileDialogs noDialogs;
        TitleRegistry titles;
        FileCommands files(ahead->engine, noDialogs, titles, nullptr);
        ShellSettings shell;
        ReadSettingsText(text, {ahead->engine, files, shell}, settingsFolder_);
    }
    if (!ReadWholeFile(path_, ahead->source, error)) return;
    if (!LoadRecordText(ahead->engine, ahead->source)) return;
    if (!ahead->dialogs.shown.empty() || !ahead->dialogs.asked.empty()) return;
    loaded_ = std::move(ahead);
}

std::unique_ptr<RecordLoadedAhead> StartupRecord::Take(const std::string& path, const std::string& settingsFolder) {
    if (thread_.joinable()) thread_.join();
    if (path != path_ || settingsFolder != settingsFolder_) loaded_.reset();
    return std::move(loaded_);
}

}  // namespace quorvel
