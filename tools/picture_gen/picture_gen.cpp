// Draws every picture of the program folder's "bmp" folder and synthesises the stone sound, at build time:
//   picture_gen PROGRAM_DIR
// The wood, the stones and the buttons are computed here; nothing is copied from anywhere.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>
#include <cmath>
#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <fstream>
#include <vector>

namespace {

// ---- Wood ----

// A smooth pseudo-random value in [0, 1] on a lattice, interpolated: the base of the wood grain.
double Hash(int x, int y, int seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
                 static_cast<uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return ((h ^ (h >> 16)) & 0xffff) / 65535.0;
}

double ValueNoise(double x, double y, int seed) {
    const int ix = static_cast<int>(std::floor(x));
    const int iy = static_cast<int>(std::floor(y));
    const double fx = x - ix, fy = y - iy;
    const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const double a = Hash(ix, iy, seed), b = Hash(ix + 1, iy, seed);
    const double c = Hash(ix, iy + 1, seed), d = Hash(ix + 1, iy + 1, seed);
    return (a + (b - a) * sx) * (1 - sy) + (c + (d - c) * sx) * sy;
}

double Fbm(double x, double y, int seed) {
    double sum = 0, amp = 0.5;
    for (int i = 0; i < 4; ++i) {
        sum += amp * ValueNoise(x, y, seed + i);
        x *= 2.03;
        y *= 2.03;
        amp *= 0.5;
    }
    return sum;
}

// Kaya wood with its straight grain running from top to bottom.
QColor WoodAt(int x, int y, int seed, double shade) {
    const double warp = Fbm(x * 0.012, y * 0.004, seed);
    const double rings = 0.5 + 0.5 * std::sin((x + 60 * warp) * 0.42);
    const double fine = Fbm(x * 0.35, y * 0.02, seed + 7);
    const double dark = 0.09 * std::pow(rings, 4) + 0.06 * fine + 0.05 * Fbm(x * 0.03, y * 0.03, seed + 3);
    const double k = shade * (1.0 - dark);
    return QColor::fromRgbF(std::min(1.0, 0.92 * k), std::min(1.0, 0.74 * k), std::min(1.0, 0.46 * k));
}

// The board: the playing surface 384 x 384 and the board's thickness seen on the right and at the bottom.
QImage Board(int seed) {
    QImage img(399, 395, QImage::Format_RGB32);
    const int surface = 384;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            double shade = 1.0;
            if (x >= surface || y >= surface) {
                // The side faces: darker, the bottom face darker than the right one, edges rounded off.
                const bool bottom = y >= surface && (y - surface) * 15 >= (x - surface) * 11;
                shade = bottom ? 0.62 - 0.012 * (y - surface) : 0.74 - 0.012 * (x - surface);
                if (x >= surface + (y - surface + 1) && y < surface + 1) shade = 1.0;
            } else {
                // A soft light from the top left over the surface.
                shade = 1.02 - 0.05 * (x + y) / (2.0 * surface);
            }
            img.setPixelColor(x, y, WoodAt(x, y, seed, shade));
        }
    }
    // The far corners beyond the thickness show the background.
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(192, 240, 192));
    p.drawPolygon(QPolygon({QPoint(surface, 0), QPoint(399, 0), QPoint(399, 15)}));
    p.drawPolygon(QPolygon({QPoint(0, surface), QPoint(0, 395), QPoint(11, 395)}));
    p.setPen(QColor(120, 84, 40));
    p.drawLine(surface, 1, surface, surface);
    p.drawLine(1, surface, surface, surface);
    return img;
}

// ---- Stones ----

// A stone sheet: cells of c pixels; column 0 the black (row 0) and white (row 1) stone on a white ground,
// column 1 their masks, a white disc on black. The disc is c - 1 pixels wide, centred on pixel c / 2 - 1.
QImage StoneSheet(int c) {
    QImage img(2 * c, 2 * c, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double r = (c - 1) / 2.0;
    for (int row = 0; row < 2; ++row) {
        const QPointF centre(c / 2 - 1 + 0.5, row * c + c / 2 - 1 + 0.5);
        const bool black = row == 0;
        // The stone reaches half a pixel past its mask so that the mask alone shapes the edge.
        QRadialGradient g(centre + QPointF(-r * 0.35, -r * 0.4), r * 1.45);
        if (black) {
            g.setColorAt(0.0, QColor(120, 120, 124));
            g.setColorAt(0.25, QColor(52, 52, 56));
            g.setColorAt(0.7, QColor(14, 14, 16));
            g.setColorAt(1.0, QColor(0, 0, 0));
        } else {
            g.setColorAt(0.0, QColor(255, 255, 255));
            g.setColorAt(0.45, QColor(240, 239, 232));
            g.setColorAt(0.8, QColor(205, 203, 194));
            g.setColorAt(1.0, QColor(160, 158, 150));
        }
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(centre, r + 0.7, r + 0.7);
        if (!black) {
            // Faint growth lines of a clam-shell stone.
            p.setBrush(Qt::NoBrush);
            for (int i = 1; i <= 3; ++i) {
                p.setPen(QPen(QColor(200, 198, 190, 70), std::max(1.0, r / 12)));
                p.drawArc(QRectF(centre.x() - r * 1.6, centre.y() - r * (0.2 + 0.5 * i), r * 3.2, r * 3.0),
                          200 * 16, 140 * 16);
            }
        }
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawRect(QRectF(c, row * c, c, c));
        p.setBrush(Qt::white);
        p.drawEllipse(centre + QPointF(c, 0), r, r);
    }
    return img;
}

// ---- Buttons and panels ----

void Bevel(QPainter& p, const QRect& r, const QColor& top, const QColor& bottom) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    p.setBrush(Qt::NoBrush);
    p.setPen(QColor(255, 255, 255, 110));
    p.drawLine(r.left() + 2, r.top() + 1, r.right() - 2, r.top() + 1);
    p.setPen(QColor(0, 0, 0, 120));
    p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
}

QImage Bar(bool on) {
    QImage img(50, 20, QImage::Format_RGB32);
    img.fill(QColor(192, 240, 192));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    if (on) {
        Bevel(p, QRect(0, 0, 50, 20), QColor(250, 150, 60), QColor(196, 70, 20));
    } else {
        Bevel(p, QRect(0, 0, 50, 20), QColor(70, 150, 120), QColor(24, 84, 64));
    }
    return img;
}

void Triangle(QPainter& p, QPointF tip, double w, double h, bool left, const QColor& colour) {
    const double dir = left ? 1 : -1;
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({tip, tip + QPointF(dir * w, -h / 2), tip + QPointF(dir * w, h / 2)}));
}

// The navigation strip: six buttons of 27 x 20 pixels, 28 apart: start, back ten, back one, forward one,
// forward ten, end.
QImage ShowTool() {
    QImage img(168, 22, QImage::Format_RGB32);
    img.fill(QColor(192, 240, 192));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(255, 255, 255);
    for (int i = 0; i < 6; ++i) {
        const QRect r(28 * i, 1, 27, 20);
        Bevel(p, r, QColor(96, 128, 176), QColor(36, 58, 104));
        const double cy = r.top() + 10;
        const double mid = r.left() + 13.5;
        switch (i) {
            case 0:  // to the start: bar and double arrow
                p.fillRect(QRectF(mid - 8, cy - 5, 2, 10), ink);
                Triangle(p, {mid - 6, cy}, 7, 10, true, ink);
                Triangle(p, {mid + 1, cy}, 7, 10, true, ink);
                break;
            case 1:
                Triangle(p, {mid - 7, cy}, 7, 10, true, ink);
                Triangle(p, {mid, cy}, 7, 10, true, ink);
                break;
            case 2: Triangle(p, {mid - 4, cy}, 8, 10, true, ink); break;
            case 3: Triangle(p, {mid + 4, cy}, 8, 10, false, ink); break;
            case 4:
                Triangle(p, {mid + 7, cy}, 7, 10, false, ink);
                Triangle(p, {mid, cy}, 7, 10, false, ink);
                break;
            default:
                Triangle(p, {mid + 6, cy}, 7, 10, false, ink);
                Triangle(p, {mid - 1, cy}, 7, 10, false, ink);
                p.fillRect(QRectF(mid + 6, cy - 5, 2, 10), ink);
                break;
        }
    }
    return img;
}

// The autoplay controls, 50 x 40: "+" and "-" of the interval with the seconds field, backward and
// forward play.
QImage Auto() {
    QImage img(50, 40, QImage::Format_RGB32);
    img.fill(QColor(192, 240, 192));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(255, 255, 255);
    Bevel(p, QRect(1, 1, 15, 19), QColor(96, 128, 176), QColor(36, 58, 104));
    Bevel(p, QRect(17, 1, 15, 19), QColor(96, 128, 176), QColor(36, 58, 104));
    p.fillRect(QRectF(4.5, 9.5, 9, 2), ink);
    p.fillRect(QRectF(8, 6, 2, 9), ink);
    p.fillRect(QRectF(20.5, 9.5, 9, 2), ink);
    // The field that shows the interval in seconds.
    p.setPen(QColor(144, 176, 160));
    p.setBrush(QColor(240, 255, 244));
    p.drawRect(QRectF(33.5, 1.5, 15, 18));
    Bevel(p, QRect(1, 21, 23, 19), QColor(80, 160, 120), QColor(24, 96, 64));
    Bevel(p, QRect(25, 21, 25, 19), QColor(80, 160, 120), QColor(24, 96, 64));
    Triangle(p, {6, 30.5}, 11, 12, true, ink);
    Triangle(p, {44, 30.5}, 11, 12, false, ink);
    return img;
}

QImage Background(bool toolColumn) {
    QImage img(32, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            // A faint woven texture around the window's green; seamless because it is periodic in 32.
            const double a = std::sin(x * M_PI / 8) * std::sin(y * M_PI / 8);
            const double b = std::sin((x + y) * M_PI / 16);
            const int d = static_cast<int>(std::lround((toolColumn ? 5 : 3) * a + 2 * b));
            img.setPixelColor(x, y, QColor(192 + d, std::min(255, 240 + d), 192 + d));
        }
    }
    return img;
}

QFont Mincho(int size, bool bold) {
    QFont f(QStringLiteral("IPAPMincho"));
    f.setPixelSize(size * 96 / 72);
    f.setBold(bold);
    return f;
}

// The prisoner box: a black stone over the black stones taken, a white stone over the white ones; the
// window writes the counts in white.
QImage Hama() {
    QImage img(49, 35, QImage::Format_RGB32);
    img.fill(QColor(192, 240, 192));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    Bevel(p, QRect(0, 0, 49, 35), QColor(118, 78, 44), QColor(70, 42, 20));
    for (int row = 0; row < 2; ++row) {
        const QPointF c(9.5, 9.5 + 16 * row);
        QRadialGradient g(c + QPointF(-2, -2), 8);
        g.setColorAt(0, row == 0 ? QColor(110, 110, 110) : QColor(255, 255, 255));
        g.setColorAt(1, row == 0 ? QColor(0, 0, 0) : QColor(190, 188, 180));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(c, 6.5, 6.5);
    }
    return img;
}

// A small button of creation mode with a drawn symbol.
QImage SmallButton(int w, int h, const std::function<void(QPainter&)>& symbol) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(QColor(192, 240, 192));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    Bevel(p, QRect(0, 0, w, h), QColor(236, 236, 228), QColor(176, 176, 164));
    symbol(p);
    return img;
}

void Disc(QPainter& p, QPointF c, double r, bool black) {
    p.setPen(black ? Qt::NoPen : QPen(QColor(90, 90, 90), 1));
    p.setBrush(black ? QColor(20, 20, 20) : QColor(250, 250, 250));
    p.drawEllipse(c, r, r);
}

// The clear-to-start and take-back buttons of creation mode, 50 x 21.
QImage MakeBack() {
    QImage img(50, 21, QImage::Format_RGB32);
    img.fill(QColor(192, 240, 192));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(255, 255, 255);
    Bevel(p, QRect(1, 0, 24, 21), QColor(176, 96, 96), QColor(112, 36, 36));
    Bevel(p, QRect(26, 0, 24, 21), QColor(176, 96, 96), QColor(112, 36, 36));
    p.fillRect(QRectF(6, 5.5, 2, 10), ink);
    Triangle(p, {8, 10.5}, 6, 10, true, ink);
    Triangle(p, {14, 10.5}, 6, 10, true, ink);
    Triangle(p, {33, 10.5}, 9, 10, true, ink);
    return img;
}

// A go bowl with a stone of its colour on the lid: the player pictures of the information panel.
QImage Bowl(bool black) {
    QImage img(27, 25, QImage::Format_RGB32);
    img.fill(QColor(192, 240, 192));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 8, 0, 24);
    g.setColorAt(0, QColor(196, 140, 80));
    g.setColorAt(1, QColor(110, 66, 30));
    p.setPen(QPen(QColor(80, 48, 20), 1));
    p.setBrush(g);
    p.drawEllipse(QRectF(1.5, 7.5, 24, 16));
    p.setBrush(QColor(150, 100, 52));
    p.drawEllipse(QRectF(3.5, 6.5, 20, 6));
    QRadialGradient s(QPointF(11, 6), 8);
    s.setColorAt(0, black ? QColor(120, 120, 120) : QColor(255, 255, 255));
    s.setColorAt(1, black ? QColor(0, 0, 0) : QColor(190, 188, 180));
    p.setPen(black ? Qt::NoPen : QPen(QColor(140, 140, 130), 0.8));
    p.setBrush(s);
    p.drawEllipse(QRectF(7, 1, 13, 10));
    return img;
}

// The move-number frame of the information panel, 80 x 28: a caption on the left, the number's field on
// the right.
QImage Kazuwaku() {
    QImage img(80, 28, QImage::Format_RGB32);
    img.fill(QColor(192, 240, 192));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    Bevel(p, QRect(0, 0, 80, 28), QColor(118, 78, 44), QColor(70, 42, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 252, 236));
    p.drawRoundedRect(QRectF(22.5, 2.5, 55, 23), 2, 2);
    p.setPen(Qt::white);
    p.setFont(Mincho(9, true));
    p.drawText(QRect(0, 0, 22, 28), Qt::AlignCenter, QStringLiteral("\u624b\n\u6570"));
    return img;
}

// The pass sign of the bottom strip.
QImage PassSign() {
    QImage img(34, 17, QImage::Format_RGB32);
    img.fill(QColor(192, 240, 192));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    Bevel(p, QRect(0, 0, 34, 17), QColor(250, 236, 120), QColor(220, 176, 40));
    p.setPen(QColor(150, 30, 20));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(10);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(0, 0, 34, 17), Qt::AlignCenter, QStringLiteral("PASS"));
    return img;
}

bool Save(const QImage& img, const QString& path) {
    if (img.convertToFormat(QImage::Format_RGB888).save(path, "BMP")) return true;
    std::fprintf(stderr, "picture_gen: cannot write %s\n", qPrintable(path));
    return false;
}

// ---- Sound ----

// A short wooden click: a sharp noise attack and a few quickly fading resonances of a board struck by a
// stone, 16-bit mono at 22050 Hz.
bool WriteStoneWav(const QString& path) {
    const int rate = 22050;
    const int samples = rate * 14 / 100;
    std::vector<int16_t> pcm(samples);
    uint32_t noise = 12345;
    const double modes[][3] = {{820, 0.55, 38}, {1460, 0.35, 55}, {2630, 0.22, 80}, {410, 0.30, 30}};
    for (int i = 0; i < samples; ++i) {
        const double t = static_cast<double>(i) / rate;
        noise = noise * 1664525u + 1013904223u;
        const double white = ((noise >> 9) & 0xffff) / 32768.0 - 1.0;
        double v = white * std::exp(-t * 900) * 0.9;
        for (const auto& m : modes) v += m[1] * std::sin(2 * M_PI * m[0] * t) * std::exp(-t * m[2]);
        const double attack = std::min(1.0, t * rate / 12.0);
        pcm[i] = static_cast<int16_t>(std::clamp(v * attack * 0.55, -1.0, 1.0) * 32000);
    }
    std::ofstream out(path.toStdString(), std::ios::binary);
    auto put32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto put16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    const uint32_t bytes = static_cast<uint32_t>(samples * 2);
    out.write("RIFF", 4);
    put32(36 + bytes);
    out.write("WAVEfmt ", 8);
    put32(16);
    put16(1);
    put16(1);
    put32(rate);
    put32(rate * 2);
    put16(2);
    put16(16);
    out.write("data", 4);
    put32(bytes);
    out.write(reinterpret_cast<const char*>(pcm.data()), bytes);
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: picture_gen PROGRAM_DIR\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const QString bmp = dir + QStringLiteral("/bmp/");
    if (!QDir().mkpath(bmp)) {
        std::fprintf(stderr, "picture_gen: cannot create %s\n", qPrintable(bmp));
        return 1;
    }
    bool ok = true;
    const int sizes[] = {19, 13, 9, 7, 6};
    for (int i = 0; i < 5; ++i) {
        ok &= Save(Board(100 + i), bmp + QStringLiteral("GoBan%1.bmp").arg(sizes[i]));
    }
    ok &= Save(StoneSheet(20), bmp + QStringLiteral("GoStone.bmp"));
    ok &= Save(StoneSheet(30), bmp + QStringLiteral("GoStone13.bmp"));
    ok &= Save(StoneSheet(42), bmp + QStringLiteral("GoStone9.bmp"));
    ok &= Save(ShowTool(), bmp + QStringLiteral("ShowTool.bmp"));
    ok &= Save(Background(true), bmp + QStringLiteral("bg1.bmp"));
    ok &= Save(Background(false), bmp + QStringLiteral("bg2.bmp"));
    ok &= Save(Bar(false), bmp + QStringLiteral("bar.bmp"));
    ok &= Save(Bar(true), bmp + QStringLiteral("baron.bmp"));
    ok &= Save(Auto(), bmp + QStringLiteral("auto.bmp"));
    ok &= Save(Hama(), bmp + QStringLiteral("hama.bmp"));
    ok &= Save(MakeBack(), bmp + QStringLiteral("MakeBack.bmp"));
    ok &= Save(Bowl(true), bmp + QStringLiteral("kuroBB.bmp"));
    ok &= Save(Bowl(false), bmp + QStringLiteral("siroBB.bmp"));
    ok &= Save(Kazuwaku(), bmp + QStringLiteral("kazuwaku.bmp"));
    ok &= Save(PassSign(), bmp + QStringLiteral("pass.bmp"));
    ok &= Save(SmallButton(22, 20,
                           [](QPainter& p) {
                               Disc(p, {8, 11}, 5, true);
                               Disc(p, {14, 8}, 5, false);
                           }),
               bmp + QStringLiteral("tete.bmp"));
    ok &= Save(SmallButton(22, 20,
                           [](QPainter& p) {
                               Disc(p, {7, 7}, 3.5, true);
                               Disc(p, {15, 7}, 3.5, true);
                               Disc(p, {7, 14}, 3.5, true);
                               Disc(p, {15, 14}, 3.5, true);
                           }),
               bmp + QStringLiteral("init.bmp"));
    if (!WriteStoneWav(dir + QStringLiteral("/stone.wav"))) {
        std::fprintf(stderr, "picture_gen: cannot write stone.wav\n");
        ok = false;
    }
    return ok ? 0 : 1;
}
