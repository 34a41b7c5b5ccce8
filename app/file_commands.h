// The file commands of the main window: new record (KFN), open (KFO), save under a new name (KFS),
// overwrite (KFW), the question about unsaved changes, the window title and the chat-log companion file.
// Records are read whole and handed to the SGF loader; they are written from the text window, the staging
// area of every text output.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/recent_files.h"
#include "core/engine.h"
#include "platform/title_registry.h"

namespace quorvel {

extern const char* const kApplicationTitle;  // " Quorvel"
extern const char* const kNoTitle;           // "NoTitle"

// The text window's lines as a file holds them: every line ended by CR LF, the last one too.
std::string FileBytesOfText(const std::string& text);
// The bytes a save writes of the SGF text `text` for the record `e`: its lines ended as above, in the
// record's own encoding, its foreign characters kept (`usedEncoding` as RecordBytesToSave says).
std::string RecordFileBytes(const Engine& e, const std::string& text, std::string* usedEncoding = nullptr);

// The chat-log file of a record file: its name without ".sgf" (in either case), then "Chat.dat". A name
// without that extension keeps all of it, so records of other names never share one chat file.
std::string ChatLogName(const std::string& recordPath);

// The chat log beside a record, kept by the net game log window: the file commands hand it each chat file
// they read and take from it the text they write beside a saved record.
class ChatLogKeeper {
public:
    virtual ~ChatLogKeeper() = default;
    // A chat file was read (already converted from the older layout); false when the log could not keep
    // all the file held.
    virtual bool TakeChatFile(const std::string& fileText) = 0;
    // The record has no chat file.
    virtual void ClearChatLog() = 0;
    // What the chat file holds now.
    virtual std::string ChatFileText() const = 0;
};

// A record file read and loaded on a thread of its own (StartupRecord), into an engine of its own that
// had the settings file read into it first, as the board's engine has when it loads.
struct RecordLoadedAhead {
    std::string path;
    std::string source;  // the file's bytes
    MemoryMessageArea messages;
    MemoryDialogs dialogs;
    Engine engine{messages, dialogs};
};

class FileCommands {
public:
    // Reads a record text into the board's engine; false when the text holds no record and the record shown
    // stays.
    using Loader = std::function<bool(Engine&, const std::string&)>;

    // `load` is the SGF loader.
    FileCommands(Engine& board, FileDialogs& files, TitleRegistry& titles, Loader load);

    std::string currentFileName = kNoTitle;
    bool titleIsUnique = true;
    bool endingAsk = false;
    std::string openDialogDir;
    std::string saveDialogDir;
    RecentFiles recentFiles;
    bool chatLogPresent = false;
    // Counts the records that replaced the shown one (opened, made new, pasted, loaded from the web): a web
    // load that a later one overtook finds the count changed and leaves the record alone.
    unsigned long recordsTaken = 0;
    std::string lastLoadedText;  // the source of the last record read, in the program's Shift-JIS

    // Keeps the bytes of the record just loaded as lastLoadedText, converted as the load converted them.
    void KeepLoadedText(std::string source);
    std::string caption;         // the main window's title, in the file system's encoding

    // Called after anything that changes the caption or the recent files.
    std::function<void()> changed;
    // Where chat files go when read and come from when saved; none keeps them untouched.
    void SetChatLogKeeper(ChatLogKeeper* keeper) { chatLog_ = keeper; }
    // A record that replaced the shown one by another road than its own file (a new record, the clipboard,
    // a web address) has no chat log: the old one must neither be shown nor saved beside it.
    void DropChatLog() {
        ++recordsTaken;
        chatLogPresent = false;
        chatFileRead_.reset();
        if (chatLog_) chatLog_->ClearChatLog();
    }

    // The question about unsaved changes; true to go on, false to stop. It leaves `recordModified` set
    // (unless Yes saved the record): the command that goes on clears it when it replaces the record.
    bool AskToSave();
    // Loads a file by name: the record, then currentFileName, the title, recent files and its chat log.
    // False when it could not be read (a message said why) or held no record: then nothing changes.
    bool OpenPath(const std::string& path);
    // Opens a record that was read and loaded ahead, as OpenPath opens its path: the board's engine takes
    // the loaded state and the message area what the load said. Only for a load that found a record and
    // asked nothing.
    void OpenLoadedAhead(RecordLoadedAhead&& ahead);

    // Steps 1 to 3 of a new record; false when the save question stopped it.
    bool KFNClick();
    void KFOClick();
    // Save as and overwrite; true when the record was written.
    bool KFSClick();
    bool KFWClick();

    void RenewTitle();

private:
    bool LoadFile(const std::string& path);
    // The file's record is in the board: its name, the title, the kept source, no changes yet.
    void TakeLoadedFile(const std::string& path, std::string source);
    // After a record was opened by name: the recent files, its chat log, the windows.
    void FinishOpen(const std::string& path);
    void LookForChatLog();
    void ProduceSgfText();
    // True when a save would have no record to write.
    bool NothingToSave() const;
    bool WriteRecord(const std::string& path);
    void SaveChatLog(const std::string& recordPath);

    Engine& board_;
    FileDialogs& files_;
    TitleRegistry& titles_;
    Loader load_;
    ChatLogKeeper* chatLog_ = nullptr;
    // The chat file read with the record: where from, its bytes (after the older layout's conversion),
    // the text the log gave for it right after reading, and whether the log kept all it held.
    struct ChatFileRead {
        std::string path;
        std::string bytes;
        std::string text;
        bool whole = true;
    };
    std::optional<ChatFileRead> chatFileRead_;
};

}  // namespace quorvel
