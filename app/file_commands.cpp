#include "app/file_commands.h"

#include "formats/record_encoding.h"
#include "formats/sgf_writer.h"
#include "formats/text_board_reader.h"
#include "platform/file_io.h"

namespace quorvel {

const char* const kApplicationTitle = " Quorvel";
const char* const kNoTitle = "NoTitle";

namespace {

const char* const kCannotOverwrite = "同名のファイルが既に開かれているので、上書きできません。";
const char* const kNothingToSave = "保存する棋譜がありません。";

bool HoldsRecord(const std::string& text) { return text.find("(;") != std::string::npos; }

}  // namespace

std::string FileBytesOfText(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += "\r\n";
            ++i;
        } else if (text[i] == '\n' || text[i] == '\r') {
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    if (!out.empty() && out.compare(out.size() - 2, 2, "\r\n") != 0) out += "\r\n";
    return out;
}

std::string RecordFileBytes(const Engine& e, const std::string& text, std::string* usedEncoding) {
    return RecordBytesToSave(FileBytesOfText(text), e.recordEncoding, e.foreignCharacters.get(), usedEncoding);
}

namespace {

std::string WithSgfExtension(const std::string& path) {
    // Only the file's own name counts: folders often have dots in their names.
    const std::size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.find('.') == std::string::npos ? path + ".sgf" : path;
}

std::string TitleFor(const std::string& fileName) { return std::string(kApplicationTitle) + "  " + fileName; }

}  // namespace

std::string ChatLogName(const std::string& recordPath) {
    std::size_t keep = recordPath.size();
    if (keep >= 4) {
        std::string tail = recordPath.substr(keep - 4);
        for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (tail == ".sgf") keep -= 4;
    }
    return recordPath.substr(0, keep) + "Chat.dat";
}

FileCommands::FileCommands(Engine& board, FileDialogs& files, TitleRegistry& titles, Loader load)
    : board_(board), files_(files), titles_(titles), load_(std::move(load)) {
    // Until a record has a name, the window shows the application title alone and claims no title.
    caption = kApplicationTitle;
}

void FileCommands::RenewTitle() {
    const std::string title = TitleFor(currentFileName);
    titleIsUnique = !titles_.IsTakenByOther(title);
    caption = titleIsUnique ? title : title + " @";
    titles_.Claim(caption);
    if (changed) changed();
}

void FileCommands::KeepLoadedText(std::string source) {
    // The source is shown in the text window: a record in another encoding shows its real text there, with
    // the codes its load gave (the same bytes give the same codes).
    if (board_.recordEncoding.empty()) {
        lastLoadedText = std::move(source);
        return;
    }
    DecodedRecord decoded = DecodeRecordBytes(source);
    lastLoadedText = decoded.converted ? std::move(decoded.text) : std::move(source);
}

bool FileCommands::AskToSave() {
    if (!endingAsk || !board_.recordModified || !titleIsUnique) return true;
    const Answer answer = board_.dialogs().AskYesNoCancel(" 変更が加えられています。変更を保存しますか？",
                                                          "  Quorvel ： 棋譜保存の確認");
    switch (answer) {
        case Answer::No:
            // The changes stay marked until a record really replaces this one: the command may still not
            // go ahead (a dialog cancelled, a file or clipboard without a record), and closing must ask again.
            return true;
        case Answer::Yes:
            // A save that was cancelled or failed keeps the record and the question for next time.
            return KFSClick();
        case Answer::Cancel:
        default:
            return false;
    }
}

bool FileCommands::LoadFile(const std::string& path) {
    std::string text;
    std::string error;
    if (!ReadWholeFile(path, text, error)) {
        board_.dialogs().ShowMessage("ファイルを読み込めません。\r\n" + path + "\r\n" + error);
        return false;
    }
    // A file without a record leaves the record shown, so its name must not become the file to overwrite.
    if (!load_(board_, text)) return false;
    TakeLoadedFile(path, std::move(text));
    return true;
}

void FileCommands::TakeLoadedFile(const std::string& path, std::string source) {
    ++recordsTaken;
    currentFileName = path;
    RenewTitle();
    KeepLoadedText(std::move(source));
    board_.recordModified = false;
}

namespace {

const char kUtf8Mark[] = "\xEF\xBB\xBF";

// A chat file is Shift-JIS as the program always wrote it; a log holding characters Shift-JIS lacks is
// written in UTF-8 after a byte-order mark, so that they come back whatever the record's table is then.
std::string ChatFileBytes(const std::string& text, const ForeignCharacters* foreign) {
    if (!FirstForeignCharacter(text, foreign)) return text;
    return kUtf8Mark + UnicodeToUtf8(Cp932ToUnicode(text, foreign));
}

std::string ChatTextOfFile(const std::string& bytes, ForeignCharacters* foreign) {
    if (bytes.compare(0, 3, kUtf8Mark) != 0) return bytes;
    return Utf8ToCp932Exact(std::string_view(bytes).substr(3), foreign, nullptr);
}

}  // namespace

void FileCommands::LookForChatLog() {
    const std::string name = ChatLogName(currentFileName);
    std::string text;
    std::string error;
    chatFileRead_.reset();
    chatLogPresent = FileExists(name) && ReadWholeFile(name, text, error);
    if (!chatLogPresent) {
        if (chatLog_) chatLog_->ClearChatLog();
        return;
    }
    // A file of the older layout is kept in the current one from now on; a failed rewrite leaves it as it
    // was, and the converted text is shown all the same.
    ForeignCharacters* foreign = board_.foreignCharacters.get();
    const std::string shown = ChatTextOfFile(text, foreign);
    const std::string converted = ConvertChatBoardData(shown);
    if (converted != shown) {
        text = ChatFileBytes(converted, foreign);
        WriteFileAtomically(name, text, error);
    }
    if (!chatLog_) return;
    const bool whole = chatLog_->TakeChatFile(converted);
    chatFileRead_ = ChatFileRead{name, std::move(text), chatLog_->ChatFileText(), whole};
}

void FileCommands::SaveChatLog(const std::string& recordPath) {
    if (!chatLogPresent || !chatLog_) return;
    const std::string name = ChatLogName(recordPath);
    const std::string logText = chatLog_->ChatFileText();
    // A log unchanged since its file was read writes that file as it was, its line ends too; a file the log
    // could not read whole is never written over from it.
    const bool unchanged = chatFileRead_ && logText == chatFileRead_->text;
    std::string bytes = unchanged ? chatFileRead_->bytes : ChatFileBytes(logText, board_.foreignCharacters.get());
    if (chatFileRead_ && !unchanged && !chatFileRead_->whole) {
        board_.dialogs().ShowMessage("チャットログに読めない部分があるため、チャットログの変更は保存しません。元のファイルは変更されていません。\r\n" +
                                     chatFileRead_->path);
        if (name == chatFileRead_->path) return;
        bytes = chatFileRead_->bytes;
    }
    std::string error;
    if (!WriteFileAtomically(name, bytes, error)) {
        board_.dialogs().ShowMessage("チャットログを保存できません。元のファイルは変更されていません。\r\n" + name + "\r\n" +
                                     error);
    }
}

bool FileCommands::OpenPath(const std::string& path) {
    if (!LoadFile(path)) return false;
    FinishOpen(path);
    return true;
}

void FileCommands::OpenLoadedAhead(RecordLoadedAhead&& ahead) {
    board_.AdoptLoadedState(std::move(ahead.engine));
    board_.messages().SetText(ahead.messages.Text());
    TakeLoadedFile(ahead.path, std::move(ahead.source));
    FinishOpen(ahead.path);
}

void FileCommands::FinishOpen(const std::string& path) {
    recentFiles.Add(path);
    LookForChatLog();
    if (changed) changed();
}

bool FileCommands::KFNClick() {
    // Both modes throw the record shown away, so both ask.
    if (!AskToSave()) return false;
    board_.NewRecord();
    // The new record is built in creation mode, from an empty board with moves to enter.
    if (board_.replayMode) board_.SwitchToCreationMode();
    board_.recordModified = false;
    // A new record has no file yet: overwriting must not put it over the record that was open before.
    currentFileName = kNoTitle;
    DropChatLog();
    RenewTitle();
    return true;
}

void FileCommands::KFOClick() {
    if (!AskToSave()) return;
    const std::optional<std::string> path = files_.RunOpenDialog(openDialogDir);
    if (!path) return;
    if (OpenPath(*path)) openDialogDir = FolderOf(*path);
}

void FileCommands::ProduceSgfText() {
    MessageArea& textWindow = board_.messages();
    if (textWindow.Text().compare(0, 2, "(;") == 0) return;  // the user's own text, maybe edited
    if (board_.replayMode) {
        textWindow.Clear();
        AddVariationCommand(board_);
        if (textWindow.Text().empty()) WriteWholeRecord(board_, false);
    } else {
        WriteCurrentLine(board_, false);
    }
}

bool FileCommands::NothingToSave() const {
    // Creation mode with no entry yet writes no line, and the text window then holds no record either.
    return !board_.replayMode && board_.messages().Text().compare(0, 2, "(;") != 0 && CurrentLineText(board_).empty();
}

bool FileCommands::WriteRecord(const std::string& path) {
    // Characters shown as "?" because the user-defined area was full would be written as "?".
    if (board_.lostCharacters > 0 &&
        board_.dialogs().AskYesNoCancel(" この棋譜には「?」で表示している文字が " + std::to_string(board_.lostCharacters) +
                                            " 字あります。保存すると、それらの文字は「?」になります。保存しますか？",
                                        "  Quorvel ： 棋譜保存の確認") != Answer::Yes) {
        return false;
    }
    MessageArea& textWindow = board_.messages();
    const std::string kept = textWindow.Text();
    ProduceSgfText();
    // Whatever else the text window holds (a message, an empty window) is no record: writing it would
    // empty the file of the record it holds.
    if (!HoldsRecord(textWindow.Text())) {
        textWindow.SetText(kept);
        board_.dialogs().ShowMessage(kNothingToSave);
        return false;
    }
    std::string error;
    std::string encoding;
    const std::string bytes = RecordFileBytes(board_, textWindow.Text(), &encoding);
    const bool written = WriteFileAtomically(path, bytes, error);
    textWindow.SetText(kept);
    if (written) board_.recordEncoding = encoding;
    if (!written) {
        board_.dialogs().ShowMessage("棋譜を保存できません。元のファイルは変更されていません。\r\n" + path + "\r\n" + error);
        return false;
    }
    board_.recordModified = false;
    SaveChatLog(path);
    return true;
}

bool FileCommands::KFSClick() {
    // No name is asked for a record that is not there.
    if (NothingToSave()) {
        board_.dialogs().ShowMessage(kNothingToSave);
        return false;
    }
    const std::optional<std::string> chosen = files_.RunSaveDialog(saveDialogDir);
    if (!chosen) return false;
    const std::string path = WithSgfExtension(*chosen);
    // Another running copy showing this file would overwrite it again with its own record.
    if ((path == currentFileName && !titleIsUnique) || titles_.IsTakenByOther(TitleFor(path))) {
        board_.dialogs().ShowMessage(kCannotOverwrite);
        return false;
    }
    if (!WriteRecord(path)) return false;
    currentFileName = path;
    saveDialogDir = FolderOf(path);
    recentFiles.Add(path);
    RenewTitle();
    return true;
}

bool FileCommands::KFWClick() {
    if (currentFileName == kNoTitle) return KFSClick();
    if (!titleIsUnique) {
        board_.dialogs().ShowMessage(kCannotOverwrite);
        return false;
    }
    return WriteRecord(currentFileName);
}

}  // namespace quorvel
