// The main window's text commands: KKT writes the text board of the line, KKB the text board of a range
// picked on the secondary board, KVS reads a record from the clipboard. The secondary board's board
// comments go into the chat log it keeps, and the record then has a chat log.
#include "app/clipboard_read.h"
#include "app/gui/main_window.h"
#include "auxiliary/gui/secondary_board_window.h"
#include "formats/text_board.h"

namespace quorvel {

void TForm1::SetUpTextCommands() {
    Wire("KKT", &TForm1::KKTClick);
    Wire("KKB", &TForm1::KKBClick);
    Wire("KVS", &TForm1::KVSClick);
}

void TForm1::KKTClick() { WriteTextBoard(board()); }

void TForm1::KKBClick() {
    if (!Form6()->PickTextBoardRange(board())) return;
    const RangePick& range = Form6()->board().range;
    WriteTextBoardRange(board(), range.anchor, range.far);
}

void TForm1::KVSClick() {
    if (ReadClipboard(*files_, board(), clipboard_, textBoardBlackFirst_)) Redraw();
}

}  // namespace quorvel
