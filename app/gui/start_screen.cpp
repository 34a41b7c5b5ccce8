#include "app/gui/start_screen.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QThread>

#include "core/program_files.h"
#include "platform/gui/qt_ports.h"
#include "platform/gui/qt_text.h"

namespace quorvel {
QRegion PictureRegion(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    std::vector<uint32_t> pixels;
    pixels.reserve(static_cast<std::size_t>(rgb.width()) * static_cast<std::size_t>(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) pixels.push_back(line[x] & 0xffffff);
    }
    QRegion region;
    for (const PixelRun& run : OpaqueRuns(pixels, rgb.width(), rgb.height())) {
        region += QRect(run.x, run.y, run.length, 1);
    }
    return region;
}

TForm4::TForm4(const QString& programDir, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Quorvel"));
    Image1 = ReadImageFile(PathToQString(ProgramFilePath(PathFromQString(programDir), "bmp\\Start.bmp")), "BMP");
    if (Image1.isNull()) {
        // Without its picture the screen is a plain panel that still takes every click and key.
        Image1 = QImage(289, 223, QImage::Format_RGB32);
        Image1.fill(QColor(228, 184, 112));
    }
    Image1 = Image1.convertToFormat(QImage::Format_RGB32);
    setFixedSize(Image1.size());
    region_ = PictureRegion(Image1);
    setMask(region_);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect s = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    move(s.left() + (s.width() - width()) / 2, s.top() + 55);
    setFocusPolicy(Qt::StrongFocus);
}

void TForm4::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, Image1);
}

void TForm4::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    Choose(StartScreenClick(at.x(), at.y()));
}

void TForm4::keyPressEvent(QKeyEvent* event) {
    StartKey key = StartKey::Other;
    switch (event->key()) {
        case Qt::Key_Escape: key = StartKey::Escape; break;
        case Qt::Key_Space: key = StartKey::Space; break;
        case Qt::Key_Return:
        case Qt::Key_Enter: key = StartKey::Enter; break;
        default: break;
    }
    Choose(StartScreenKey(key, event->modifiers() & Qt::ShiftModifier, event->modifiers() & Qt::AltModifier));
}

void TForm4::Choose(const StartChoice& choice) {
    // One choice only: clicks while the window shrinks away change nothing more.
    if ((!choice.exit && !choice.showWindows) || choiceMade_) return;
    choiceMade_ = true;
    emit chosen(choice);
}

void TForm4::HideShrinking() {
    const int w = width();
    const int h = height();
    for (int s = 0; s <= 90; s += 10) {
        const int left = s * w / 200;
        const int top = s * h / 200;
        const QRect ellipse(left, top, w - 2 * left, h - 2 * top);
        setMask(QRegion(ellipse, QRegion::Ellipse));
        for (int k = 0; k < 3; ++k) {
            QApplication::processEvents();
            QThread::msleep(1);
        }
    }
    hide();
}

}  // namespace quorvel
