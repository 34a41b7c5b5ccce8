#include "app/gui/export_pictures.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QMimeData>
#include <QPainter>
#include <QPolygon>
#include <QPrinter>
#include <QSvgGenerator>

#include "core/gui/board_painter.h"
#include "core/gui/font_names.h"
#include "formats/board_diagram.h"
#include "platform/gui/qt_text.h"

namespace quorvel {
namespace {

const char* const kPictureFont = "MS明朝";

const char* MarkCharacter(int kind) {
    static const char* const kCharacters[] = {"", "□",  "☆",  "○",  "▽",  "△",  "◇",  "×",
                                              "", "Ａ", "Ｂ", "Ｃ", "Ｄ", "Ｅ", "Ｆ", "Ｇ"};
    return kind >= 1 && kind <= 15 ? kCharacters[kind] : "";
}

// A mark belongs to what lies on its point in the diagram.
bool MarkShown(int mark, const DiagramPoint& point) {
    return mark > 0 && MarkColour(mark) == point.colour;
}

// Text with its top-left corner at (x, y).
void TextAt(QPainter& p, int x, int y, const QString& text) {
    p.drawText(x, y + QFontMetrics(p.font()).ascent(), text);
}

// The vector picture on any painter: grid, star crosses, stones with numbers, marks.
void PaintVectorPicture(QPainter& p, const Engine& e) {
    const int size = e.boardSize;
    const int last = 11 + (size - 1) * 20;
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::black);
    for (int at = 11; at <= last; at += 20) {
        p.drawLine(11, at, last, at);
        p.drawLine(at, 11, at, last);
    }
    for (const auto& [col, row] : StarPoints(size)) {
        const int x = col * 20 - 9;
        const int y = row * 20 - 9;
        // A filled cross of 5 x 5 units.
        const QPolygon cross({QPoint(x - 1, y - 2), QPoint(x + 1, y - 2), QPoint(x + 1, y - 1),
                              QPoint(x + 2, y - 1), QPoint(x + 2, y + 1), QPoint(x + 1, y + 1),
                              QPoint(x + 1, y + 2), QPoint(x - 1, y + 2), QPoint(x - 1, y + 1),
                              QPoint(x - 2, y + 1), QPoint(x - 2, y - 1), QPoint(x - 1, y - 1)});
        p.drawPolygon(cross);
    }
    if (e.currentIndex <= 0) return;
    const DiagramGrid d = LineDiagram(e);
    for (int col = 1; col <= size; ++col) {
        for (int row = 1; row <= size; ++row) {
            const DiagramPoint& point = d[MakePoint(col, row)];
            if (point.colour == kEmpty) continue;
            const bool black = point.colour == kBlack;
            const int x = col * 20 - 9;
            const int y = row * 20 - 9;
            p.setPen(Qt::black);
            p.setBrush(black ? Qt::black : Qt::white);
            p.drawEllipse(QPoint(x, y), 10, 10);
            if (point.entry == 0) continue;
            const int n = PictureMoveNumber(e, point.entry);
            if (n <= 0) continue;
            const int digits = n >= 100 ? 3 : n >= 10 ? 2 : 1;
            p.setFont(SystemFont(kPictureFont, digits == 1 ? 13 : digits == 2 ? 10 : 7));
            p.setPen(black ? Qt::white : Qt::black);
            const int dx = digits == 1 ? 3 : digits == 2 ? 6 : 7;
            const int dy = digits == 1 ? 9 : digits == 2 ? 6 : 4;
            TextAt(p, x - dx, y - dy, QString::number(n));
        }
    }
    for (int col = 1; col <= size; ++col) {
        for (int row = 1; row <= size; ++row) {
            const PointCode pt = MakePoint(col, row);
            const int mark = e.markGrid[pt];
            if (!MarkShown(mark, d[pt])) continue;
            const QString text = ToQString(MarkCharacter(MarkKind(mark)));
            const int x = col * 20 - 9;
            const int y = row * 20 - 9;
            if (d[pt].colour == kEmpty) {
                // Blue and bold on an opaque ground that hides the grid under the character.
                QFont font = SystemFont(kPictureFont, 12, true);
                p.setFont(font);
                const QRect box = QFontMetrics(font).boundingRect(text).translated(
                    x - 7, y - 7 + QFontMetrics(font).ascent());
                p.fillRect(box, Qt::white);
                p.setPen(Qt::blue);
                TextAt(p, x - 7, y - 7, text);
            } else {
                p.setFont(SystemFont(kPictureFont, 10));
                p.setPen(d[pt].colour == kBlack ? Qt::white : Qt::black);
                TextAt(p, x - 6, y - 6, text);
            }
        }
    }
}

QFont PageFont(int points) {
    QFont font = SystemFont("MS明朝", points);
    font.setPixelSize((points * kPageUnitsPerInch + 36) / 72);
    return font;
}

}  // namespace

QImage BoardBitmap(BoardPainter& painter, const Engine& e) {
    QImage picture = painter.BoardImage().copy(0, 0, 399, 395).convertToFormat(QImage::Format_RGB32);
    if (e.currentIndex <= 0) return picture;
    const BoardGeometry& g = *e.geometry;
    const DiagramGrid d = LineDiagram(e);
    QPainter p(&picture);
    for (int col = 1; col <= 19; ++col) {
        for (int row = 1; row <= 19; ++row) {
            const PointCode pt = MakePoint(col, row);
            if (!e.IsOnBoard(pt) || d[pt].colour == kEmpty) continue;
            const int number = d[pt].entry > 0 ? PictureMoveNumber(e, d[pt].entry) : 0;
            painter.DrawStoneOnPicture(p, g.CentreX(pt), g.CentreY(pt), number, d[pt].colour);
        }
    }
    for (int col = 1; col <= 19; ++col) {
        for (int row = 1; row <= 19; ++row) {
            const PointCode pt = MakePoint(col, row);
            if (e.IsOnBoard(pt) && MarkShown(e.markGrid[pt], d[pt]))
                painter.DrawMark(p, e.markGrid[pt], pt, g);
        }
    }
    return picture;
}

int VectorPictureSide(int boardSize) {
    return boardSize * 20 + 5;
}

QByteArray BoardSvg(const Engine& e) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const int side = VectorPictureSide(e.boardSize);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(side, side));
    svg.setViewBox(QRect(0, 0, side, side));
    svg.setResolution(96);
    svg.setTitle(QStringLiteral("Quorvel"));
    QPainter p(&svg);
    PaintVectorPicture(p, e);
    p.end();
    return bytes;
}

QImage BoardVectorImage(const Engine& e) {
    const int side = VectorPictureSide(e.boardSize);
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    PaintVectorPicture(p, e);
    return image;
}

QMimeData* BoardVectorMime(const Engine& e) {
    auto* mime = new QMimeData;
    mime->setData(QStringLiteral("image/svg+xml"), BoardSvg(e));
    const QImage image = BoardVectorImage(e);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    mime->setData(QStringLiteral("image/png"), png);
    mime->setImageData(image);
    return mime;
}

void PaintSheet(QPainter& p, const Sheet& sheet) {
    for (const SheetItem& item : sheet.items) {
        switch (item.kind) {
            case SheetItem::Kind::Line:
                p.setPen(QPen(Qt::black, 0));
                p.drawLine(item.x, item.y, item.x2, item.y2);
                break;
            case SheetItem::Kind::Bar:
                p.fillRect(QRect(QPoint(item.x, item.y), QPoint(item.x2 - 1, item.y2 - 1)), Qt::black);
                break;
            case SheetItem::Kind::Circle:
                p.setPen(QPen(Qt::black, 2));
                p.setBrush(item.white ? Qt::white : Qt::black);
                p.drawEllipse(QPoint(item.x, item.y), item.x2, item.x2);
                break;
            case SheetItem::Kind::Text: {
                const QFont font = PageFont(item.fontSize);
                p.setFont(font);
                const QString text = ToQString(item.text);
                const QFontMetrics metrics(font);
                if (item.onBlack) {
                    p.fillRect(QRect(item.x, item.y, metrics.horizontalAdvance(text), metrics.height()),
                               Qt::black);
                }
                p.setPen(item.white ? Qt::white : Qt::black);
                p.drawText(item.x, item.y + metrics.ascent(), text);
                break;
            }
        }
    }
}

void PrintJobTo(QPrinter& printer, const PrintJob& job) {
    printer.setDocName(ToQString(job.title));
    QPainter p(&printer);
    const double scale = printer.resolution() / static_cast<double>(kPageUnitsPerInch);
    for (std::size_t i = 0; i < job.sheets.size(); ++i) {
        if (i > 0) printer.newPage();
        p.save();
        p.scale(scale, scale);
        PaintSheet(p, job.sheets[i]);
        p.restore();
    }
}

}  // namespace quorvel
