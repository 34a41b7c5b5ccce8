#include "app/clipboard_read.h"

#include "formats/text_board_reader.h"

namespace quorvel {

const char* const kPastedCaption = " Quorvel [Quorvel]";

bool ReadClipboard(FileCommands& files, Engine& board, const Clipboard& clipboard, bool textBoardBlackFirst) {
    if (!files.AskToSave()) return false;
    // Unicode already: the record it becomes holds its characters in a table of its own, not in codes of
    // the record it replaces.
    DecodedRecord pasted = DecodeUnicodeText(clipboard.UnicodeText());
    if (pasted.text.empty()) {
        board.messages().SetText(kNothingInClipboard);
        return false;
    }
    board.messages().Clear();
    const std::string text = pasted.text;
    if (LoadPastedText(board, std::move(pasted), textBoardBlackFirst) == PastedKind::Unreadable) return false;
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
