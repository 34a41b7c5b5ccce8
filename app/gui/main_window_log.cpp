// The main window's part in the net game log: Form10 keeps the chat log the file commands read and write,
// opens from the board window's sign, comes forward with Ctrl+Tab, and shows each board comment added.
#include <algorithm>

#include "app/gui/main_window.h"
#include "auxiliary/gui/log_window.h"
#include "auxiliary/gui/secondary_board_window.h"

namespace quorvel {

void TForm1::SetUpLogWindow() {
    Form10 = new TForm10(Form6->chatLog(), clipboard_, programDir_);
    if (shell_.chatWindowSize > 0) Form10->resize(shell_.chatWindowSize / 10000, shell_.chatWindowSize % 10000);
    Form10->resized = [this](int width, int height) { shell_.chatWindowSize = width * 10000 + height; };
    files_->SetChatLogKeeper(Form10);
    Form6->chatBoardText = [this] { return Form10->logBoard().diagramText; };
    connect(Form2, &TForm2::netGameLogRequested, this, [this] { Form10->ToggleShown(board().boardSize); });
    connect(Form2, &TForm2::netGameLogActivationRequested, this, [this] {
        if (Form10->isVisible()) Form10->activateWindow();
    });
    Form10->editRequested = [this] {
        const LogSelection& selected = Form10->selection();
        const std::string& text = Form10->log().logText;
        const std::size_t length = selected.separator ? 0 : std::min(selected.end, text.size()) - selected.start;
        Form6->EditChatComment(board(), Form10->logBoard().board, LogEntryComment(text, selected), selected.start,
                               length, selected.diagram);
    };
    Form10->mainWindowRequested = [this] {
        raise();
        activateWindow();
    };
}

void TForm1::BoardCommentAdded() {
    files_->chatLogPresent = true;
    Form2->SetChatLogShown(true);
    Form10->ReloadLog();
    Form10->showNormal();
    Form10->raise();
    Redraw();
}

void TForm1::StopLogWindow() {
    if (!Form10) return;
    files_->SetChatLogKeeper(nullptr);
    delete Form10;
    Form10 = nullptr;
}

}  // namespace quorvel
