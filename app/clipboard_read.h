// "クリップボードから読み込む" (KVS): a record pasted from the clipboard, as SGF, a diagram text or a text
// board. A pasted record has no file: it is "NoTitle", so that overwriting asks for a name instead of
// putting it over the file that was open before.
#pragma once

#include "app/file_commands.h"

namespace quorvel {

extern const char* const kPastedCaption;  // " Quorvel [Quorvel]"

// Asks about unsaved changes, then loads the clipboard's text. True when a record was read; otherwise the
// text window says why ("Nothing in Clipbord", "No datas to read") and the record and its file stay.
bool ReadClipboard(FileCommands& files, Engine& board, const Clipboard& clipboard, bool textBoardBlackFirst);

}  // namespace quorvel
