#include "app/html_save.h"

#include "app/file_commands.h"
#include "formats/html_page.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"

namespace quorvel {

const char* const kSaveNameRefused =
    "保存名には、フォルダ名や拡張子 ( / や . ) のないファイル名を入れてください。";
const char* const kNothingToSaveAsHtml = "[Add] か [SGF] か [Text B] を押してから保存出来ます。";

namespace {

// A written file, or the reason it was not written said to the user.
bool WritePage(Engine& e, const std::string& path, const std::string& bytes) {
    std::string error;
    if (WriteFileAtomically(path, bytes, error)) return true;
    e.dialogs().ShowMessage("ファイルを保存できません。\r\n" + Utf8ToCp932(path) + "\r\n" + error);
    return false;
}

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The path without the extension of the file's own name (a dot in a folder's name is no extension).
std::string WithoutExtension(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path;
    return path.substr(0, dot);
}

}  // namespace

std::string PageTitleOf(const std::string& path) {
    return Utf8ToCp932(FileNameOf(WithoutExtension(path)));
}

void SaveNameExport::ExportHtmlPage(Engine& e) {
    const SaveName name = saveName_();
    if (name.fileName.empty()) return;
    if (!IsPlainSaveName(name.fileName)) {
        e.dialogs().ShowMessage(kSaveNameRefused);
        return;
    }
    const std::string sgf = e.messages().Text();
    const std::string sgfFolder = dataFolder_ + "SGF/";
    const std::string htmlFolder = dataFolder_ + "HTML/";
    MakeFolders(sgfFolder);
    MakeFolders(htmlFolder);
    // The SGF copy first: a page never names a record that is not there.
    if (!WritePage(e, sgfFolder + name.fileName + ".sgf", RecordFileBytes(e, sgf))) return;
    const std::string page =
        ExportPageText(name.text, sgf, e.boardSize, shell_.html, AppletParams(e, shell_.advanceMoves),
                       e.foreignCharacters.get());
    WritePage(e, htmlFolder + name.fileName + ".html", PageBytes(page, e.foreignCharacters.get()));
}

bool SaveHtmlPage(Engine& e, ShellSettings& shell, const HtmlSaveDialog& dialog,
                  const std::optional<ChatPageLog>& chatLog) {
    const std::string text = e.messages().Text();
    if (HtmlSourceOf(text) == HtmlSource::None) {
        e.dialogs().ShowMessage(kNothingToSaveAsHtml);
        return false;
    }
    std::optional<std::string> chosen = dialog(shell.htmlSaveDialogDir);
    if (!chosen || chosen->empty()) return false;
    std::string path = *chosen;
    // The dialog's default extension, for a name typed without one.
    if (FileNameOf(path).find('.') == std::string::npos) path += ".html";
    shell.htmlSaveDialogDir = FolderOf(path);
    const std::string page =
        SavedPageText(PageTitleOf(path), text, e.boardSize, shell.html, AppletParams(e, shell.advanceMoves),
                      e.foreignCharacters.get());
    if (!WritePage(e, path, PageBytes(page, e.foreignCharacters.get()))) return false;
    if (!chatLog) return true;
    const std::string chatPath = WithoutExtension(path) + "Chat.html";
    WritePage(e, chatPath,
              PageBytes(ChatPageText(Utf8ToCp932(FileNameOf(chatPath)), chatLog->logText, chatLog->diagrams, shell.html),
                        e.foreignCharacters.get()));
    return true;
}

HtmlOpened OpenHtmlFile(ShellSettings& shell, const HtmlSaveDialog& dialog, const FileOpener& opener) {
    const std::optional<std::string> chosen = dialog(shell.htmlOpenDialogDir);
    if (!chosen) return HtmlOpened::Cancelled;
    shell.htmlOpenDialogDir = FolderOf(*chosen);
    return opener(*chosen, shell.htmlOpenDialogDir) ? HtmlOpened::Opened : HtmlOpened::NotOpened;
}

}  // namespace quorvel
