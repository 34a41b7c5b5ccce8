// TForm3, the text window: the message area where status texts, comments and summaries appear, and the
// staging area for every text output (the writers put records here, the file commands save from here).
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "core/ui_ports.h"

class QAction;
class QMenu;
class QPlainTextEdit;

namespace quorvel {

class TForm3 : public QWidget, public MessageArea {
    Q_OBJECT

public:
    // `lastLoadedText` gives the source text of the last loaded record, shown by the popup's "ソース".
    explicit TForm3(std::function<std::string()> lastLoadedText, QWidget* parent = nullptr);

    // The memo's text, in the program's bytes. What was set comes back byte for byte, also bytes that are
    // no Shift-JIS character, until the user changes the memo.
    void SetText(const std::string& text) override;
    std::string Text() const override;

    // With the window shown, switches its border between none and sizeable; a hidden window is shown.
    void ToggleFrame();
    bool isSizeable() const { return sizeable_; }

    QPlainTextEdit* memo() const { return Memo1; }
    QMenu* popupMenu() const { return PopupMenu1; }
    QAction* PPC = nullptr;
    QAction* PPP = nullptr;
    QAction* PPK = nullptr;
    QAction* PPT = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PPCClick();
    void PPPClick();
    void PPKClick();
    void PPTClick();

    QPlainTextEdit* Memo1;
    QMenu* PopupMenu1;
    std::function<std::string()> lastLoadedText_;
    std::string bytes_;     // what was last set
    bool edited_ = false;   // the memo changed since, by the user
    bool settingText_ = false;
    bool sizeable_ = false;
};

}  // namespace quorvel
