// Animate1's player: the frames of an uncompressed AVI file shown one after the other, looped, at the
// file's frame rate. While stopped it shows nothing.
#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <vector>

namespace quorvel {

class AnimationPlayer : public QWidget {
    Q_OBJECT

public:
    explicit AnimationPlayer(QWidget* parent = nullptr);

    // Reads the frames of `path`; false (and no frames) when the file is missing or not such an AVI.
    bool Open(const QString& path);
    // The file whose frames the first start reads: a program that never plays the animation never reads it.
    void SetSource(const QString& path) { source_ = path; }
    // Starts or stops the frames, from the first one.
    void SetActive(bool active);
    bool active() const { return active_; }
    int frameCount() const { return static_cast<int>(frames_.size()); }
    int currentFrame() const { return current_; }
    const QImage& frame(int k) const { return frames_[static_cast<std::size_t>(k)]; }
    // The next frame, as the timer shows it.
    void Step();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString source_;
    std::vector<QImage> frames_;
    int current_ = 0;
    bool active_ = false;
    QTimer timer_;
};

}  // namespace quorvel
