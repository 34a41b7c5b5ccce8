// TForm15, the mark palette: a small window, always on top, with one check button per mark kind. One
// button is pressed at a time; pressing the pressed one again leaves no mark chosen. The choice is the
// engine's (the board window reads it when stones are set up and marks placed).
#pragma once

#include <QToolButton>
#include <QWidget>

#include "core/engine.h"

namespace quorvel {

class TForm15 : public QWidget {
    Q_OBJECT

  public:
    // `board` and `text` are the windows the palette is placed by; the icons come from `programDir`.
    TForm15(Engine& engine, const QString& programDir, QWidget* board, QWidget* text);

    // Buttons 1..15 (8 is the separator and has none).
    QToolButton* ToolButton(int n) const { return (n >= 1 && n <= 15) ? buttons_[n] : nullptr; }
    int selectedMark() const { return engine_.editing.selectedMark; }

    void ToolButtonClick(int n);

    // The secondary board window, when it shows the palette for its own setup input: while it is visible,
    // showing the palette moves both out of each other's way, and hiding it moves the board back.
    void SetSecondaryBoard(QWidget* secondary) { secondary_ = secondary; }

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

  private:
    void ReleasePressed();

    Engine& engine_;
    QWidget* board_;
    QWidget* text_;
    QWidget* secondary_ = nullptr;
    QToolButton* buttons_[16] = {};
};

}  // namespace quorvel
