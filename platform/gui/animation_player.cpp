#include "platform/gui/animation_player.h"

#include <QPainter>

#include "platform/avi_frames.h"
#include "platform/file_io.h"
#include "platform/gui/qt_ports.h"

namespace quorvel {
namespace {

QImage FrameImage(const AviFrames& avi, const std::string& rows) {
    QImage img(avi.width, avi.height, QImage::Format_RGB32);
    const int bytesPerPixel = avi.bitCount / 8;
    for (int y = 0; y < avi.height; ++y) {
        const auto* row = reinterpret_cast<const unsigned char*>(rows.data()) +
                          static_cast<std::size_t>(avi.height - 1 - y) * static_cast<std::size_t>(avi.Stride());
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < avi.width; ++x) {
            const unsigned char* px = row + x * bytesPerPixel;
            line[x] = qRgb(px[2], px[1], px[0]);
        }
    }
    return img;
}

}  // namespace

AnimationPlayer::AnimationPlayer(QWidget* parent) : QWidget(parent) {
    connect(&timer_, &QTimer::timeout, this, &AnimationPlayer::Step);
    hide();
}

bool AnimationPlayer::Open(const QString& path) {
    frames_.clear();
    std::string bytes;
    std::string error;
    AviFrames avi;
    if (!ReadWholeFile(PathFromQString(path), bytes, error) || !ReadAviFrames(bytes, avi, error)) return false;
    for (const std::string& rows : avi.frames) frames_.push_back(FrameImage(avi, rows));
    timer_.setInterval(std::max(1, avi.microsecondsPerFrame / 1000));
    setFixedSize(avi.width, avi.height);
    return true;
}

void AnimationPlayer::SetActive(bool active) {
    if (active && !source_.isEmpty()) {
        Open(source_);
        source_.clear();
    }
    active_ = active;
    current_ = 0;
    if (active_ && !frames_.empty()) {
        timer_.start();
    } else {
        timer_.stop();
    }
    update();
}

void AnimationPlayer::Step() {
    if (frames_.empty()) return;
    current_ = (current_ + 1) % frameCount();
    update();
}

void AnimationPlayer::paintEvent(QPaintEvent*) {
    if (!active_ || frames_.empty()) return;
    QPainter(this).drawImage(0, 0, frames_[static_cast<std::size_t>(current_)]);
}

}  // namespace quorvel
