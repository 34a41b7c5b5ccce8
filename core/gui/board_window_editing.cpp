// The board window's side of record editing: the clicks of creation mode, the editing bars of the tool
// column, the space bar's mark mode, and the palette and main window following the mode.
#include <QFocusEvent>
#include <QKeyEvent>

#include "core/gui/board_window.h"
#include "core/gui/mark_palette.h"

namespace quorvel {

void TForm2::SwitchMode(bool replay) {
    Engine& e = engine_;
    const bool replayBefore = e.replayMode;
    const int inputBefore = e.inputMode;
    if (replay) {
        e.SwitchToReplayMode();
    } else if (e.replayMode && (!askToSave || askToSave())) {
        e.SwitchToCreationMode();
    }
    FollowMode(replayBefore, inputBefore);
    Redraw();
}

void TForm2::PassClick() {
    engine_.PassCommand();
    Redraw();
}

void TForm2::SwapClick() {
    if (!engine_.commentDialogOpen) engine_.SwapVariation();
    Redraw();
}

void TForm2::EditingAreaClick(BoardArea area) {
    Engine& e = engine_;
    if (e.autoplayState != 0) return;
    switch (area) {
        case BoardArea::ToolPass:
            e.PassCommand();
            return;
        case BoardArea::ToolSwap:
            if (e.replayMode && !e.commentDialogOpen) e.SwapVariation();
            return;
        case BoardArea::ToolMake:
            if (e.replayMode && !e.commentDialogOpen && (!askToSave || askToSave())) e.SwitchToCreationMode();
            return;
        case BoardArea::ToolShow:
            if (!e.replayMode) e.SwitchToReplayMode();
            return;
        case BoardArea::ToolReset:
            if (!e.replayMode) e.CallStoredPosition();
            return;
        case BoardArea::CreationClear:
            if (e.inputMode == 1) e.ClearToStart();
            return;
        case BoardArea::CreationTakeBack:
            if (e.inputMode == 1) e.StepBack();
            return;
        case BoardArea::MoveInput:
            e.SetInputMode(1);
            return;
        case BoardArea::SetupInput:
            e.SetInputMode(3);
            return;
        case BoardArea::FirstColour:
            e.SwitchFirstColour();
            return;
        default:
            // "DEL" and "EditC" wait for their windows (the secondary board and the comment dialog), as do
            // the text and SGF output bars and the pass replacement.
            return;
    }
}

void TForm2::CreationBoardClick(PointCode point, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    Engine& e = engine_;
    const bool stone = e.board[point] == kBlack || e.board[point] == kWhite;
    if (e.inputMode == 3) {
        if (e.editing.markMode) {
            e.ToggleMark(point);
        } else if (button == Qt::LeftButton || button == Qt::RightButton) {
            e.SetupStoneClick(point, button == Qt::LeftButton ? kBlack : kWhite);
        }
        return;
    }
    if (button == Qt::RightButton) {
        e.StepBack();
        return;
    }
    if (button != Qt::LeftButton) return;
    if ((modifiers & Qt::ShiftModifier) && stone) {
        e.BackToStone(point);
    } else if ((modifiers & Qt::ControlModifier) && stone) {
        e.MakePositionTheStart(point);
    } else if (!stone) {
        e.PutStone(point);
    }
}

void TForm2::FollowMode(bool replayBefore, int inputBefore) {
    const Engine& e = engine_;
    if (palette_) palette_->setVisible(!e.replayMode && e.inputMode == 3);
    if (e.replayMode != replayBefore || e.inputMode != inputBefore) emit modeChanged();
}

void TForm2::keyReleaseEvent(QKeyEvent* event) {
    // X11 repeats a held key as release and press pairs; only the real release ends the mark mode.
    if (!event->isAutoRepeat()) engine_.MarkKeyReleased();
    QWidget::keyReleaseEvent(event);
}

void TForm2::focusOutEvent(QFocusEvent* event) {
    // A release the window never sees (the key let go over another window) must not leave marks on.
    engine_.MarkKeyReleased();
    QWidget::focusOutEvent(event);
}

}  // namespace quorvel
