#include "auxiliary/gui/secondary_board_window.h"

#include <QApplication>
#include <QWindow>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "auxiliary/diagram_text.h"
#include "core/gui/board_window.h"
#include "core/gui/font_names.h"
#include "core/gui/mark_palette.h"
#include "core/keys.h"
#include "formats/board_diagram.h"
#include "platform/gui/qt_text.h"

namespace quorvel {
namespace {

const QColor kWindowColour(192, 240, 192);
const QColor kFlashColour(0, 84, 166);
constexpr int kSelectionWidth = 408;
constexpr int kCreationWidth = 600;
constexpr int kHeight = 430;
constexpr int kStripTop = 400;  // the row of panels under the board
constexpr int kPanelHeight = 24;
constexpr int kColumnLeft = 406;  // the creation column right of the board
constexpr int kColumnWidth = 188;
constexpr int kFlashBeat = 200;  // milliseconds after each flash of the title
constexpr int kRangeWait = 200;  // milliseconds between outlining a range and asking about it

QPixmap StonePicture(bool black) {
    QPixmap picture(22, 20);
    picture.fill(kWindowColour);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(black ? Qt::NoPen : QPen(QColor(90, 90, 90), 1));
    p.setBrush(black ? QColor(20, 20, 20) : QColor(250, 250, 250));
    p.drawEllipse(QPointF(11, 10), 7, 7);
    return picture;
}

// The lit frame of the picture of the mode in force.
void ShowChosen(PanelButton* picture, bool chosen) {
    picture->setStyleSheet(chosen ? QStringLiteral("QLabel { border: 2px solid rgb(128, 176, 255); }")
                                  : QStringLiteral("QLabel { border: 2px solid transparent; }"));
}

}  // namespace

PanelButton::PanelButton(const char* caption, QWidget* parent) : QLabel(ToQString(caption), parent) {
    setAlignment(Qt::AlignCenter);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setFont(SystemFont("ＭＳ Ｐゴシック", 9, true));
}

void PanelButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

TForm6::TForm6(UserDialogs& dialogs, const QString& programDir, QWidget* boardWindow)
    : QDialog(nullptr), dialogs_(dialogs), boardWindow_(boardWindow), pictures_(programDir) {
    setWindowTitle(ToQString("　碁　盤"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    Panel1 = new PanelButton("Back", this);
    Panel2 = new PanelButton("PASS", this);
    Panel3 = new PanelButton("計 算", this);
    Panel4 = new PanelButton("局面図に指定", this);
    Panel5 = new PanelButton("チャット碁盤", this);
    Panel6 = new PanelButton("クリップボード", this);
    Panel8 = new PanelButton("| <", this);
    Panel9 = new PanelButton("<", this);
    Label1 = new QLabel(this);
    Label2 = new QLabel(this);
    for (QLabel* label : {Label1, Label2}) label->setFont(SystemFont("ＭＳ Ｐゴシック", 10, true));
    Image3 = new PanelButton("", this);
    Image4 = new PanelButton("", this);
    Image5 = new PanelButton("", this);
    Image6 = new PanelButton("", this);
    Image3->setPixmap(QPixmap::fromImage(pictures_.tete));
    Image4->setPixmap(QPixmap::fromImage(pictures_.init));
    Image5->setPixmap(StonePicture(true));
    Image6->setPixmap(StonePicture(false));
    for (PanelButton* picture : {Image3, Image4, Image5, Image6}) picture->setFrameStyle(QFrame::NoFrame);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setFont(SystemFont("ＭＳ Ｐゴシック", 10));

    connect(Panel1, &PanelButton::clicked, this, &TForm6::Panel1Click);
    connect(Panel2, &PanelButton::clicked, this, &TForm6::Panel2Click);
    connect(Panel3, &PanelButton::clicked, this, &TForm6::Panel3Click);
    connect(Panel5, &PanelButton::clicked, this, &TForm6::Panel5Click);
    connect(Panel6, &PanelButton::clicked, this, &TForm6::Panel6Click);
    connect(Panel4, &PanelButton::clicked, this, [this] { Edit(&DesignatePosition); });
    connect(Panel8, &PanelButton::clicked, this, [this] { Edit(&TakeBackAllSecondaryMoves); });
    connect(Panel9, &PanelButton::clicked, this, [this] { Edit(&TakeBackSecondaryMove); });
    connect(Image3, &PanelButton::clicked, this, [this] { SetInputMode(1); });
    connect(Image4, &PanelButton::clicked, this, [this] { SetInputMode(3); });
    connect(Image5, &PanelButton::clicked, this, [this] { SetBlackFirst(true); });
    connect(Image6, &PanelButton::clicked, this, [this] { SetBlackFirst(false); });

    flashTimer_.setInterval(kFlashBeat);
    connect(&flashTimer_, &QTimer::timeout, this, &TForm6::FlashTitle);
    rangeTimer_.setSingleShot(true);
    rangeTimer_.setInterval(kRangeWait);
    connect(&rangeTimer_, &QTimer::timeout, this, &TForm6::RangeQuestion);
    connect(this, &QDialog::finished, this, [this] {
        if (IsCreationRole(board_.role)) ReturnPalette();
        flashTimer_.stop();
        rangeTimer_.stop();
        flashOn_ = false;
        source_ = nullptr;
    });
    LayOut();
}

int TForm6::ChooseVariation(const Engine& board) {
    Open(SecondaryRole::VariationChoice, board);
    return exec() == QDialog::Accepted ? board_.selectedPoint : 0;
}

void TForm6::CountTerritory(const Engine& board) {
    Open(SecondaryRole::Counting, board);
    exec();
}

void TForm6::CreateBoardComment(const Engine& board) {
    Open(SecondaryRole::BoardComment, board);
    exec();
}

void TForm6::EditChatComment(const Engine& board, const LogBoard& logBoard, const std::string& comment,
                             std::size_t entryStart, std::size_t entryLength, int oldDiagram) {
    Open(SecondaryRole::ChatFileEditing, board);
    // The diagram of the log window, not the board window's position: its whole sequence, shown at its end,
    // wherever the log window was stepped to (the diagram text holds the moves up to the one shown).
    const SecondaryBoard& diagram = logBoard.board;
    board_.boardSize = diagram.boardSize;
    board_.geometry = diagram.geometry;
    board_.stoneList = diagram.stoneList;
    board_.stoneCodes = diagram.stoneCodes;
    board_.setupCount = diagram.setupCount;
    board_.shownEntry = std::max(diagram.setupCount, logBoard.entryCount);
    board_.blackFirst = diagram.blackFirst;
    board_.marks = diagram.marks;
    board_.openingKo = 0;
    RebuildSecondaryBoard(board_);
    editStart_ = entryStart;
    editLength_ = entryLength;
    editDiagram_ = oldDiagram;
    Memo1->setPlainText(LinesToQString(comment));
    LayOut();
    Redraw();
    exec();
}

bool TForm6::PickTextBoardRange(const Engine& board) {
    Open(SecondaryRole::TextBoardRange, board);
    return exec() == QDialog::Accepted;
}

bool TForm6::RunDeletion(const Engine& board, const std::function<bool(PointCode)>& click) {
    deleteClick_ = click;
    Open(SecondaryRole::SequenceDeletion, board);
    const bool ended = exec() == QDialog::Accepted;
    deleteClick_ = nullptr;
    return ended;
}

PointCode TForm6::PickRelocationTarget(const Engine& board, PointCode from) {
    Open(SecondaryRole::StoneRelocation, board);
    board_.relocationFrom = from;
    board_.relocationDone = false;
    return exec() == QDialog::Accepted && board_.relocationDone ? board_.selectedPoint : 0;
}

PointCode TForm6::PickPassReplacement(const Engine& board) {
    Open(SecondaryRole::PassReplacement, board);
    return exec() == QDialog::Accepted ? board_.selectedPoint : 0;
}

void TForm6::Open(SecondaryRole role, const Engine& board) {
    source_ = &board;
    if (IsCreationRole(role)) {
        // The diagram starts in move input, without the palette.
        const TForm15* palette = palette_ ? palette_(false) : nullptr;
        paletteShownBefore_ = palette && palette->isVisible() && palette->parentWidget() != this;
        ShowPalette(false);
        OpenForCreation(board_, board);
        Memo1->clear();
    } else if (role == SecondaryRole::Counting) {
        StartCounting(board_, board);
    } else {
        CopyPosition(board_, board);
    }
    board_.role = role;
    setWindowTitle(ToQString(SecondaryRoleTitle(role)));
    flashTimer_.stop();
    rangeTimer_.stop();
    flashOn_ = false;
    markKeyHeld_ = false;
    dragPoint_ = 0;
    LayOut();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const int top = (boardWindow_ && area.height() >= 500) ? std::max(0, boardWindow_->y() - 60) : 0;
    move(area.width() - width() - 2, top);
    // A window of the board window, the window manager keeps it above the board and main windows, which
    // raise each other whenever one of them is activated.
    winId();
    if (boardWindow_ && boardWindow_->windowHandle()) windowHandle()->setTransientParent(boardWindow_->windowHandle());
    Redraw();
}

void TForm6::LayOut() {
    const SecondaryRole role = board_.role;
    const bool creation = IsCreationRole(role);
    const bool counting = role == SecondaryRole::Counting;
    setFixedSize(creation ? kCreationWidth : kSelectionWidth, kHeight);
    Panel1->setText(QStringLiteral("Back"));
    Panel1->setGeometry(4, kStripTop, creation ? 52 : 64, kPanelHeight);
    // A pass continuation has no point to click: the chooser offers "PASS" for it.
    bool passContinues = false;
    if (role == SecondaryRole::VariationChoice && source_) {
        for (const Continuation& c : ContinuationsOf(*source_)) passContinues |= c.number == 1 && c.point == kPass;
    }
    Panel2->setVisible(creation || passContinues);
    Panel2->setGeometry(creation ? 140 : 72, kStripTop, 52, kPanelHeight);
    Panel3->setVisible(creation || counting);
    if (creation) {
        Panel3->setText(ToQString("作 成"));
        Panel3->setGeometry(kColumnLeft, 300, kColumnWidth, kPanelHeight);
    } else {
        Panel3->setText(ToQString(board_.count.resultShown ? "再計算" : "計 算"));
        Panel3->setGeometry(76, kStripTop, 64, kPanelHeight);
    }

    Label1->setVisible(counting);
    Label2->setVisible(counting);
    Label1->setGeometry(160, kStripTop, 110, kPanelHeight);
    Label2->setGeometry(280, kStripTop, 110, kPanelHeight);
    ShowTotals();
    for (QWidget* w : {static_cast<QWidget*>(Panel4), static_cast<QWidget*>(Panel5),
                       static_cast<QWidget*>(Panel6), static_cast<QWidget*>(Panel8), static_cast<QWidget*>(Panel9),
                       static_cast<QWidget*>(Image3), static_cast<QWidget*>(Image4), static_cast<QWidget*>(Image5),
                       static_cast<QWidget*>(Image6), static_cast<QWidget*>(Memo1)}) {
        w->setVisible(creation);
    }
    Memo1->setGeometry(kColumnLeft, 4, kColumnWidth, 288);
    Panel4->setGeometry(kColumnLeft, 328, kColumnWidth, kPanelHeight);
    Panel5->setGeometry(kColumnLeft, 356, kColumnWidth, kPanelHeight);
    Panel6->setGeometry(kColumnLeft, 384, kColumnWidth, kPanelHeight);
    Panel8->setGeometry(60, kStripTop, 36, kPanelHeight);
    Panel9->setGeometry(100, kStripTop, 36, kPanelHeight);
    Image3->setGeometry(206, kStripTop - 1, 26, 24);
    Image4->setGeometry(234, kStripTop - 1, 26, 24);
    Image5->setGeometry(276, kStripTop - 1, 26, 24);
    Image6->setGeometry(304, kStripTop - 1, 26, 24);
    ShowChosen(Image3, board_.inputMode == 1);
    ShowChosen(Image4, board_.inputMode == 3);
    ShowChosen(Image5, board_.blackFirst);
    ShowChosen(Image6, !board_.blackFirst);
}

void TForm6::ShowTotals() {
    const TerritoryCount& c = board_.count;
    Label1->setText(ToQString(TotalLabel(true, c.resultShown ? c.shownBlack : c.blackTotal)));
    Label2->setText(ToQString(TotalLabel(false, c.resultShown ? c.shownWhite : c.whiteTotal)));
}

void TForm6::Redraw() {
    if (picture_.size() != size()) picture_ = QImage(size(), QImage::Format_RGB32);
    picture_.fill(kWindowColour);
    std::vector<Continuation> letters;
    if (board_.role == SecondaryRole::VariationChoice && source_) letters = ContinuationsOf(*source_);
    painter_.Paint(picture_, board_, letters);
    if (flashOn_) {
        // Linux desktops cannot flash a title bar; the window's edge lights up in its place.
        QPainter p(&picture_);
        p.setPen(QPen(kFlashColour, 4));
        p.drawRect(QRect(2, 2, picture_.width() - 4, picture_.height() - 4));
    }
    update();
}

void TForm6::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, picture_);
}

void TForm6::mousePressEvent(QMouseEvent* event) {
    // While an outlined range waits for its question, the board takes no clicks.
    if (!source_ || rangeTimer_.isActive()) return;
    const QPoint at = event->position().toPoint();
    const PointCode p = SecondaryBoardPoint(*board_.geometry, at.x(), at.y());
    if (p != 0) BoardPress(p, event->button());
}

void TForm6::BoardPress(PointCode p, Qt::MouseButton button) {
    SecondaryClick click;
    click.point = p;
    click.leftButton = button == Qt::LeftButton;
    const TForm15* palette = palette_ ? palette_(false) : nullptr;
    click.paletteMark = palette && palette->isVisible() ? palette->selectedMark() : 0;
    // The space bar held over this window or over the palette.
    click.markKeyHeld = markKeyHeld_ || source_->editing.markMode;
    const bool marking = board_.role == SecondaryRole::Counting && !board_.count.resultShown;
    if (marking) dragPoint_ = p;
    switch (SecondaryBoardClick(board_, *source_, click)) {
        case SecondaryAction::None: return;
        case SecondaryAction::CloseOk: accept(); return;
        case SecondaryAction::RelocationPicked:
            Panel1->setText(ToQString("O K"));
            setWindowTitle(ToQString(kRelocationDoneTitle));
            break;
        case SecondaryAction::DeletePoint:
            // The board window deletes; this window then shows what is left, or closes when it is over.
            if (deleteClick_ && deleteClick_(board_.selectedPoint)) {
                accept();
                return;
            }
            CopyPosition(board_, *source_);
            break;
        case SecondaryAction::RangeOutlined: rangeTimer_.start(); break;
        case SecondaryAction::RangeInvalid: dialogs_.ShowMessage(kInvalidRangeMessage); break;
        default: break;
    }
    if (marking) ShowTotals();
    Redraw();
}

void TForm6::mouseMoveEvent(QMouseEvent* event) {
    if (board_.role != SecondaryRole::Counting || board_.count.drag == CountDrag::None ||
        event->buttons() == Qt::NoButton) {
        return;
    }
    const QPoint at = event->position().toPoint();
    const PointCode p = SecondaryBoardPoint(*board_.geometry, at.x(), at.y());
    if (p == 0 || p == dragPoint_) return;
    dragPoint_ = p;
    if (CountDragTo(board_, p)) Redraw();
}

void TForm6::mouseReleaseEvent(QMouseEvent*) {
    CountRelease(board_);
    dragPoint_ = 0;
}

void TForm6::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) markKeyHeld_ = true;
    if (board_.role == SecondaryRole::VariationChoice && source_) {
        if (const int number = HintNumberOfKey(KeyCodeOf(*event))) {
            const int picked = ChooseVariationByNumber(*source_, number);
            if (picked != 0) {
                board_.selectedPoint = picked;
                accept();
            }
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void TForm6::keyReleaseEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat()) markKeyHeld_ = false;
    QDialog::keyReleaseEvent(event);
}

void TForm6::Panel1Click() {
    if (board_.role == SecondaryRole::StoneRelocation && board_.relocationDone) {
        accept();
    } else {
        reject();
    }
}

void TForm6::Panel2Click() {
    if (!IsCreationRole(board_.role)) {
        board_.selectedPoint = kChosenNextMove;
        accept();
        return;
    }
    if (dialogs_.AskYesNo(kPassQuestion, kPassQuestionCaption) != Answer::Yes) return;
    PassOnSecondary(board_);
    Redraw();
}

void TForm6::Panel3Click() {
    if (IsCreationRole(board_.role)) {
        MakeBoardComment();
        return;
    }
    if (board_.role != SecondaryRole::Counting || !source_) return;
    if (board_.count.resultShown) {
        UndoCount(board_);
    } else {
        RunCount(board_, source_->info.komi);
        flashesLeft_ = 4;
        FlashTitle();
        flashTimer_.start();
    }
    setWindowTitle(ToQString(board_.count.title));
    Panel3->setText(ToQString(board_.count.resultShown ? "再計算" : "計 算"));
    ShowTotals();
    Redraw();
}

void TForm6::MakeBoardComment() {
    const std::string comment = LinesFromQString(Memo1->toPlainText());
    if (comment.empty()) {
        dialogs_.ShowMessage(kNoCommentMessage);
        return;
    }
    if (board_.role == SecondaryRole::ChatFileEditing) {
        // A board without stones or moves keeps no diagram.
        EditLogComment(chatLog_, editStart_, editLength_, editDiagram_, comment,
                       board_.shownEntry > 0 ? DiagramText(board_) : std::string());
    } else {
        // The move number of the board window's position: the moves after its setup stones (in creation mode
        // the line's own setup, not the one of the record loaded before).
        const int moves = source_ ? std::max(source_->currentIndex - CountBase(*source_), 0) : 0;
        AddBoardComment(chatLog_, moves, comment, DiagramText(board_));
    }
    if (boardCommentAdded) boardCommentAdded();
    accept();
}

void TForm6::Panel5Click() {
    std::string message;
    ShowLoadedDiagram(LoadChatBoard(board_, chatBoardText ? chatBoardText() : std::string(), message), message);
}

void TForm6::Panel6Click() {
    std::string message;
    ShowLoadedDiagram(LoadClipboardDiagram(board_, clipboard_ ? clipboard_->Text() : std::string(), message), message);
}

void TForm6::ShowLoadedDiagram(bool loaded, const std::string& message) {
    if (!loaded) {
        dialogs_.ShowMessage(message);
        return;
    }
    LayOut();
    Redraw();
}

void TForm6::FlashTitle() {
    if (flashesLeft_ == 0) {
        flashTimer_.stop();
        flashOn_ = false;
    } else {
        flashOn_ = !flashOn_;
        --flashesLeft_;
        QApplication::alert(this, kFlashBeat);
    }
    Redraw();
}

void TForm6::RangeQuestion() {
    if (dialogs_.AskYesNo(kRangeQuestion, kRangeQuestionCaption) == Answer::Yes) {
        accept();
        return;
    }
    ForgetRange(board_);
    Redraw();
}

void TForm6::SetInputMode(int mode) {
    board_.inputMode = mode;
    ShowPalette(mode == 3);
    LayOut();
}

void TForm6::ShowPalette(bool shown) {
    TForm15* palette = palette_ ? palette_(shown) : nullptr;
    if (!palette) return;
    if (shown && palette->parentWidget() != this) {
        // Still a window of its own, but one this window's modal run leaves usable, and kept above it.
        palette->setParent(this, palette->windowFlags());
    }
    palette->SetSecondaryBoard(this);
    palette->setVisible(shown);
}

void TForm6::ReturnPalette() {
    TForm15* palette = palette_ ? palette_(false) : nullptr;
    if (!palette) return;
    palette->hide();
    palette->SetSecondaryBoard(nullptr);
    if (palette->parentWidget() == this) palette->setParent(nullptr, palette->windowFlags());
    if (paletteShownBefore_) palette->show();
    paletteShownBefore_ = false;
}

void TForm6::SetBlackFirst(bool blackFirst) {
    SetSecondaryBlackFirst(board_, blackFirst);
    LayOut();
    Redraw();
}

void TForm6::Edit(void (*operation)(SecondaryBoard&)) {
    operation(board_);
    LayOut();
    Redraw();
}

}  // namespace quorvel
