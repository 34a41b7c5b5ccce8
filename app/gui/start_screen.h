// TForm4, the start screen: a borderless window shaped like its picture, shown when the program starts
// without a record. A click on one of its areas or a key chooses how the program starts; the choice goes
// to the main window, and the screen shrinks away.
#pragma once

#include <QImage>
#include <QRegion>
#include <QWidget>

#include "app/start_screen.h"

namespace quorvel {

class TForm4 : public QWidget {
    Q_OBJECT

public:
    // The picture is "bmp\Start.bmp" of `programDir`.
    TForm4(const QString& programDir, QWidget* parent = nullptr);

    QImage Image1;
    // The window's shape: every run of pixels that differ from the picture's top-left pixel.
    const QRegion& region() const { return region_; }
    // Hides the window after shrinking it through ten ellipses.
    void HideShrinking();

signals:
    void chosen(const quorvel::StartChoice& choice);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Choose(const StartChoice& choice);

    QRegion region_;
    bool choiceMade_ = false;
};

// The picture's shape, as the start screen cuts its window.
QRegion PictureRegion(const QImage& picture);

}  // namespace quorvel
