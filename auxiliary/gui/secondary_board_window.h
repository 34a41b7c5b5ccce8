// TForm6, the secondary board window ("　碁　盤"): a small modal window with a board of its own. The caller
// picks its role by the method it calls; the window copies the board window's position, lets the user pick
// or build on it, and hands the answer back. It never changes the board window's record.
#pragma once

#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>
#include <functional>

#include "auxiliary/chat_log.h"
#include "auxiliary/net_game_log.h"
#include "auxiliary/gui/secondary_board_painter.h"
#include "auxiliary/secondary_board.h"
#include "core/gui/board_pictures.h"
#include "core/ui_ports.h"

namespace quorvel {

class TForm15;

// A panel with a caption that acts as a button, as the window's panels always have.
class PanelButton : public QLabel {
    Q_OBJECT

public:
    PanelButton(const char* caption, QWidget* parent);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class TForm6 : public QDialog, public PointPicker {
    Q_OBJECT

public:
    // Pictures are read from `programDir`; the window opens above `boardWindow` (when given). The message
    // boxes must outlive the window.
    TForm6(UserDialogs& dialogs, const QString& programDir, QWidget* boardWindow = nullptr);

    // ---- Roles, each shown modally ----

    // The variation chooser (PointPicker): the picked point, 555 for the line's next move when it is a pass,
    // or 0.
    int ChooseVariation(const Engine& board) override;
    // "手順の削除", "既着石の位置変更" and "パス変更" for the board window (PointPicker).
    bool RunDeletion(const Engine& board, const std::function<bool(PointCode)>& click) override;
    PointCode PickRelocationTarget(const Engine& board, PointCode from) override;
    PointCode PickPassReplacement(const Engine& board) override;
    // "地の計算": counting on a copy of the board window's position, with its komi.
    void CountTerritory(const Engine& board);
    // "碁盤付きコメントの作成": a diagram built from the board window's position.
    void CreateBoardComment(const Engine& board);
    // "チャットファイルの編集": a comment of the chat log edited again (or, with `entryLength` 0, a new one
    // written after the separator line at `entryStart`) on the log window's diagram `logBoard`, with every
    // move of its sequence.
    void EditChatComment(const Engine& board, const LogBoard& logBoard, const std::string& comment,
                         std::size_t entryStart, std::size_t entryLength, int oldDiagram);
    // The range of a text board: true when the user confirmed one; board().range holds its corner (anchor)
    // and the opposite point (far).
    bool PickTextBoardRange(const Engine& board);

    // Shows the window for a role without waiting for it to close (FormShow): the title, the panels, the
    // size and place, and the board copied or built from `board`, which must outlive the window's run.
    void Open(SecondaryRole role, const Engine& board);

    SecondaryBoard& board() { return board_; }
    // The chat log that board comments are added to ("作 成"); kept here until the net game log window
    // shows it.
    ChatLog& chatLog() { return chatLog_; }
    // The mark palette that setup input shows: `palette(build)` gives it, building it only when `build` is
    // true. While this window runs, the palette is kept usable above it; afterwards it is shown again as the
    // board window had it.
    void SetPalette(std::function<TForm15*(bool build)> palette) { palette_ = std::move(palette); }
    // The clipboard "クリップボード" reads a diagram from.
    void SetClipboard(Clipboard& clipboard) { clipboard_ = &clipboard; }
    // The diagram text the net game log window shows ("チャット碁盤"); none without that window.
    std::function<std::string()> chatBoardText;
    // Called after a board comment was added to the chat log.
    std::function<void()> boardCommentAdded;
    // The composed window, as it paints itself.
    const QImage& picture() const { return picture_; }
    QTimer& flashTimer() { return flashTimer_; }
    QTimer& rangeTimer() { return rangeTimer_; }
    // The title is flashed (highlighted) at this moment of a count's flashes.
    bool flashing() const { return flashOn_; }

    PanelButton* Panel1;  // "Back" / "O K"
    PanelButton* Panel2;  // "PASS"
    PanelButton* Panel3;  // "計 算" / "再計算" / "作 成"
    PanelButton* Panel4;  // "局面図に指定"
    PanelButton* Panel5;  // "チャット碁盤"
    PanelButton* Panel6;  // "クリップボード"
    PanelButton* Panel8;  // "| <"
    PanelButton* Panel9;  // "<"
    QLabel* Label1;       // "黒 : n"
    QLabel* Label2;       // "白 : n"
    PanelButton* Image3;  // move input
    PanelButton* Image4;  // setup input and marks
    PanelButton* Image5;  // Black first
    PanelButton* Image6;  // White first
    QPlainTextEdit* Memo1;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void LayOut();
    void Redraw();
    void ShowTotals();
    void BoardPress(PointCode p, Qt::MouseButton button);
    void Panel1Click();
    void Panel2Click();
    void Panel3Click();
    void Panel5Click();
    void Panel6Click();
    // "作 成" of a board comment, new or edited again: the comment and the diagram text go into the chat log.
    void MakeBoardComment();
    // A diagram loaded by "チャット碁盤" or "クリップボード", or the message why none was.
    void ShowLoadedDiagram(bool loaded, const std::string& message);
    void RangeQuestion();
    void FlashTitle();
    void SetInputMode(int mode);
    void ShowPalette(bool shown);
    // The end of a creation run: the palette goes back to the board window as it was before the run.
    void ReturnPalette();
    void SetBlackFirst(bool blackFirst);
    // A change of the diagram: the board is drawn again.
    void Edit(void (*operation)(SecondaryBoard&));

    UserDialogs& dialogs_;
    QWidget* boardWindow_;
    BoardPictures pictures_;
    SecondaryBoardPainter painter_{pictures_};
    QImage picture_;
    SecondaryBoard board_;
    ChatLog chatLog_;
    // The entry of the chat log being edited again.
    std::size_t editStart_ = 0;
    std::size_t editLength_ = 0;
    int editDiagram_ = 0;
    Clipboard* clipboard_ = nullptr;
    const Engine* source_ = nullptr;  // the board window's engine during a run
    std::function<bool(PointCode)> deleteClick_;  // the board window's deletion during "DEL"
    QTimer flashTimer_;
    int flashesLeft_ = 0;
    bool flashOn_ = false;
    QTimer rangeTimer_;
    bool markKeyHeld_ = false;
    std::function<TForm15*(bool)> palette_;
    bool paletteShownBefore_ = false;  // the board window showed the palette when the run began
    PointCode dragPoint_ = 0;  // the point the held button is on while counting
};

}  // namespace quorvel
