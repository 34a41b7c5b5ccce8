// TForm10, the net game log window (" [ Oskelt ]  対 局 ロ グ"): the chat log of the record with its board
// comments. The log text in Memo1 on the right, the board of the selected comment's diagram on the left,
// and under the board the status bar Panel1 with the navigation picture Image3, the move-number switch
// Image4 and PassLabel. The log itself is the ChatLog the secondary board adds board comments to; the file
// commands read it from and write it to the chat file beside the record.
#pragma once

#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QWidget>
#include <functional>
#include <vector>

#include "app/file_commands.h"
#include "auxiliary/gui/secondary_board_painter.h"
#include "auxiliary/net_game_log.h"
#include "core/gui/board_pictures.h"
#include "platform/ui_ports.h"

namespace quorvel {

class TForm10 : public QWidget, public ChatLogKeeper {
    Q_OBJECT

public:
    // `log` is the chat log the window shows and edits; it must outlive the window.
    TForm10(ChatLog& log, Clipboard& clipboard, const QString& programDir);

    // ChatLogKeeper: a chat file read, none, and the text to save.
    bool TakeChatFile(const std::string& fileText) override;
    void ClearChatLog() override;
    std::string ChatFileText() const override;

    // Reloads Memo1 from the log and clears the board and the selection (after a board comment was added).
    void ReloadLog();
    // The chat indicator of the board window: shown (cleared board, restored when minimised) or hidden.
    void ToggleShown(int boardSize);

    // What Memo1 shows and how its characters map onto the log's bytes.
    std::size_t ByteOfMemoPosition(int position) const;
    int MemoPositionOfByte(std::size_t byte) const;

    // Memo1Click at a position of Memo1's text; Ctrl+click there (a comment moved while one is selected).
    void Memo1Click(int position);
    void Memo1CtrlClick(int position);
    // The keys the window takes: Delete, Home, F5 and Ctrl+Tab; true when taken.
    bool LogKey(int key, Qt::KeyboardModifiers modifiers);
    // Image3MouseDown at x of the picture, Image4Click, Panel1Click.
    void Image3MouseDown(int x);
    void Image4Click();
    void Panel1Click();

    const LogSelection& selection() const { return selection_; }
    const LogBoard& logBoard() const { return board_; }
    ChatLog& log() { return log_; }
    // The board part as it was last drawn.
    const QImage& boardPicture() const { return picture_; }

    // Home with a comment or a separator selected: the secondary board edits it (set by the main window).
    std::function<void()> editRequested;
    // The user changed the window's size (kept in the settings file).
    std::function<void(int width, int height)> resized;
    // Ctrl+Tab: the main window comes forward.
    std::function<void()> mainWindowRequested;

    QPlainTextEdit* Memo1;
    QLabel* Panel1;
    QLabel* Image3;
    QLabel* Image4;
    QLabel* PassLabel;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowMemoText();
    void ClearBoard();
    void Redraw();
    void ShowPass(bool shown);
    void Highlight();

    ChatLog& log_;
    Clipboard& clipboard_;
    BoardPictures pictures_;
    SecondaryBoardPainter painter_{pictures_};
    QImage picture_;
    LogBoard board_;
    LogSelection selection_;
    // Memo1's text is built character by character from the log, so that each of its UTF-16 positions
    // knows the byte of the log it came from (memoBytes_[position]; one more entry for the end).
    std::vector<std::size_t> memoBytes_;
};

}  // namespace quorvel
