// TForm2, the board window: holds the one engine (position and record), paints it and turns clicks, keys,
// the wheel and its timer into engine operations. Every change ends with one full Redraw composed off
// screen and copied to the window in one go.
#pragma once

#include <QImage>
#include <QPlainTextEdit>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/board_areas.h"
#include "core/gui/board_painter.h"
#include "core/gui/board_pictures.h"
#include "core/engine.h"
#include "platform/gui/animation_player.h"
#include "platform/gui/qt_sound.h"


class QKeyEvent;

namespace quorvel {

class TForm15;

// The key codes of keys.h for a Qt key; 0 for a key the board window does not know.
int KeyCodeOf(const QKeyEvent& event);

class TForm2 : public QWidget, public BoardRequests {
    Q_OBJECT

public:
    // The pictures and "stone.wav" are read from `programDir`; the message area and the message boxes
    // must outlive the window.
    TForm2(MessageArea& messages, UserDialogs& dialogs, const QString& programDir, QWidget* parent = nullptr);
    ~TForm2() override;

    Engine& engine() { return engine_; }
    const Engine& engine() const { return engine_; }

    // The whole window is composed again on `myg` and shown. Several redraws before the window is painted
    // compose it once.
    void Redraw();
    // The composed picture, as the window shows it.
    const QImage& picture();

    // The tool column, or the information panel with the three memos.
    void SetToolPanelShown(bool shown);
    // The sign of the net game log (Image7) while the record has a chat log.
    void SetChatLogShown(bool shown);
    bool toolPanelShown() const { return view_.toolPanelShown; }
    bool markBranching() const { return view_.markBranching; }
    // The pointer left for the main window's toolbars or menu: the coordinate read-out goes until the
    // pointer is over this window again. Redraws once; nothing when it is already cleared.
    void ClearCoordinateReadout();
    bool coordinateReadoutCleared() const { return view_.readoutCleared; }

    // The animation player, shown over the information panel while it runs.
    AnimationPlayer* Animate1 = nullptr;
    void SetAnimationActive(bool active);
    // Board pictures of `folder` ("bmp\GoBan19.bmp" the user chose) come before the program folder's.
    void SetOwnPictureFolder(const QString& folder);
    // The board picture was replaced: it is read again and the board redrawn.
    void ReloadBoardPicture();

    // The pictures that could not be read at start.
    const QStringList& missingPictures() const { return pictures_.missing; }
    // The painter of the board, its board picture prepared for the record's size (the pictures on the
    // clipboard start from it).
    BoardPainter& painter() {
        painter_.PrepareSize(*engine_.geometry);
        return painter_;
    }
    QTimer& timer() { return Timer1; }
    // A turn of the mouse wheel over this window or the main window: up steps forward, down back.
    void TurnWheel(int delta);
    // The secondary board that picks variations, the moves to delete, a relocated stone's point and a
    // pass's replacement for this window; without one nothing is picked.
    void SetPointPicker(PointPicker& picker) { picker_ = &picker; }

    // Record editing. The palette shows while stones are set up in creation mode; `askToSave` is the main
    // window's question about unsaved changes, asked before "Make" replaces the record being shown.
    void SetPalette(TForm15* palette) {
        palette_ = [palette](bool) { return palette; };
    }
    // A palette built on first use: `palette(build)` gives it, building it only when `build` is true (to
    // show it); null when it was not built.
    void SetPalette(std::function<TForm15*(bool build)> palette) { palette_ = std::move(palette); }
    std::function<bool()> askToSave;
    // "Show" (true) or "Make" (false), as the tool column and the main window's mode items ask for it.
    void SwitchMode(bool replay);
    // "P", from the tool column or the main window.
    void PassClick();
    // "Swap", from the tool column or the main window.
    void SwapClick();
    // "DEL": the moves of the line deleted on the secondary board.
    void DeleteMovesClick();
    // "EditC": the comment of the position edited in `editComment`, the main window's comment dialog, which
    // answers the confirmed text or nothing.
    void EditCommentClick();
    std::function<std::optional<std::string>()> editComment;

    // What a later layer draws over the composed board (an engine's candidates). Set by the window that
    // builds this one.
    std::function<void(QPainter&)> overlay;

    // BoardRequests.
    void SetNavigationEnabled(bool enabled) override;
    void ShowAutoplayInterval(int seconds) override;
    void PlayStoneSound() override;
    void ShowSwitches(bool hintsShown, bool showXY) override;
    int ChooseVariation() override;
    void ActivateNetGameLog() override;

public slots:
    // One beat of autoplay; does nothing while autoplay is idle.
    void Timer1Timer();

signals:
    // For the main window: its navigation commands follow autoplay, its interval box and switches follow
    // the engine, and a dropped record is opened by its file command.
    void navigationEnabledChanged(bool enabled);
    void autoplayIntervalChanged(int seconds);
    void switchesChanged(bool hintsShown, bool showXY);
    void recordDropped(const QString& path);
    // A click low on the window that no area takes asks for the text window (shown, or its border
    // switched).
    void textWindowRequested();
    // The window became the active one; the main window comes forward with it.
    void activated();
    // A click on the net game log's sign: the log window is shown or hidden.
    void netGameLogRequested();
    // Ctrl+Tab: the net game log window comes forward when it is visible.
    void netGameLogActivationRequested();
    // The mode or the input mode changed: the main window's mode items and caption follow.
    void modeChanged();
    // After every Redraw: the engine's windows follow the position shown.
    void redrawn();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FormMouseDown(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void BoardClick(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void AutoplayControl(BoardArea area);
    // The areas of record editing: the creation strip and the editing bars of the tool column.
    void EditingAreaClick(BoardArea area);
    void CreationBoardClick(PointCode point, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    // A click on the stone of a numbered move: its new point is picked on the secondary board.
    void RelocateClick(PointCode point);
    // A click on the pass sign: the pass becomes a move on a point picked on the secondary board.
    void ReplacePassClick();
    // After a handler: the palette and the main window follow a change of mode or input mode.
    void FollowMode(bool replayBefore, int inputBefore);
    // True when the hover point moved.
    bool MoveHover(int x, int y);
    void ShowMemos();
    void Compose();

    Engine engine_;
    QString programDir_;
    BoardPictures pictures_;
    BoardPainter painter_{pictures_};
    BoardView view_;
    QImage myg_{573, 444, QImage::Format_RGB32};
    bool composed_ = false;  // myg_ shows the engine state of the last Redraw
    QTimer Timer1;
    QPlainTextEdit* Memo1;  // game information
    QPlainTextEdit* Memo2;  // black player
    QPlainTextEdit* Memo3;  // white player
    QtSound stoneSound_;
    std::function<TForm15*(bool)> palette_;
    PointPicker* picker_ = nullptr;
};

}  // namespace quorvel
