#include "core/gui/mark_palette.h"

#include <algorithm>

#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QScreen>

#include "core/gui/font_names.h"
#include "platform/gui/qt_text.h"

namespace quorvel {
namespace {

constexpr int kButtonWidth = 23;
constexpr int kSecondRowX = 169;  // after the seven symbols and the 8-pixel separator

}  // namespace

TForm15::TForm15(Engine& engine, const QString& programDir, QWidget* board, QWidget* text)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      engine_(engine),
      board_(board),
      text_(text) {
    setWindowTitle(ToQString(" Quorvel  -  記 号 付 け"));
    setFixedSize(332, 28);
    setFont(SystemFont("ＭＳ Ｐゴシック", 9));
    for (int n = 1; n <= 15; ++n) {
        if (n == 8) continue;
        auto* b = new QToolButton(this);
        b->setObjectName(QStringLiteral("ToolButton%1").arg(n));
        b->setCheckable(true);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        const int x = n < 8 ? (n - 1) * kButtonWidth : kSecondRowX + (n - 9) * kButtonWidth;
        b->setGeometry(x, 3, kButtonWidth, 22);
        const QString icon = programDir + QStringLiteral("/bmp/icons/mark%1.png").arg(n);
        if (QFileInfo::exists(icon)) b->setIcon(QIcon(icon));
        b->setIconSize(QSize(16, 16));
        connect(b, &QToolButton::clicked, this, [this, n] { ToolButtonClick(n); });
        buttons_[n] = b;
    }
}

void TForm15::ToolButtonClick(int n) {
    QToolButton* b = ToolButton(n);
    if (!b) return;
    if (b->isChecked()) {
        if (QToolButton* previous = ToolButton(engine_.editing.selectedMark); previous && previous != b) {
            previous->setChecked(false);
        }
        engine_.SelectMark(n);
    } else {
        engine_.SelectMark(0);
    }
}

void TForm15::ReleasePressed() {
    if (QToolButton* pressed = ToolButton(engine_.editing.selectedMark)) pressed->setChecked(false);
    engine_.SelectMark(0);
}

void TForm15::showEvent(QShowEvent* event) {
    ReleasePressed();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->geometry().width() : 1024;
    if (secondary_ && secondary_->isVisible()) {
        secondary_->move(secondary_->x(), 50);
        move(250, 0);
    } else if (screenWidth <= 700 && text_) {
        move(text_->x(), text_->y() + 15);
    } else if (board_) {
        move(board_->x() + 62, board_->y() + 447);
    }
    QWidget::showEvent(event);
}

void TForm15::hideEvent(QHideEvent* event) {
    ReleasePressed();
    if (secondary_ && secondary_->isVisible() && board_) {
        secondary_->move(secondary_->x(), std::max(0, board_->y() - 60));
    }
    QWidget::hideEvent(event);
}

void TForm15::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space) {
        engine_.SpaceBarDown();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TForm15::keyReleaseEvent(QKeyEvent* event) {
    // X11 repeats a held key as release and press pairs; only the real release ends the mark mode.
    if (!event->isAutoRepeat()) engine_.MarkKeyReleased();
    QWidget::keyReleaseEvent(event);
}

}  // namespace quorvel
