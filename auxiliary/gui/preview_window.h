// TForm8, the record preview: a small borderless window beside the open dialog "棋譜の読み込み" with the final
// position of the selected file's main line on a 192 x 192 board and, below it, the players, the date, the
// result and the move count. It scans the file itself and never touches the record shown.
#pragma once

#include <QImage>
#include <QPlainTextEdit>
#include <QWidget>

#include "auxiliary/record_preview.h"
#include "platform/gui/qt_ports.h"

namespace quorvel {

class TForm8 : public QWidget, public OpenDialogWatcher {
    Q_OBJECT

public:
    TForm8();

    // The open dialog's notifications (OpenDialog1Show, FolderChange, SelectionChange, Close).
    void OpenDialogShown(QWidget* dialog) override;
    void OpenDialogFolderChanged() override;
    void OpenDialogSelectionChanged(const std::string& path) override;
    void OpenDialogClosed() override;

    // Empties the board picture and Memo1.
    void ClearPreview();
    // Shows a file's preview; a file that is not a regular file of a sensible size shows nothing.
    void ShowFile(const std::string& path);

    const RecordPreview& preview() const { return preview_; }
    // The window as it paints itself.
    QImage picture();

    QPlainTextEdit* Memo1;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // FormPaint: the grid of the size once into the board picture, then the stones.
    void PaintBoard(QImage& target) const;
    void DrawGrid();

    RecordPreview preview_;
    int gridSize_ = 0;  // the size the grid picture was drawn for
    QImage grid_;       // the empty board of the size
    QImage Image2;      // the stones, black on top, white 10 pixels below
};

}  // namespace quorvel
