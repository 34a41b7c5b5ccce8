// The windows the main window keeps hidden at start, built when first used: the comment, settings and
// game-information dialog (Form5), the secondary board (Form6), the about window (Form7), the record
// preview (Form8), the mail window (Form9), the net game log window (Form10), the web address window
// (Form11) and the mark palette (Form15). Every caller reaches them through these accessors; the board
// window, the file commands and the open dialog reach three of them through the stand-ins below.
#include <QScreen>
#include <algorithm>

#include "app/gui/main_window.h"
#include "app/gui/web_address_window.h"
#include "auxiliary/gui/log_window.h"
#include "auxiliary/gui/mail_window.h"
#include "auxiliary/gui/preview_window.h"
#include "auxiliary/gui/secondary_board_window.h"

namespace quorvel {

class TForm1::LazyPointPicker : public PointPicker {
public:
    explicit LazyPointPicker(TForm1& main) : main_(main) {}
    int ChooseVariation(const Engine& board) override { return main_.Form6()->ChooseVariation(board); }
    bool RunDeletion(const Engine& board, const std::function<bool(PointCode)>& click) override {
        return main_.Form6()->RunDeletion(board, click);
    }
    PointCode PickRelocationTarget(const Engine& board, PointCode from) override {
        return main_.Form6()->PickRelocationTarget(board, from);
    }
    PointCode PickPassReplacement(const Engine& board) override { return main_.Form6()->PickPassReplacement(board); }

private:
    TForm1& main_;
};

class TForm1::LazyChatLogKeeper : public ChatLogKeeper {
public:
    explicit LazyChatLogKeeper(TForm1& main) : main_(main) {}
    bool TakeChatFile(const std::string& fileText) override { return main_.Form10()->TakeChatFile(fileText); }
    // Only the log window fills the log: one not built yet has nothing to clear.
    void ClearChatLog() override {
        if (main_.form10_) main_.form10_->ClearChatLog();
    }
    std::string ChatFileText() const override { return main_.Form10()->ChatFileText(); }

private:
    TForm1& main_;
};

class TForm1::LazyOpenDialogWatcher : public OpenDialogWatcher {
public:
    explicit LazyOpenDialogWatcher(TForm1& main) : main_(main) {}
    void OpenDialogShown(QWidget* dialog) override { main_.Form8()->OpenDialogShown(dialog); }
    void OpenDialogFolderChanged() override { main_.Form8()->OpenDialogFolderChanged(); }
    void OpenDialogSelectionChanged(const std::string& path) override { main_.Form8()->OpenDialogSelectionChanged(path); }
    void OpenDialogClosed() override { main_.Form8()->OpenDialogClosed(); }

private:
    TForm1& main_;
};

void TForm1::SetUpHiddenWindows() {
    Form2->SetPalette([this](bool build) { return build ? Form15() : form15_; });
    pointPicker_ = std::make_unique<LazyPointPicker>(*this);
    Form2->SetPointPicker(*pointPicker_);
    chatLogKeeper_ = std::make_unique<LazyChatLogKeeper>(*this);
    files_->SetChatLogKeeper(chatLogKeeper_.get());
    // The record preview follows the real open dialog; dialogs that tests answer have none to follow.
    openDialogWatcher_ = std::make_unique<LazyOpenDialogWatcher>(*this);
    if (ownFileDialogs_) ownFileDialogs_->SetOpenDialogWatcher(openDialogWatcher_.get());
}

void TForm1::DeleteHiddenWindows() {
    delete form15_;
    delete form6_;
    delete form8_;
    form15_ = nullptr;
    form6_ = nullptr;
    form8_ = nullptr;
}

TForm5* TForm1::Form5() {
    // The dialog fills its controls from the settings in force.
    if (!form5_) form5_ = new TForm5(settingsOwners(), Form2, this);
    return form5_;
}

TForm6* TForm1::Form6() {
    if (!form6_) {
        form6_ = new TForm6(*dialogs_, programDir_, Form2);
        form6_->SetClipboard(clipboard_);
        form6_->SetPalette([this](bool build) { return build ? Form15() : form15_; });
        form6_->boardCommentAdded = [this] { BoardCommentAdded(); };
        form6_->chatBoardText = [this] { return Form10()->logBoard().diagramText; };
    }
    return form6_;
}

TForm7* TForm1::Form7() {
    if (!form7_) form7_ = new TForm7(programDir_, this);
    return form7_;
}

TForm8* TForm1::Form8() {
    if (!form8_) form8_ = new TForm8;
    return form8_;
}

TForm9* TForm1::Form9() {
    if (!form9_) form9_ = new TForm9(this, Form2->engine(), *dialogs_, *events_, shell_.mail);
    return form9_;
}

TForm10* TForm1::Form10() {
    if (form10_) return form10_;
    // The log window shows the chat log the secondary board writes board comments into.
    form10_ = new TForm10(Form6()->chatLog(), clipboard_, programDir_);
    if (shell_.chatWindowSize > 0) {
        // The kept size may come from a bigger screen or a hand-edited settings file: it is held to the
        // screen the window opens on.
        const QRect screen = form10_->screen()->availableGeometry();
        form10_->resize(std::min(shell_.chatWindowSize / 10000, screen.width()),
                        std::min(shell_.chatWindowSize % 10000, screen.height()));
    }
    form10_->resized = [this](int width, int height) { shell_.chatWindowSize = width * 10000 + height; };
    form10_->editRequested = [this] {
        const LogSelection& selected = form10_->selection();
        const std::string& text = form10_->log().logText;
        const std::size_t length = selected.separator ? 0 : std::min(selected.end, text.size()) - selected.start;
        Form6()->EditChatComment(board(), form10_->logBoard(), LogEntryComment(text, selected), selected.start,
                                 length, selected.diagram);
    };
    form10_->mainWindowRequested = [this] {
        raise();
        activateWindow();
    };
    return form10_;
}

TForm11* TForm1::Form11() {
    if (!form11_) {
        form11_ = new TForm11(this);
        form11_->Fill(web_->settings.netKifu);
    }
    return form11_;
}

TForm15* TForm1::Form15() {
    if (!form15_) form15_ = new TForm15(Form2->engine(), programDir_, Form2, Form3);
    return form15_;
}

void TForm1::ShowPalette(bool shown) {
    if (shown || form15_) Form15()->setVisible(shown);
}

}  // namespace quorvel
