#include "auxiliary/gui/log_window.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <iterator>

#include "core/gui/font_names.h"
#include "platform/gui/qt_text.h"
#include "platform/text_codec.h"

namespace quorvel {
namespace {

constexpr int kBoardWidth = 400;  // the board picture and its margin
constexpr int kMemoLeft = 408;    // Memo1's width is the window's width less this
constexpr int kStatusHeight = 24;
constexpr int kBoardHeight = 396;
constexpr int kNavigationWidth = 168;  // six zones of 28 pixels
const QColor kWindowColour(192, 192, 192);
const QColor kStatusColour(212, 208, 200);
const QColor kHighlight(0, 0, 128);

// Memo1's background cycle; a colour outside it stays.
const QColor kMemoColours[] = {QColor(255, 240, 240), QColor(255, 255, 255), QColor(240, 255, 240),
                               QColor(240, 240, 255)};
const QColor kStartColour(240, 255, 240);

// The navigation picture: |< << < > >> >| in six zones of 28 pixels.
QPixmap NavigationPicture() {
    QPixmap picture(kNavigationWidth, 20);
    picture.fill(kStatusColour);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const char* const labels[] = {"|<", "<<", "<", ">", ">>", ">|"};
    p.setFont(SystemFont("ＭＳ Ｐゴシック", 9, true));
    for (int k = 0; k < 6; ++k) {
        const QRect zone(k * 28 + 1, 1, 26, 18);
        p.setPen(QColor(128, 128, 128));
        p.setBrush(QColor(236, 233, 216));
        p.drawRoundedRect(zone, 3, 3);
        p.setPen(Qt::black);
        p.drawText(zone, Qt::AlignCenter, QString::fromLatin1(labels[k]));
    }
    return picture;
}

QPixmap NumberSwitchPicture(bool allNumbers) {
    QPixmap picture(22, 20);
    picture.fill(kStatusColour);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 20, 20));
    p.drawEllipse(QPointF(11, 10), 8, 8);
    p.setPen(Qt::white);
    p.setFont(SystemFont("ＭＳ Ｐゴシック", 7, true));
    p.drawText(QRect(0, 0, 22, 20), Qt::AlignCenter, allNumbers ? QStringLiteral("123") : QStringLiteral("1"));
    return picture;
}

QPalette MemoPalette(QPalette palette, const QColor& colour) {
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Text, Qt::black);
    return palette;
}

}  // namespace

TForm10::TForm10(ChatLog& log, Clipboard& clipboard, const QString& programDir)
    : QWidget(nullptr), log_(log), clipboard_(clipboard), pictures_(programDir) {
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(ToQString(" [ Oskelt ]  対 局 ロ グ"));
    setFocusPolicy(Qt::StrongFocus);
    resize(kMemoLeft + 360, kBoardHeight + kStatusHeight);
    setMinimumSize(kMemoLeft + 120, kBoardHeight + kStatusHeight);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setReadOnly(true);
    Memo1->setFont(SystemFont("ＭＳ Ｐゴシック", 10));
    Memo1->setPalette(MemoPalette(Memo1->palette(), kStartColour));
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->viewport()->installEventFilter(this);
    Memo1->installEventFilter(this);

    Panel1 = new QLabel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    QPalette status = Panel1->palette();
    status.setColor(QPalette::Window, kStatusColour);
    Panel1->setPalette(status);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setFont(SystemFont("ＭＳ Ｐゴシック", 10, true));
    Panel1->setIndent(kNavigationWidth + 100);
    Panel1->installEventFilter(this);
    Image3 = new QLabel(Panel1);
    Image3->setPixmap(NavigationPicture());
    Image3->installEventFilter(this);
    Image4 = new QLabel(Panel1);
    Image4->setToolTip(ToQString("手順番号"));
    Image4->installEventFilter(this);
    PassLabel = new QLabel(ToQString("パ ス！"), Panel1);
    PassLabel->setFont(SystemFont("ＭＳ Ｐゴシック", 10, true));
    QPalette red = PassLabel->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    PassLabel->setPalette(red);
    PassLabel->hide();

    ClearBoard();
    ShowMemoText();
}

// ---- The log ----

bool TForm10::TakeChatFile(const std::string& fileText) {
    log_ = ChatLogFromFileText(fileText);
    ReloadLog();
    return ChatFileReadWhole(fileText);
}

void TForm10::ClearChatLog() {
    log_ = ChatLog();
    ReloadLog();
}

std::string TForm10::ChatFileText() const { return quorvel::ChatFileText(log_); }

void TForm10::ReloadLog() {
    selection_ = LogSelection();
    ClearBoard();
    ShowMemoText();
}

void TForm10::ShowMemoText() {
    // Character by character, so that every position of Memo1 knows its byte: a line break is one
    // position for CR LF, a two-byte character one position for its two bytes.
    const std::string& t = log_.logText;
    QString text;
    text.reserve(static_cast<qsizetype>(t.size()));
    memoBytes_.clear();
    memoBytes_.reserve(t.size() + 1);
    for (std::size_t i = 0; i < t.size();) {
        const unsigned char b = static_cast<unsigned char>(t[i]);
        std::size_t length = 1;
        QString piece;
        if (b == '\r' || b == '\n') {
            piece = QStringLiteral("\n");
            if (b == '\r' && i + 1 < t.size() && t[i + 1] == '\n') length = 2;
        } else if (b < 0x80) {
            piece = QChar(static_cast<char16_t>(b));
        } else {
            if (IsCp932LeadByte(b) && i + 1 < t.size()) length = 2;
            piece = ToQString(t.substr(i, length));
        }
        for (qsizetype k = 0; k < piece.size(); ++k) memoBytes_.push_back(i);
        text += piece;
        i += length;
    }
    memoBytes_.push_back(t.size());
    Memo1->setPlainText(text);
}

std::size_t TForm10::ByteOfMemoPosition(int position) const {
    if (position < 0) return 0;
    const std::size_t at = static_cast<std::size_t>(position);
    return at < memoBytes_.size() ? memoBytes_[at] : log_.logText.size();
}

int TForm10::MemoPositionOfByte(std::size_t byte) const {
    const auto it = std::lower_bound(memoBytes_.begin(), memoBytes_.end(), byte);
    return static_cast<int>(it - memoBytes_.begin());
}

void TForm10::Highlight() {
    QTextCursor cursor = Memo1->textCursor();
    if (!selection_.any()) {
        cursor.clearSelection();
        Memo1->setTextCursor(cursor);
        return;
    }
    cursor.setPosition(MemoPositionOfByte(selection_.start));
    cursor.setPosition(MemoPositionOfByte(selection_.start + selection_.highlight), QTextCursor::KeepAnchor);
    Memo1->setTextCursor(cursor);
}

// ---- Selecting, moving, deleting ----

void TForm10::Memo1Click(int position) {
    selection_ = SelectLogEntry(log_.logText, ByteOfMemoPosition(position));
    Highlight();
    if (selection_.comment() && selection_.diagram > 0) {
        // A number without its diagram in the store leaves the board as it was.
        if (ShowLogDiagram(board_, log_, selection_.diagram)) {
            ShowPass(false);
            Redraw();
        }
        return;
    }
    ClearBoard();
}

void TForm10::Memo1CtrlClick(int position) {
    if (!selection_.comment()) return;
    const LogSelection other = SelectLogEntry(log_.logText, ByteOfMemoPosition(position));
    if (!other.comment() || other.start == selection_.start) return;
    const int scroll = Memo1->verticalScrollBar()->value();
    if (SwapLogEntries(log_.logText, selection_, other)) {
        selection_ = LogSelection();
        ShowMemoText();
        Memo1->verticalScrollBar()->setValue(scroll);
    }
}

bool TForm10::LogKey(int key, Qt::KeyboardModifiers modifiers) {
    if (key == Qt::Key_Tab && (modifiers & Qt::ControlModifier)) {
        if (mainWindowRequested) mainWindowRequested();
        return true;
    }
    switch (key) {
        case Qt::Key_Delete:
            if (!selection_.comment()) return true;
            DeleteLogEntry(log_, selection_);
            selection_ = LogSelection();
            {
                const int scroll = Memo1->verticalScrollBar()->value();
                ShowMemoText();
                Memo1->verticalScrollBar()->setValue(scroll);
            }
            return true;
        case Qt::Key_Home:
            if (selection_.any() && editRequested) editRequested();
            return true;
        case Qt::Key_F5:
            clipboard_.SetText(LogDiagramSgf(board_));
            return true;
        default:
            return false;
    }
}

// ---- The board and its status bar ----

void TForm10::ClearBoard() {
    ClearLogBoard(board_);
    Panel1->setText(QString());
    ShowPass(false);
    Redraw();
}

void TForm10::ShowPass(bool shown) { PassLabel->setVisible(shown); }

void TForm10::Image3MouseDown(int x) {
    if (board_.entryCount == 0) return;
    ShowPass(StepLogBoard(board_, LogStepAt(x)));
    Redraw();
}

void TForm10::Image4Click() {
    board_.allNumbers = !board_.allNumbers;
    Image4->setPixmap(NumberSwitchPicture(board_.allNumbers));
    Redraw();
}

void TForm10::Panel1Click() {
    const QColor now = Memo1->palette().color(QPalette::Base);
    for (std::size_t k = 0; k < std::size(kMemoColours); ++k) {
        if (kMemoColours[k] == now) {
            Memo1->setPalette(MemoPalette(Memo1->palette(), kMemoColours[(k + 1) % std::size(kMemoColours)]));
            return;
        }
    }
}

void TForm10::Redraw() {
    if (board_.diagram > 0) Panel1->setText(ToQString(LogBoardCaption(board_)));
    Image4->setPixmap(NumberSwitchPicture(board_.allNumbers));
    if (picture_.isNull()) picture_ = QImage(kBoardWidth, kBoardHeight, QImage::Format_RGB32);
    picture_.fill(kWindowColour);
    SecondaryBoard shown = board_.board;
    if (!board_.allNumbers) {
        // Only the last move keeps its number.
        const int last = shown.shownEntry - shown.setupCount;
        for (int& n : shown.numbers) n = n == last ? n : 0;
    }
    painter_.Paint(picture_, shown, {});
    update();
}

void TForm10::ToggleShown(int boardSize) {
    if (isVisible() && !isMinimized()) {
        hide();
        return;
    }
    if (board_.diagram == 0 && board_.board.boardSize != boardSize && boardSize >= 9) {
        board_.board.boardSize = boardSize;
        board_.board.geometry = GeometryFor(boardSize);
    }
    ClearBoard();
    showNormal();
    raise();
    activateWindow();
}

void TForm10::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), kWindowColour);
    p.drawImage(0, 0, picture_);
}

void TForm10::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Memo1->setGeometry(kMemoLeft, 0, std::max(0, width() - kMemoLeft), height());
    Panel1->setGeometry(0, kBoardHeight, kMemoLeft - 4, kStatusHeight);
    Image3->setGeometry(2, 2, kNavigationWidth, 20);
    Image4->setGeometry(kNavigationWidth + 6, 2, 22, 20);
    PassLabel->setGeometry(kNavigationWidth + 34, 2, 60, 20);
    if (isVisible() && resized) resized(width(), height());
}

void TForm10::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Memo1->setCursorWidth(0);
    ShowPass(false);
}

void TForm10::keyPressEvent(QKeyEvent* event) {
    if (!LogKey(event->key(), event->modifiers())) QWidget::keyPressEvent(event);
}

bool TForm10::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Memo1 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        return LogKey(key->key(), key->modifiers());
    }
    const bool press = event->type() == QEvent::MouseButtonPress;
    const bool release = event->type() == QEvent::MouseButtonRelease;
    if (!press && !release) return QWidget::eventFilter(watched, event);
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint at = mouse->position().toPoint();
    if (watched == Memo1->viewport()) {
        const bool ctrl = mouse->modifiers() & Qt::ControlModifier;
        if (press && ctrl) {
            Memo1CtrlClick(Memo1->cursorForPosition(at).position());
            return true;
        }
        if (release && !ctrl && mouse->button() == Qt::LeftButton) {
            Memo1Click(Memo1->cursorForPosition(at).position());
            return true;
        }
    } else if (press && watched == Image3 && mouse->button() == Qt::LeftButton) {
        Image3MouseDown(at.x());
        return true;
    } else if (press && watched == Image4) {
        Image4Click();
        return true;
    } else if (press && watched == Panel1) {
        Panel1Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace quorvel
