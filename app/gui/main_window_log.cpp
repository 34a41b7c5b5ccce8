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
// hidden. The log opens once beside them instead: to their right, narrowed to what the screen holds there;
// to their left when only that side holds it; and on a screen too narrow for either, against the screen's
// right edge, where the windows cover the log's board rather than its memo. Placed once shown, when its
// frame is known.
void TForm1::PlaceLogWindow() {
    TForm10* log = Form10();
    if (logWindowPlaced_ || !log->isVisible()) return;
    logWindowPlaced_ = true;
    const QRect area = screen()->availableGeometry();
    const int left = std::min(frameGeometry().left(), Form2->frameGeometry().left());
    const int right = std::max(frameGeometry().right(), Form2->frameGeometry().right()) + 1;
    const int frame = log->frameGeometry().width() - log->width();
    const int roomRight = area.right() + 1 - right - frame;
    const int roomLeft = left - area.left() - frame;
    const int top = std::max(area.top(), y());
    if (roomRight < log->minimumWidth() && roomLeft >= log->minimumWidth()) {
        log->resize(std::min(roomLeft, log->width()), log->height());
        log->move(left - log->width() - frame, top);
        return;
    }
    const int width = std::clamp(roomRight, log->minimumWidth(), log->width());
    log->resize(width, log->height());
    log->move(std::max(area.left(), std::min(right, area.right() + 1 - width - frame)), top);
}

void TForm1::StopLogWindow() {
    files_->SetChatLogKeeper(nullptr);
    delete form10_;
    form10_ = nullptr;
}

}  // namespace quorvel
