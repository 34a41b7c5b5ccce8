// The main window's part in the net game log: Form10 keeps the chat log the file commands read and write,
// opens from the board window's sign, comes forward with Ctrl+Tab, and shows each board comment added.
#include "app/gui/main_window.h"
#include "auxiliary/gui/log_window.h"

namespace quorvel {

void TForm1::SetUpLogWindow() {
    connect(Form2, &TForm2::netGameLogRequested, this, [this] { Form10()->ToggleShown(board().boardSize); });
    connect(Form2, &TForm2::netGameLogActivationRequested, this, [this] {
        if (!form10_ || !form10_->isVisible()) return;
        form10_->raise();
        form10_->activateWindow();
    });
}

void TForm1::BoardCommentAdded() {
    files_->chatLogPresent = true;
    Form2->SetChatLogShown(true);
    Form10()->ReloadLog();
    Form10()->showNormal();
    Form10()->raise();
    Redraw();
}

void TForm1::StopLogWindow() {
    files_->SetChatLogKeeper(nullptr);
    delete form10_;
    form10_ = nullptr;
}

}  // namespace quorvel
