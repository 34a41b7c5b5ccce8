#include "core/gui/board_window.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>
#include <QWheelEvent>
#include <utility>

#include "core/gui/font_names.h"
#include "core/keys.h"
#include "core/program_files.h"
#include "platform/gui/qt_ports.h"
#include "platform/gui/qt_text.h"

namespace quorvel {

int KeyCodeOf(const QKeyEvent& event) {
    const int key = event.key();
    const bool keypad = event.modifiers() & Qt::KeypadModifier;
    if (keypad && key >= Qt::Key_0 && key <= Qt::Key_9) return kKeyNumpad0 + (key - Qt::Key_0);
    if (keypad && key == Qt::Key_Plus) return kKeyNumpadPlus;
    if (keypad && key == Qt::Key_Minus) return kKeyNumpadMinus;
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return kKeyA + (key - Qt::Key_A);
    switch (key) {
        case Qt::Key_Tab: return kKeyTab;
        case Qt::Key_PageUp: return kKeyPageUp;
        case Qt::Key_PageDown: return kKeyPageDown;
        case Qt::Key_End: return kKeyEnd;
        case Qt::Key_Home: return kKeyHome;
        case Qt::Key_Left: return kKeyLeft;
        case Qt::Key_Up: return kKeyUp;
        case Qt::Key_Right: return kKeyRight;
        case Qt::Key_Down: return kKeyDown;
        case Qt::Key_Insert: return kKeyInsert;
        case Qt::Key_F1: return kKeyF1;
        default: return 0;
    }
}

namespace {

QPlainTextEdit* MakeMemo(QWidget* parent, int x, int y, int w, int h) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setReadOnly(true);
    memo->setGeometry(x, y, w, h);
    memo->setFont(SystemFont("ＭＳ Ｐゴシック", 9));
    memo->setFocusPolicy(Qt::NoFocus);
    memo->hide();
    return memo;
}

}  // namespace

TForm2::TForm2(MessageArea& messages, UserDialogs& dialogs, const QString& programDir, QWidget* parent)
    : QWidget(parent),
      engine_(messages, dialogs),
      programDir_(programDir),
      pictures_(programDir),
      stoneSound_(programDir, QString::fromStdString(ProgramFilePath(programDir.toStdString(), "stone.wav"))) {
    setWindowFlag(Qt::FramelessWindowHint);
    setFixedSize(564, 443);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    Memo2 = MakeMemo(this, 410, 43, 150, 27);
    Memo3 = MakeMemo(this, 410, 117, 150, 27);
    Memo1 = MakeMemo(this, 411, 208, 150, 150);
    Animate1 = new AnimationPlayer(this);
    Animate1->SetSource(QString::fromStdString(ProgramFilePath(programDir.toStdString(), "boat.avi")));
    Animate1->move(420, 366);
    engine_.SetRequests(*this);
    // The windows show the characters of this record that Shift-JIS lacks through its table.
    SetShownForeignCharacters(engine_.foreignCharacters);
    // The timer always beats at the autoplay interval and does nothing while autoplay is idle.
    Timer1.setInterval(engine_.autoplayInterval);
    connect(&Timer1, &QTimer::timeout, this, &TForm2::Timer1Timer);
    Timer1.start();
    Redraw();
}

TForm2::~TForm2() = default;

void TForm2::Redraw() {
    if (Timer1.interval() != engine_.autoplayInterval) Timer1.setInterval(engine_.autoplayInterval);
    composed_ = false;
    ShowMemos();
    update();
    emit redrawn();
}

void TForm2::Compose() {
    if (composed_) return;
    painter_.Redraw(myg_, engine_, view_);
    if (overlay) {
        QPainter p(&myg_);
        overlay(p);
    }
    composed_ = true;
}

const QImage& TForm2::picture() {
    Compose();
    return myg_;
}

void TForm2::ShowMemos() {
    const bool shown = !view_.toolPanelShown;
    const Engine::Memos& m = engine_.memos;
    const std::pair<QPlainTextEdit*, const std::string*> memos[] = {
        {Memo2, &m.blackName}, {Memo3, &m.whiteName}, {Memo1, &m.info}};
    for (const auto& [memo, text] : memos) {
        memo->setVisible(shown);
        const QString q = ToQString(*text);
        if (memo->toPlainText() != q) memo->setPlainText(q);
    }
}

void TForm2::SetChatLogShown(bool shown) {
    if (view_.chatLogShown == shown) return;
    view_.chatLogShown = shown;
    Redraw();
}

void TForm2::SetToolPanelShown(bool shown) {
    view_.toolPanelShown = shown;
    Animate1->setVisible(Animate1->active() && !shown);
    Redraw();
}

void TForm2::SetAnimationActive(bool active) {
    Animate1->SetActive(active);
    Animate1->setVisible(active && !view_.toolPanelShown);
}

void TForm2::SetOwnPictureFolder(const QString& folder) {
    pictures_.ownDir = folder;
    ReloadBoardPicture();
}

void TForm2::ReloadBoardPicture() {
    painter_.ForgetBoardPicture();
    Redraw();
}

void TForm2::paintEvent(QPaintEvent*) {
    Compose();
    QPainter p(this);
    p.drawImage(0, 0, myg_);
}

bool TForm2::MoveHover(int x, int y) {
    const HoverPoint h = SnapHover(*engine_.geometry, engine_.hover, x, y);
    if (h.x == engine_.hover.x && h.y == engine_.hover.y) return false;
    engine_.hover = h;
    return true;
}

void TForm2::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const bool wasCleared = std::exchange(view_.readoutCleared, false);
    if ((MoveHover(at.x(), at.y()) || wasCleared) && engine_.settings.showXY) Redraw();
}

void TForm2::ClearCoordinateReadout() {
    if (view_.readoutCleared) return;
    view_.readoutCleared = true;
    Redraw();
}

void TForm2::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) emit activated();
    QWidget::changeEvent(event);
}

void TForm2::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    // A click acts where the mouse is; the hover point is brought there first, as a move would have.
    MoveHover(at.x(), at.y());
    const bool replayBefore = engine_.replayMode;
    const int inputBefore = engine_.inputMode;
    FormMouseDown(at.x(), at.y(), event->button(), event->modifiers());
    FollowMode(replayBefore, inputBefore);
    Redraw();
}

void TForm2::FormMouseDown(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    Engine& e = engine_;
    const BoardArea area = AreaAt(x, y, view_.toolPanelShown, e.replayMode);
    const bool idle = e.autoplayState == 0;
    switch (area) {
        case BoardArea::Board: BoardClick(button, modifiers); return;
        case BoardArea::GoToStart: e.GoToStart(); return;
        case BoardArea::BackTen: e.BackTen(); return;
        case BoardArea::StepBack: e.StepBack(); return;
        case BoardArea::StepForward: e.StepForward(); return;
        case BoardArea::ForwardTen: e.ForwardTen(); return;
        case BoardArea::GoToEnd: e.GoToEnd(); return;
        case BoardArea::MainLineBox:
            if (e.diagramBranch > 0) e.ReturnToMainLine();
            return;
        case BoardArea::ParentBox:
            if (e.variationDepth > 1) e.LeaveToParent();
            return;
        case BoardArea::DiagramBox:
            if (e.variationDepth > 0) e.ReturnToDiagram();
            return;
        case BoardArea::HintBox: e.HintBoxClick(); return;
        case BoardArea::PrisonerBox:
        case BoardArea::MoveNumberBox:
            if (e.replayMode || e.inputMode == 1) {
                e.settings.number = !e.settings.number;
                view_.markBranching = button == Qt::RightButton || (modifiers & Qt::ShiftModifier);
            }
            return;
        case BoardArea::ToolAdd:
            if (idle && !e.commentDialogOpen) e.AddVariationCommand();
            return;
        case BoardArea::ToolReset:
            if (!e.replayMode) {
                EditingAreaClick(area);  // "CALL"
            } else if (!e.commentDialogOpen) {
                e.ResetRecordCommand();
            }
            return;
        case BoardArea::ToolHint:
            if (!e.commentDialogOpen) e.ToggleHints();
            return;
        case BoardArea::IntervalUp:
        case BoardArea::IntervalDown:
        case BoardArea::AutoBackward:
        case BoardArea::AutoForward:
        case BoardArea::AutoStop:
            if (!e.commentDialogOpen) AutoplayControl(area);
            return;
        case BoardArea::None:
            if (view_.chatLogShown && e.replayMode && x >= 102 && x <= 200 && y >= 426 && y <= 439) {
                emit netGameLogRequested();
            } else if (y > 410) {
                emit textWindowRequested();
            }
            return;
        default:
            EditingAreaClick(area);
            return;
    }
}

void TForm2::AutoplayControl(BoardArea area) {
    Engine& e = engine_;
    switch (area) {
        case BoardArea::IntervalUp: e.AutoplayIntervalUp(); break;
        case BoardArea::IntervalDown: e.AutoplayIntervalDown(); break;
        case BoardArea::AutoBackward: e.StartAutoplayBackward(); break;
        case BoardArea::AutoForward: e.StartAutoplayForward(); break;
        default: e.StopAutoplay(); break;
    }
}

void TForm2::BoardClick(Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    Engine& e = engine_;
    if (e.autoplayState != 0) return;
    const PointCode point = HoverToPoint(*e.geometry, e.hover);
    if (!e.IsOnBoard(point)) return;
    // One-button mice: Alt with the button stands for the right button.
    if (button == Qt::LeftButton && (modifiers & Qt::AltModifier)) button = Qt::RightButton;
    if (!e.replayMode) {
        CreationBoardClick(point, button, modifiers);
        return;
    }
    if (button == Qt::RightButton) {
        if (e.replayMode) e.StepBack();
        return;
    }
    if (button != Qt::LeftButton) return;
    const bool stone = e.board[point] > 0;
    if ((modifiers & Qt::ShiftModifier) && stone && (e.replayMode || e.inputMode == 1)) {
        e.BackToStone(point);
        return;
    }
    if ((modifiers & Qt::ControlModifier) && stone) {
        e.MakePositionTheStart(point);
        return;
    }
    // A click on an empty point follows the continuation there, or plays a trial move where none does; one
    // on the stone of a numbered move relocates it.
    if (!stone && (e.hintsShown || e.commentDialogOpen)) e.PlayTrialMove(point);
    if (stone && !e.commentDialogOpen) RelocateClick(point);
}

void TForm2::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int code = KeyCodeOf(*event);
    if (event->key() == Qt::Key_Space && !ctrl) {
        engine_.SpaceBarDown();
        event->accept();
        return;
    }
    const bool replayBefore = engine_.replayMode;
    const int inputBefore = engine_.inputMode;
    if ((code == 0 && !ctrl) || !engine_.KeyDown(code, ctrl)) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    FollowMode(replayBefore, inputBefore);
    Redraw();
}

void TForm2::TurnWheel(int delta) {
    if (delta == 0) return;
    const int before = engine_.currentIndex;
    engine_.Wheel(delta > 0);
    if (engine_.currentIndex != before) Redraw();
}

void TForm2::wheelEvent(QWheelEvent* event) {
    TurnWheel(event->angleDelta().y());
    event->accept();
}

void TForm2::dragEnterEvent(QDragEnterEvent* event) {
    if (!engine_.Busy() && !DroppedRecordPath(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TForm2::dropEvent(QDropEvent* event) {
    const QString path = engine_.Busy() ? QString() : DroppedRecordPath(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    emit recordDropped(path);
}

void TForm2::Timer1Timer() {
    if (engine_.autoplayState == 0) return;
    engine_.AutoplayTick();
    Redraw();
}

void TForm2::SetNavigationEnabled(bool enabled) { emit navigationEnabledChanged(enabled); }

void TForm2::ShowAutoplayInterval(int seconds) { emit autoplayIntervalChanged(seconds); }

void TForm2::ShowSwitches(bool hintsShown, bool showXY) { emit switchesChanged(hintsShown, showXY); }

void TForm2::PlayStoneSound() { stoneSound_.Play(); }

int TForm2::ChooseVariation() { return picker_ ? picker_->ChooseVariation(engine_) : 0; }

// The net game log window is not part of the program yet; there is nothing to activate.
void TForm2::ActivateNetGameLog() { emit netGameLogActivationRequested(); }

}  // namespace quorvel
