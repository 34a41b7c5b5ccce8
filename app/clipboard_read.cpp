#include "app/clipboard_read.h"

#include "formats/text_board_reader.h"

namespace quorvel {

const char* const kPastedCaption = " Quorvel [Quorvel]";

bool ReadClipboard(FileCommands& files, Engine& board, const Clipboard& clipboard, bool textBoardBlackFirst) {
    if (!files.AskToSave()) return false;
    const std::string text = clipboard.Text();
    if (text.empty()) {
        board.messages().SetText(kNothingInClipboard);
        return false;
    }
    board.messages().Clear();
    if (LoadPastedText(board, text, textBoardBlackFirst) == PastedKind::Unreadable) return false;
    files.currentFileName = kNoTitle;
    files.titleIsUnique = true;
    files.DropChatLog();
    files.lastLoadedText = text;
    files.caption = kPastedCaption;
    board.recordModified = false;
    if (files.changed) files.changed();
    return true;
}

}  // namespace quorvel
