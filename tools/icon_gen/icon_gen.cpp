// Draws the toolbar icons of the main window, one 16 x 16 PNG per command, into bmp/icons/ of the program
// folder given as the argument. Each icon is a small pictograph of its command, drawn at four times the
// size and scaled down, so that the lines stay crisp.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>

namespace {

constexpr int kScale = 4;
constexpr int kSize = 16 * kScale;

const QColor kInk(40, 40, 48);
const QColor kPaper(250, 250, 244);
const QColor kBlue(52, 101, 164);
const QColor kGreen(78, 154, 6);
const QColor kRed(204, 0, 0);
const QColor kWood(222, 176, 96);
const QColor kGold(237, 212, 0);

QPen Pen(const QColor& c, double width = 1.2) {
    QPen p(c, width * kScale);
    p.setCapStyle(Qt::RoundCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

// Coordinates below are in icon pixels (0..16); the painter is scaled.
void Page(QPainter& p) {
    QPainterPath path;
    path.moveTo(3, 1.5);
    path.lineTo(10, 1.5);
    path.lineTo(13, 4.5);
    path.lineTo(13, 14.5);
    path.lineTo(3, 14.5);
    path.closeSubpath();
    p.setPen(Pen(kInk, 0.8));
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawLine(QPointF(10, 1.5), QPointF(10, 4.5));
    p.drawLine(QPointF(10, 4.5), QPointF(13, 4.5));
}

void Stone(QPainter& p, double x, double y, double r, bool black) {
    QRadialGradient g(QPointF(x - r / 3, y - r / 3), r * 1.4);
    g.setColorAt(0, black ? QColor(110, 110, 110) : QColor(255, 255, 255));
    g.setColorAt(1, black ? QColor(10, 10, 10) : QColor(190, 190, 185));
    p.setPen(Pen(black ? QColor(0, 0, 0) : QColor(120, 120, 120), 0.5));
    p.setBrush(g);
    p.drawEllipse(QPointF(x, y), r, r);
}

void Disk(QPainter& p) {
    p.setPen(Pen(kInk, 0.8));
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(2, 2, 12, 12), 1, 1);
    p.setBrush(kPaper);
    p.drawRect(QRectF(4.5, 2, 7, 4.5));
    p.setBrush(QColor(200, 200, 210));
    p.drawRect(QRectF(4, 9, 8, 5));
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& c) {
    p.setPen(Pen(c, 1.4));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF n(-d.y(), d.x());
    QPolygonF head;
    head << to + d * 1.0 << to - d * 2.5 + n * 2.2 << to - d * 2.5 - n * 2.2;
    p.setBrush(c);
    p.setPen(Pen(c, 0.5));
    p.drawPolygon(head);
}

void Grid(QPainter& p, QRectF r, int lines) {
    p.setPen(Pen(kInk, 0.5));
    for (int i = 0; i < lines; ++i) {
        const double t = i / double(lines - 1);
        p.drawLine(QPointF(r.left() + t * r.width(), r.top()), QPointF(r.left() + t * r.width(), r.bottom()));
        p.drawLine(QPointF(r.left(), r.top() + t * r.height()), QPointF(r.right(), r.top() + t * r.height()));
    }
}

void Board(QPainter& p, QRectF r) {
    p.setPen(Pen(QColor(150, 100, 40), 0.6));
    p.setBrush(kWood);
    p.drawRect(r);
    Grid(p, r.adjusted(1.5, 1.5, -1.5, -1.5), 4);
}

void Letter(QPainter& p, QRectF r, const QString& text, const QColor& c, int pixelSize, bool bold = true) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize * kScale);
    f.setBold(bold);
    p.save();
    p.scale(1.0 / kScale, 1.0 / kScale);
    p.setFont(f);
    p.setPen(c);
    p.drawText(QRectF(r.left() * kScale, r.top() * kScale, r.width() * kScale, r.height() * kScale), Qt::AlignCenter,
               text);
    p.restore();
}

void Globe(QPainter& p) {
    p.setPen(Pen(kBlue, 0.8));
    p.setBrush(QColor(200, 225, 250));
    p.drawEllipse(QPointF(7, 8), 5.5, 5.5);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(7, 8), 2.5, 5.5);
    p.drawLine(QPointF(1.5, 8), QPointF(12.5, 8));
}

void Clipboard(QPainter& p) {
    p.setPen(Pen(kInk, 0.8));
    p.setBrush(QColor(190, 140, 80));
    p.drawRoundedRect(QRectF(2.5, 2.5, 11, 12.5), 1, 1);
    p.setBrush(kPaper);
    p.drawRect(QRectF(4, 4.5, 8, 9));
    p.setBrush(QColor(170, 170, 170));
    p.drawRect(QRectF(5.5, 1.5, 5, 2.5));
}

const std::map<QString, std::function<void(QPainter&)>>& Icons() {
    static const std::map<QString, std::function<void(QPainter&)>> icons = {
        {QStringLiteral("KFN"), [](QPainter& p) {
             Page(p);
             p.setPen(Pen(kGold, 1.2));
             p.drawLine(QPointF(11, 9), QPointF(11, 15));
             p.drawLine(QPointF(8, 12), QPointF(14, 12));
         }},
        {QStringLiteral("KFO"), [](QPainter& p) {
             p.setPen(Pen(QColor(140, 100, 20), 0.8));
             p.setBrush(QColor(240, 200, 90));
             p.drawRect(QRectF(1.5, 4, 12, 9.5));
             p.drawRect(QRectF(1.5, 2.5, 5, 2));
             p.setBrush(QColor(252, 225, 130));
             QPolygonF flap;
             flap << QPointF(3.5, 7) << QPointF(15, 7) << QPointF(13.5, 13.5) << QPointF(1.5, 13.5);
             p.drawPolygon(flap);
         }},
        {QStringLiteral("KFS"), [](QPainter& p) { Disk(p); }},
        {QStringLiteral("KFW"), [](QPainter& p) {
             Disk(p);
             p.setPen(Pen(kRed, 1.6));
             p.drawLine(QPointF(8, 14), QPointF(14.5, 7.5));
         }},
        {QStringLiteral("KFP"), [](QPainter& p) {
             p.setPen(Pen(kInk, 0.8));
             p.setBrush(kPaper);
             p.drawRect(QRectF(4, 1.5, 8, 5));
             p.setBrush(QColor(170, 170, 175));
             p.drawRoundedRect(QRectF(1.5, 6, 13, 6), 1, 1);
             p.setBrush(kPaper);
             p.drawRect(QRectF(4, 10, 8, 4.5));
         }},
        {QStringLiteral("KKA"), [](QPainter& p) {
             p.setPen(Pen(kInk, 1.2));
             p.drawLine(QPointF(4, 14), QPointF(4, 2));
             p.drawLine(QPointF(4, 8), QPointF(10, 3));
             Stone(p, 4, 2.8, 2, true);
             Stone(p, 10.5, 3, 2, false);
             p.setPen(Pen(kGreen, 1.6));
             p.drawLine(QPointF(11.5, 8.5), QPointF(11.5, 14.5));
             p.drawLine(QPointF(8.5, 11.5), QPointF(14.5, 11.5));
         }},
        {QStringLiteral("KKD"), [](QPainter& p) {
             Stone(p, 7, 8, 5, true);
             p.setPen(Pen(kRed, 1.8));
             p.drawLine(QPointF(10, 10), QPointF(15, 15));
             p.drawLine(QPointF(15, 10), QPointF(10, 15));
         }},
        {QStringLiteral("KKE"), [](QPainter& p) {
             p.setPen(Pen(kInk, 0.8));
             p.setBrush(kPaper);
             QPainterPath bubble;
             bubble.addRoundedRect(QRectF(1.5, 2, 13, 9), 2.5, 2.5);
             QPolygonF tail;
             tail << QPointF(4, 10.5) << QPointF(3.5, 14.5) << QPointF(8, 10.5);
             bubble.addPolygon(tail);
             p.drawPath(bubble.simplified());
             p.setPen(Pen(kBlue, 0.8));
             for (double y : {4.8, 7.3}) p.drawLine(QPointF(4, y), QPointF(12, y));
         }},
        {QStringLiteral("KKH"), [](QPainter& p) {
             Board(p, QRectF(1, 1, 14, 14));
             Letter(p, QRectF(1, 1, 14, 14), QStringLiteral("A"), QColor(127, 255, 0).darker(130), 11);
         }},
        {QStringLiteral("KKC"), [](QPainter& p) {
             Arrow(p, QPointF(2, 5), QPointF(13, 5), kBlue);
             Arrow(p, QPointF(14, 11), QPointF(3, 11), kGreen);
         }},
        {QStringLiteral("KKT"), [](QPainter& p) {
             Page(p);
             p.setPen(Pen(kInk, 0.6));
             for (double y : {5.0, 7.5, 10.0, 12.5}) p.drawLine(QPointF(4.5, y), QPointF(11.5, y));
             p.setPen(Pen(kInk, 0.6));
             for (double x : {5.5, 8.0, 10.5}) p.drawLine(QPointF(x, 4), QPointF(x, 13));
         }},
        {QStringLiteral("KKS"), [](QPainter& p) {
             Clipboard(p);
             Stone(p, 7, 8, 2, true);
             Stone(p, 10, 11, 2, false);
         }},
        {QStringLiteral("KKP"), [](QPainter& p) {
             p.setPen(Pen(kInk, 0.8));
             p.setBrush(QColor(255, 240, 200));
             p.drawRoundedRect(QRectF(1.5, 3, 13, 10), 2, 2);
             Letter(p, QRectF(1.5, 3, 13, 10), QStringLiteral("P"), kRed, 9);
         }},
        {QStringLiteral("KKR"), [](QPainter& p) {
             p.setPen(Pen(kBlue, 1.5));
             p.setBrush(Qt::NoBrush);
             p.drawArc(QRectF(2.5, 2.5, 11, 11), 60 * 16, 280 * 16);
             QPolygonF head;
             head << QPointF(10.5, 0.8) << QPointF(12.5, 5.5) << QPointF(7.5, 5);
             p.setBrush(kBlue);
             p.setPen(Pen(kBlue, 0.4));
             p.drawPolygon(head);
         }},
        {QStringLiteral("KKW"), [](QPainter& p) {
             Board(p, QRectF(1, 1, 14, 14));
             QPolygonF play;
             play << QPointF(5.5, 4) << QPointF(12, 8) << QPointF(5.5, 12);
             p.setPen(Pen(kGreen.darker(130), 0.6));
             p.setBrush(kGreen);
             p.drawPolygon(play);
         }},
        {QStringLiteral("KKM"), [](QPainter& p) {
             Board(p, QRectF(1, 1, 14, 14));
             p.setPen(Pen(QColor(200, 120, 20), 2.2));
             p.drawLine(QPointF(4, 12), QPointF(12, 4));
             p.setPen(Pen(kInk, 1.0));
             p.drawLine(QPointF(3, 13), QPointF(4.2, 11.8));
         }},
        {QStringLiteral("KSH"), [](QPainter& p) {
             Board(p, QRectF(1, 1, 14, 14));
             p.setPen(Pen(kRed, 1.2));
             p.drawLine(QPointF(8, 3), QPointF(8, 13));
             p.drawLine(QPointF(3, 8), QPointF(13, 8));
         }},
        {QStringLiteral("KNR"), [](QPainter& p) {
             Globe(p);
             Arrow(p, QPointF(12.5, 7), QPointF(12.5, 14), kGreen);
         }},
        {QStringLiteral("KNN"), [](QPainter& p) {
             Globe(p);
             Arrow(p, QPointF(12.5, 14), QPointF(12.5, 7), kRed);
         }},
        {QStringLiteral("KNE"), [](QPainter& p) {
             p.setPen(Pen(kInk, 0.8));
             p.setBrush(kPaper);
             p.drawRect(QRectF(1.5, 3.5, 13, 9));
             p.drawLine(QPointF(1.5, 3.5), QPointF(8, 9));
             p.drawLine(QPointF(14.5, 3.5), QPointF(8, 9));
         }},
        {QStringLiteral("KVS"), [](QPainter& p) {
             Clipboard(p);
             Arrow(p, QPointF(8, 5.5), QPointF(8, 12.5), kBlue);
         }},
        {QStringLiteral("KVM"), [](QPainter& p) {
             p.setPen(Pen(kInk, 0.6));
             p.setBrush(kPaper);
             p.drawRect(QRectF(5, 5, 10, 10));
             Board(p, QRectF(1, 1, 10, 10));
         }},
        {QStringLiteral("KVK"), [](QPainter& p) {
             Board(p, QRectF(1, 1, 14, 14));
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(0, 0, 0));
             for (QPointF c : {QPointF(4.5, 4.5), QPointF(7.5, 4.5), QPointF(4.5, 7.5)}) p.drawRect(QRectF(c, QSizeF(2, 2)));
             p.setBrush(QColor(255, 255, 255));
             for (QPointF c : {QPointF(10.5, 10.5), QPointF(7.5, 10.5)}) p.drawRect(QRectF(c, QSizeF(2, 2)));
         }},
        {QStringLiteral("KVF"), [](QPainter& p) {
             p.setPen(Pen(kBlue, 0.8));
             p.setBrush(QColor(210, 230, 250));
             p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
             Letter(p, QRectF(1.5, 1.5, 13, 13), QStringLiteral("i"), kBlue, 10);
         }},
        {QStringLiteral("KVE"), [](QPainter& p) {
             Board(p, QRectF(1, 4, 11, 11));
             p.setPen(Pen(kInk, 0.7));
             p.setBrush(kPaper);
             p.drawRoundedRect(QRectF(7, 1, 8.5, 6), 1.5, 1.5);
         }},
        {QStringLiteral("switch"), [](QPainter& p) {
             p.setPen(Pen(kInk, 0.8));
             p.setBrush(QColor(210, 210, 220));
             p.drawRect(QRectF(1.5, 2, 13, 4));
             p.setBrush(kWood);
             p.drawRect(QRectF(1.5, 7, 13, 7));
             Arrow(p, QPointF(12, 9), QPointF(12, 3.5), kBlue);
         }},
    };
    return icons;
}

// The mark palette's buttons, "mark1" .. "mark15" without "mark8", in the order of the mark kinds: square,
// star, circle, triangle down, triangle up, diamond, cross, then the labels A to G.
void MarkSymbol(QPainter& p, int kind) {
    const QColor ink(30, 30, 160);
    p.setPen(Pen(ink, 0.35));
    p.setBrush(Qt::NoBrush);
    const auto polygon = [&p](std::initializer_list<QPointF> points) { p.drawPolygon(QPolygonF(points)); };
    switch (kind) {
        case 1: p.drawRect(QRectF(3.5, 3.5, 9, 9)); break;
        case 2: {
            QPolygonF star;
            for (int i = 0; i < 10; ++i) {
                const double a = -M_PI / 2 + i * M_PI / 5;
                const double r = i % 2 == 0 ? 6.5 : 2.7;
                star << QPointF(8 + r * std::cos(a), 8.5 + r * std::sin(a));
            }
            p.drawPolygon(star);
            break;
        }
        case 3: p.drawEllipse(QPointF(8, 8), 5, 5); break;
        case 4: polygon({QPointF(2.5, 4), QPointF(13.5, 4), QPointF(8, 13)}); break;
        case 5: polygon({QPointF(8, 3), QPointF(13.5, 12.5), QPointF(2.5, 12.5)}); break;
        case 6: polygon({QPointF(8, 2.5), QPointF(13.5, 8), QPointF(8, 13.5), QPointF(2.5, 8)}); break;
        case 7:
            p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
            p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
            break;
        default: {
            QFont f(QStringLiteral("DejaVu Sans"));
            f.setPixelSize(12);
            f.setBold(true);
            p.setFont(f);
            p.setPen(ink);
            p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, QString(QLatin1Char(static_cast<char>('A' + kind - 9))));
            break;
        }
    }
}

std::map<QString, std::function<void(QPainter&)>> AllIcons() {
    std::map<QString, std::function<void(QPainter&)>> all = Icons();
    for (int kind = 1; kind <= 15; ++kind) {
        if (kind != 8) all[QStringLiteral("mark%1").arg(kind)] = [kind](QPainter& p) { MarkSymbol(p, kind); };
    }
    return all;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: icon_gen PROGRAM_FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/bmp/icons");
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "icon_gen: cannot create %s\n", qPrintable(folder));
        return 1;
    }
    // Besides one file per icon, one strip of them all, named in order by strip.txt: a start then decodes
    // one picture instead of forty.
    const auto all = AllIcons();
    QImage strip(16 * static_cast<int>(all.size()), 16, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    QPainter stripPainter(&strip);
    QByteArray names;
    int at = 0;
    for (const auto& [name, draw] : all) {
        QImage big(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
        big.fill(Qt::transparent);
        QPainter p(&big);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(kScale, kScale);
        draw(p);
        p.end();
        const QImage icon = big.scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (!icon.save(folder + QLatin1Char('/') + name + QStringLiteral(".png"))) {
            std::fprintf(stderr, "icon_gen: cannot write %s\n", qPrintable(name));
            return 1;
        }
        stripPainter.drawImage(16 * at++, 0, icon);
        names += name.toLatin1() + '\n';
    }
    stripPainter.end();
    QFile index(folder + QStringLiteral("/strip.txt"));
    if (!strip.save(folder + QStringLiteral("/strip.png")) || !index.open(QIODevice::WriteOnly) ||
        index.write(names) != names.size()) {
        std::fprintf(stderr, "icon_gen: cannot write the strip\n");
        return 1;
    }
    return 0;
}
