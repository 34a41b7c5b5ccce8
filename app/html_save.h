// The record as an HTML page: the automatic export of the save name after every record copied to the
// clipboard (the page and its SGF copy in the HTML and SGF folders), and the command "HTMLファイルとして
// 保存" (KVT), which writes what the text window holds as a page under a name the user picks, with the
// chat log's page beside it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "app/shell_settings.h"
#include "core/engine.h"

namespace quorvel {

// Said when a save name is not one plain file name.
extern const char* const kSaveNameRefused;
// Said when the text window holds neither a record nor a text board.
extern const char* const kNothingToSaveAsHtml;

// The save name of the main window, as the program's text (the page's title) and as a file name.
struct SaveName {
    std::string text;
    std::string fileName;
};

// Exports the record after each copy when the save name is set: `dataFolder` holds the "SGF" and "HTML"
// folders. A name with a folder or an extension is refused with a message.
class SaveNameExport : public HtmlExport {
  public:
    SaveNameExport(const ShellSettings& shell, std::string dataFolder, std::function<SaveName()> saveName)
        : shell_(shell), dataFolder_(std::move(dataFolder)), saveName_(std::move(saveName)) {}
    void ExportHtmlPage(Engine& e) override;

  private:
    const ShellSettings& shell_;
    std::string dataFolder_;
    std::function<SaveName()> saveName_;
};

// The HTML save dialog: the chosen path, or nothing when cancelled.
using HtmlSaveDialog = std::function<std::optional<std::string>(const std::string& startFolder)>;

// The record's net game log, for its page beside the HTML page: the log text as the log window shows it and
// the store of its board diagrams (empty when it has none).
struct ChatPageLog {
    std::string logText;
    std::string diagrams;
};

// KVT. With a chat log, its page is written beside the page. The record's modified flag is left alone: no
// record file is written here. True when the page was written.
bool SaveHtmlPage(Engine& e, ShellSettings& shell, const HtmlSaveDialog& dialog,
                  const std::optional<ChatPageLog>& chatLog);

// The shell's default action on a file (a browser for a page), run in a working folder; false when nothing
// took the file.
using FileOpener = std::function<bool(const std::string& path, const std::string& workingFolder)>;

// KVH: the HTML file the dialog picks (starting in htmlOpenDialogDir) is handed to the opener with its own
// folder as the working folder, and that folder becomes htmlOpenDialogDir.
enum class HtmlOpened { Cancelled, Opened, NotOpened };
HtmlOpened OpenHtmlFile(ShellSettings& shell, const HtmlSaveDialog& dialog, const FileOpener& opener);

// The page's title from its path: the file's name without its folder and its extension.
std::string PageTitleOf(const std::string& path);

}  // namespace quorvel
