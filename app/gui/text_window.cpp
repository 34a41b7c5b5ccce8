#include "app/gui/text_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "core/gui/font_names.h"
#include "platform/gui/qt_text.h"

namespace quorvel {

TForm3::TForm3(std::function<std::string()> lastLoadedText, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      Memo1(new QPlainTextEdit(this)),
      PopupMenu1(new QMenu(this)),
      lastLoadedText_(std::move(lastLoadedText)) {
    setWindowTitle(ToQString(" Text Window"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Memo1);

    Memo1->setReadOnly(true);
    // Text boards line up only in a font of fixed width, whose full-width characters are two half-width
    // ones wide.
    Memo1->setFont(SystemFont("ＭＳ ゴシック", 10));
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setStyleSheet(QStringLiteral("QPlainTextEdit { background: white; color: black; }"));
    Memo1->setContextMenuPolicy(Qt::CustomContextMenu);
    Memo1->viewport()->installEventFilter(this);
    connect(Memo1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(Memo1->mapToGlobal(at)); });
    connect(Memo1, &QPlainTextEdit::textChanged, this, [this] {
        if (!settingText_) edited_ = true;
    });

    PPC = PopupMenu1->addAction(ToQString(" コピー(&C)"), this, &TForm3::PPCClick);
    PPP = PopupMenu1->addAction(ToQString(" 貼り付け(&P)"), this, &TForm3::PPPClick);
    PPK = PopupMenu1->addAction(ToQString(" クリア(&K)"), this, &TForm3::PPKClick);
    PPT = PopupMenu1->addAction(ToQString(" ソース(&T)"), this, &TForm3::PPTClick);
}

void TForm3::SetText(const std::string& text) {
    settingText_ = true;
    Memo1->setPlainText(LinesToQString(text));
    settingText_ = false;
    bytes_ = text;
    edited_ = false;
}

std::string TForm3::Text() const { return edited_ ? LinesFromQString(Memo1->toPlainText()) : bytes_; }

void TForm3::ToggleFrame() {
    if (!isVisible()) {
        show();
        return;
    }
    sizeable_ = !sizeable_;
    const QRect geometry = this->geometry();
    setWindowFlag(Qt::FramelessWindowHint, !sizeable_);
    setGeometry(geometry);
    show();
}

bool TForm3::eventFilter(QObject* watched, QEvent* event) {
    // A click in the memo hides its caret: the memo is for reading.
    if (watched == Memo1->viewport() && event->type() == QEvent::MouseButtonPress) Memo1->setCursorWidth(0);
    return QWidget::eventFilter(watched, event);
}

void TForm3::PPCClick() {
    if (Memo1->toPlainText().isEmpty()) return;
    QTextCursor cursor = Memo1->textCursor();
    if (cursor.hasSelection()) {
        Memo1->copy();
        return;
    }
    Memo1->selectAll();
    Memo1->copy();
    Memo1->clearFocus();
}

void TForm3::PPPClick() {
    const QString pasted = QApplication::clipboard()->text();
    Memo1->insertPlainText(pasted);
}

void TForm3::PPKClick() { Memo1->clear(); }

void TForm3::PPTClick() {
    if (lastLoadedText_) SetText(lastLoadedText_());
}

}  // namespace quorvel
