// The main window's part in the net game log: Form10 keeps the chat log the file commands read and write,
// opens from the board window's sign, comes forward with Ctrl+Tab, and shows each board comment added.
#include "app/gui/main_window.h"
#include "auxiliary/gui/log_window.h"

#include <QScreen>
#include <algorithm>

namespace quorvel {

void TForm1::SetUpLogWindow() {
    connect(Form2, &TForm2::netGameLogRequested, this, [this] {
        Form10()->ToggleShown(board().boardSize);
        PlaceLogWindow();
    });
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
    PlaceLogWindow();
    Form10()->raise();
    Redraw();
}

// Without a window manager a new window opens at (0,0), under the main and board windows with its memo
// hidden. The log opens once to their right instead, narrowed to what the screen holds there (and, on a
// screen too narrow even for that, against the screen's right edge), so that its memo is clear of them.
// Placed once shown, when its frame is known.
void TForm1::PlaceLogWindow() {
    TForm10* log = Form10();
    if (logWindowPlaced_ || !log->isVisible()) return;
    logWindowPlaced_ = true;
    const QRect area = screen()->availableGeometry();
    const int besides = std::max(frameGeometry().right(), Form2->frameGeometry().right()) + 1;
    const int frame = log->frameGeometry().width() - log->width();
    const int width = std::clamp(area.right() + 1 - besides - frame, log->minimumWidth(), log->width());
    log->resize(width, log->height());
    log->move(std::max(area.left(), std::min(besides, area.right() + 1 - width - frame)), std::max(area.top(), y()));
}

void TForm1::StopLogWindow() {
    files_->SetChatLogKeeper(nullptr);
    delete form10_;
    form10_ = nullptr;
}

}  // namespace quorvel
