#include "auxiliary/gui/preview_window.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "core/gui/font_names.h"
#include "platform/gui/qt_text.h"

namespace quorvel {
namespace {

constexpr int kWidth = 192;
constexpr int kBoardPixels = 192;
constexpr int kMemoHeight = 81;
constexpr int kStone = 9;
const QColor kBoardColour(222, 184, 110);
const QColor kMemoColour(192, 192, 192);  // silver

// Grid spacing and offset of each size: a point's centre is col * spacing - offset, and the 9-pixel stone
// drawn from centre - 5 sits on the line one pixel left of that centre.
struct PreviewLayout {
    int size, spacing, offset;
    std::vector<int> stars;  // top-left pixels of the 3 x 3 star squares, both directions
    int centre;              // the 3 x 3 square of the centre star, or 0
};

const PreviewLayout& LayoutFor(int size) {
    static const std::vector<PreviewLayout> layouts = {
        {19, 10, 4, {34, 94, 154}, 0}, {13, 14, 2, {52, 136}, 94}, {9, 20, 4, {54, 134}, 94},
        {7, 26, 7, {}, 0},             {6, 30, 8, {}, 0},
    };
    for (const PreviewLayout& l : layouts) {
        if (l.size == size) return l;
    }
    return layouts.front();
}

QImage StonePictures() {
    QImage image(kStone, 2 * kStone + 1, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(16, 16, 16));
    p.drawEllipse(QRectF(0.25, 0.25, kStone - 0.5, kStone - 0.5));
    p.setPen(QPen(QColor(96, 96, 96), 0.8));
    p.setBrush(QColor(250, 250, 250));
    p.drawEllipse(QRectF(0.4, kStone + 1.4, kStone - 0.8, kStone - 0.8));
    return image;
}

}  // namespace

TForm8::TForm8() : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Tool), Image2(StonePictures()) {
    setObjectName(QStringLiteral("Form8"));
    setFixedSize(kWidth, kBoardPixels + kMemoHeight);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setReadOnly(true);
    Memo1->setFrameStyle(QFrame::NoFrame);
    Memo1->setGeometry(0, kBoardPixels, kWidth, kMemoHeight);
    Memo1->setFocusPolicy(Qt::NoFocus);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setFont(SystemFont("ＭＳ Ｐゴシック", 9));
    QPalette palette = Memo1->palette();
    palette.setColor(QPalette::Base, kMemoColour);
    palette.setColor(QPalette::Text, Qt::black);
    Memo1->setPalette(palette);
    DrawGrid();
}

void TForm8::DrawGrid() {
    const PreviewLayout& l = LayoutFor(preview_.boardSize);
    gridSize_ = preview_.boardSize;
    grid_ = QImage(kBoardPixels, kBoardPixels, QImage::Format_RGB32);
    grid_.fill(kBoardColour);
    QPainter p(&grid_);
    p.setPen(Qt::black);
    const int first = l.spacing - l.offset - 1;
    const int last = l.size * l.spacing - l.offset - 1;
    for (int k = 1; k <= l.size; ++k) {
        const int at = k * l.spacing - l.offset - 1;
        p.drawLine(at, first, at, last);
        p.drawLine(first, at, last, at);
    }
    for (int x : l.stars) {
        for (int y : l.stars) p.fillRect(x, y, 3, 3, Qt::black);
    }
    if (l.centre) p.fillRect(l.centre, l.centre, 3, 3, Qt::black);
}

void TForm8::PaintBoard(QImage& target) const {
    QPainter p(&target);
    p.drawImage(0, 0, grid_);
    const PreviewLayout& l = LayoutFor(preview_.boardSize);
    for (PointCode i = 0; i < kGridCells; ++i) {
        const int colour = preview_.board[i];
        if (colour != kBlack && colour != kWhite) continue;
        const int x = PointCol(i) * l.spacing - l.offset;
        const int y = PointRow(i) * l.spacing - l.offset;
        const QRect source(0, colour == kBlack ? 0 : kStone + 1, kStone, kStone);
        p.drawImage(QPoint(x - 5, y - 5), Image2, source);
    }
}

QImage TForm8::picture() { return grab().toImage(); }

void TForm8::paintEvent(QPaintEvent*) {
    QImage board(kBoardPixels, kBoardPixels, QImage::Format_RGB32);
    PaintBoard(board);
    QPainter(this).drawImage(0, 0, board);
}

void TForm8::mousePressEvent(QMouseEvent* event) {
    // The window has no title bar: a press anywhere moves it as a drag on one would.
    if (event->button() == Qt::LeftButton && windowHandle()) windowHandle()->startSystemMove();
}

void TForm8::ClearPreview() {
    preview_ = RecordPreview();
    Memo1->clear();
    if (gridSize_ != preview_.boardSize) DrawGrid();
    update();
}

void TForm8::ShowFile(const std::string& path) {
    ClearPreview();
    std::string text;
    if (!ReadPreviewFile(path, text)) return;
    preview_ = PreviewOfFileBytes(text);
    if (gridSize_ != preview_.boardSize) DrawGrid();
    Memo1->setPlainText(QString::fromStdString(PreviewMemoUtf8(preview_)));
    update();
}

void TForm8::OpenDialogShown(QWidget* dialog) {
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    ClearPreview();
    if (dialog) {
        const QRect d = dialog->frameGeometry();
        move(d.right() + 1, d.top());
    }
    show();
}

void TForm8::OpenDialogFolderChanged() { ClearPreview(); }

void TForm8::OpenDialogSelectionChanged(const std::string& path) {
    ClearPreview();
    if (IsPreviewedName(path)) ShowFile(path);
}

void TForm8::OpenDialogClosed() {
    setWindowFlag(Qt::WindowStaysOnTopHint, false);
    hide();
}

}  // namespace quorvel
