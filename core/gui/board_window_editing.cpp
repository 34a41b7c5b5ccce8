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

void TForm2::DeleteMovesClick() {
    Engine& e = engine_;
    if (!picker_ || e.autoplayState != 0 || e.commentDialogOpen || !e.BeginDeleteMoves()) return;
    Redraw();
    const bool variationDeleted = picker_->RunDeletion(e, [this](PointCode point) {
        const Engine::DeleteResult result = engine_.DeleteClick(point);
        if (result != Engine::DeleteResult::Nothing) Redraw();
        return result == Engine::DeleteResult::Variation;
    });
    // Closed by the user, the deletion goes back to where it started.
    e.EndDeleteMoves(variationDeleted ? Engine::DeleteResult::Variation : Engine::DeleteResult::Nothing);
    Redraw();
}

void TForm2::EditCommentClick() {
    Engine& e = engine_;
    std::string text;
    if (!editComment || e.autoplayState != 0 || e.commentDialogOpen || !e.BeginCommentEdit(text)) return;
    if (const std::optional<std::string> edited = editComment()) e.FinishCommentEdit(*edited);
    Redraw();
}

void TForm2::RelocateClick(PointCode point) {
    const int entry = engine_.NumberedEntryAt(point);
    if (entry == 0 || !picker_) return;
    const PointCode target = picker_->PickRelocationTarget(engine_, point);
    if (target != 0) engine_.RelocateStone(entry, target);
}

void TForm2::ReplacePassClick() {
    Engine& e = engine_;
    if (!picker_ || e.currentBranch != 0 || !e.PassSignShown()) return;
    const PointCode target = picker_->PickPassReplacement(e);
    if (target != 0) e.ReplacePass(target);
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
        // In either input, as their keys (Home, Left) do.
        case BoardArea::CreationClear:
            e.ClearToStart();
            return;
        case BoardArea::CreationTakeBack:
            e.StepBack();
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
        case BoardArea::ToolDel:
            if (e.replayMode) DeleteMovesClick();
            return;
        case BoardArea::ToolEditC:
            if (e.replayMode) EditCommentClick();
            return;
        case BoardArea::PassSign:
            if (e.replayMode) ReplacePassClick();
            return;
        default:
            // The text and SGF output bars wait for the text boards.
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
    } else {
        RelocateClick(point);
    }
}

void TForm2::FollowMode(bool replayBefore, int inputBefore) {
    const Engine& e = engine_;
    const bool shown = !e.replayMode && e.inputMode == 3;
    if (TForm15* palette = palette_ ? palette_(shown) : nullptr) palette->setVisible(shown);
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
