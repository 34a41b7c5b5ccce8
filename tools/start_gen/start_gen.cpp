// Draws the start screen "bmp/Start.bmp", the about window's picture "bmp/About.bmp" and the program's icon
// "quorvel.png", renders the animation "boat.avi" (uncompressed frames) and synthesises its music
// "bgm.wav", at build time:
//   start_gen PROGRAM_DIR
// Everything is computed here; nothing is copied from anywhere.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

// The start screen's transparent key: its top-left pixel.
const QColor kKey(255, 0, 255);

QColor Wood(int x, int y, double shade) {
    const double grain = 0.5 + 0.5 * std::sin(x * 0.21 + 3.0 * std::sin(y * 0.013 + x * 0.002));
    const double k = shade * (1.0 - 0.08 * grain * grain);
    return QColor(int(228 * k), int(184 * k), int(112 * k));
}

void FillWood(QImage& img, const QPainterPath& shape, double shade) {
    QImage wood(img.size(), QImage::Format_RGB32);
    for (int y = 0; y < wood.height(); ++y) {
        for (int x = 0; x < wood.width(); ++x) wood.setPixelColor(x, y, Wood(x, y, shade));
    }
    QPainter p(&img);
    p.setClipPath(shape);
    p.drawImage(0, 0, wood);
}

void Stone(QPainter& p, QPointF c, double r, bool black) {
    QRadialGradient g(c + QPointF(-r / 3, -r / 3), r * 1.2);
    g.setColorAt(0, black ? QColor(110, 110, 110) : QColor(255, 255, 255));
    g.setColorAt(1, black ? QColor(0, 0, 0) : QColor(186, 184, 176));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, r, r);
}

QFont Font(const char* family, int pixels, bool bold) {
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// A raised plaque with a caption, the look of each choice of the start screen.
void Plaque(QPainter& p, const QRectF& r, const QString& text, const QColor& face) {
    p.setPen(QPen(face.darker(170), 1.5));
    p.setBrush(face);
    p.drawRoundedRect(r, 7, 7);
    p.setPen(QPen(face.lighter(130), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(2, 2, -2, -2), 5, 5);
    p.setPen(Qt::white);
    p.setFont(Font("IPAPGothic", 14, true));
    p.drawText(r, Qt::AlignCenter, text);
}

// The start screen, 289 x 223: a wooden board with rounded corners, the choices on its left side, the title
// on its right, and below it, apart, the strip that starts in full mode and the exit button. Everything of
// the key colour is outside the window's shape.
QImage StartScreen() {
    QImage img(289, 223, QImage::Format_RGB32);
    img.fill(kKey);
    QPainterPath board;
    board.addRoundedRect(QRectF(0, 0, 289, 189), 26, 26);
    FillWood(img, board, 1.0);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    // The corner of a board with a few stones behind the title.
    p.setPen(QPen(QColor(60, 40, 20), 1));
    for (int i = 0; i < 7; ++i) {
        p.drawLine(132 + i * 22, 20, 132 + i * 22, 170);
        p.drawLine(132, 20 + i * 25, 264, 20 + i * 25);
    }
    p.setRenderHint(QPainter::Antialiasing);
    Stone(p, {176, 45}, 10, true);
    Stone(p, {198, 70}, 10, false);
    Stone(p, {220, 45}, 10, true);
    Stone(p, {242, 145}, 10, false);
    p.setPen(QColor(40, 20, 8));
    p.setFont(Font("DejaVu Serif", 30, true));
    p.drawText(QRectF(118, 82, 165, 40), Qt::AlignCenter, QStringLiteral("Quorvel"));
    p.setFont(Font("IPAPMincho", 13, false));
    p.drawText(QRectF(118, 118, 165, 20), Qt::AlignCenter, QStringLiteral("囲碁棋譜ビューア"));
    Plaque(p, QRectF(8, 10, 100, 58), QStringLiteral("新規作成"), QColor(150, 60, 40));
    Plaque(p, QRectF(8, 92, 92, 82), QStringLiteral("クリップ\nボードから\n読み込む"), QColor(40, 90, 130));

    // The strip below: full mode on the left, the exit on the right of x = 260.
    p.end();
    QPainterPath strip;
    strip.addRoundedRect(QRectF(14, 195, 240, 27), 10, 10);
    FillWood(img, strip, 0.8);
    p.begin(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::white);
    p.setFont(Font("IPAPGothic", 14, true));
    p.drawText(QRectF(14, 195, 240, 27), Qt::AlignCenter, QStringLiteral("全表示で始める"));
    // The disc's edge is not smoothed: a pixel blended with the key colour would show as a pink fringe.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(90, 20, 20), 1));
    p.setBrush(QColor(190, 50, 40));
    p.drawEllipse(QRect(262, 196, 25, 25));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 3));
    p.drawLine(QPointF(269, 203), QPointF(280, 214));
    p.drawLine(QPointF(280, 203), QPointF(269, 214));
    p.end();
    return img;
}

// The program's picture: two stones on a piece of board.
QImage Emblem(int size) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(0, 0, size, size), size / 6.0, size / 6.0);
    QImage wood(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) wood.setPixelColor(x, y, Wood(x * 3, y * 3, 1.0));
    }
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setClipPath(shape);
    p.drawImage(0, 0, wood);
    p.setClipping(false);
    p.setPen(QPen(QColor(60, 40, 20), size / 40.0));
    for (int i = 1; i <= 3; ++i) {
        p.drawLine(QPointF(i * size / 4.0, size / 8.0), QPointF(i * size / 4.0, size * 7 / 8.0));
        p.drawLine(QPointF(size / 8.0, i * size / 4.0), QPointF(size * 7 / 8.0, i * size / 4.0));
    }
    Stone(p, {size / 4.0 * 1.0, size / 4.0 * 1.0}, size / 7.0, true);
    Stone(p, {size / 4.0 * 2.0, size / 4.0 * 2.0}, size / 7.0, false);
    Stone(p, {size / 4.0 * 3.0, size / 4.0 * 1.0}, size / 7.0, true);
    return img;
}

// ---- The animation: a boat rocking on the waves, uncompressed 24-bit frames in an AVI file ----

constexpr int kFrameWidth = 136;
constexpr int kFrameHeight = 44;
constexpr int kFrames = 24;
constexpr int kMicrosecondsPerFrame = 125000;

QImage BoatFrame(int i) {
    QImage img(kFrameWidth, kFrameHeight, QImage::Format_RGB32);
    const double phase = 2 * M_PI * i / kFrames;
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, kFrameHeight);
    sky.setColorAt(0, QColor(250, 226, 170));
    sky.setColorAt(1, QColor(246, 190, 140));
    p.fillRect(img.rect(), sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 244, 210));
    p.drawEllipse(QPointF(112, 12), 7, 7);
    // The boat: a hull and a sail, rocking with the swell.
    const double x = 20 + 90.0 * i / kFrames;
    const double lift = 2.5 * std::sin(phase * 2);
    p.save();
    p.translate(x, 27 + lift);
    p.rotate(6 * std::sin(phase * 2 + 0.8));
    QPainterPath hull;
    hull.moveTo(-16, 0);
    hull.lineTo(16, 0);
    hull.lineTo(11, 6);
    hull.lineTo(-11, 6);
    hull.closeSubpath();
    p.setBrush(QColor(110, 60, 30));
    p.drawPath(hull);
    p.setBrush(QColor(80, 50, 30));
    p.drawRect(QRectF(-1, -22, 2, 22));
    QPainterPath sail;
    sail.moveTo(1, -21);
    sail.lineTo(14, -3);
    sail.lineTo(1, -3);
    sail.closeSubpath();
    p.setBrush(QColor(250, 250, 244));
    p.drawPath(sail);
    p.restore();
    // Two rows of waves moving the other way.
    for (int row = 0; row < 2; ++row) {
        QPainterPath sea;
        const double base = 33 + row * 5;
        sea.moveTo(0, kFrameHeight);
        for (int sx = 0; sx <= kFrameWidth; sx += 2) {
            sea.lineTo(sx, base + 2.0 * std::sin(sx * 0.15 + phase * (row ? -1 : 1) + row));
        }
        sea.lineTo(kFrameWidth, kFrameHeight);
        sea.closeSubpath();
        p.setBrush(row ? QColor(30, 80, 140) : QColor(60, 120, 180));
        p.drawPath(sea);
    }
    return img;
}

void Put32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xff);
}
void Put16(std::string& out, uint16_t v) {
    out += static_cast<char>(v & 0xff);
    out += static_cast<char>(v >> 8);
}
// A chunk: its four-character code, its size and its data, padded to an even length.
std::string Chunk(const char* id, const std::string& data) {
    std::string out(id, 4);
    Put32(out, static_cast<uint32_t>(data.size()));
    out += data;
    if (data.size() % 2) out += '\0';
    return out;
}
std::string List(const char* type, const std::string& body) { return Chunk("LIST", std::string(type, 4) + body); }

// A frame as a bottom-up 24-bit DIB, rows padded to four bytes.
std::string DibRows(const QImage& img) {
    const int stride = (img.width() * 3 + 3) & ~3;
    std::string rows(static_cast<std::size_t>(stride * img.height()), '\0');
    for (int y = 0; y < img.height(); ++y) {
        char* row = &rows[static_cast<std::size_t>((img.height() - 1 - y) * stride)];
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            row[x * 3] = static_cast<char>(qBlue(c));
            row[x * 3 + 1] = static_cast<char>(qGreen(c));
            row[x * 3 + 2] = static_cast<char>(qRed(c));
        }
    }
    return rows;
}

std::string BoatAvi() {
    const uint32_t frameBytes = static_cast<uint32_t>(((kFrameWidth * 3 + 3) & ~3) * kFrameHeight);
    std::string avih;
    for (uint32_t v : {uint32_t(kMicrosecondsPerFrame), frameBytes * 8, 0u, 0x10u, uint32_t(kFrames), 0u, 1u,
                       frameBytes, uint32_t(kFrameWidth), uint32_t(kFrameHeight), 0u, 0u, 0u, 0u}) {
        Put32(avih, v);
    }
    std::string strh = "vidsDIB ";
    for (uint32_t v : {0u, 0u, 0u, 1u, 1000000u / kMicrosecondsPerFrame, 0u, uint32_t(kFrames), frameBytes,
                       0xffffffffu, 0u}) {
        Put32(strh, v);
    }
    for (uint16_t v : {uint16_t(0), uint16_t(0), uint16_t(kFrameWidth), uint16_t(kFrameHeight)}) Put16(strh, v);
    std::string strf;
    for (uint32_t v : {40u, uint32_t(kFrameWidth), uint32_t(kFrameHeight)}) Put32(strf, v);
    Put16(strf, 1);
    Put16(strf, 24);
    for (uint32_t v : {0u, frameBytes, 0u, 0u, 0u, 0u}) Put32(strf, v);

    std::string movi;
    std::string idx1;
    for (int i = 0; i < kFrames; ++i) {
        idx1 += "00db";
        Put32(idx1, 0x10);
        Put32(idx1, static_cast<uint32_t>(4 + movi.size()));
        Put32(idx1, frameBytes);
        movi += Chunk("00db", DibRows(BoatFrame(i)));
    }
    const std::string hdrl = List("hdrl", Chunk("avih", avih) + List("strl", Chunk("strh", strh) + Chunk("strf", strf)));
    const std::string body = "AVI " + hdrl + List("movi", movi) + Chunk("idx1", idx1);
    return Chunk("RIFF", body);
}

// ---- The music: a calm pentatonic tune of eight bars that loops without a seam ----

std::string BgmWav() {
    const int rate = 22050;
    const double beat = 0.375;
    // Scale steps of D minor pentatonic, -1 a rest; two notes a beat.
    const int tune[] = {0, 2, 3, 4, 3, 2, 0, -1, 1, 2, 4, 5, 4, 2, 1, -1,
                        3, 4, 5, 7, 5, 4, 3, -1, 2, 1, 0, 1, 2, 0, -1, -1};
    const double scale[] = {293.66, 349.23, 392.00, 440.00, 523.25, 587.33, 698.46, 783.99};
    const int notes = sizeof tune / sizeof tune[0];
    const int samplesPerNote = static_cast<int>(rate * beat / 2 * 2);
    std::vector<double> mix(static_cast<std::size_t>(samplesPerNote * notes), 0.0);
    for (int n = 0; n < notes; ++n) {
        if (tune[n] < 0) continue;
        const double f = scale[tune[n]];
        // A plucked string (koto-like): a few harmonics fading fast, into the next note's start at most.
        for (int i = 0; i < samplesPerNote * 2 && n * samplesPerNote + i < static_cast<int>(mix.size()); ++i) {
            const double t = static_cast<double>(i) / rate;
            const double env = std::min(1.0, t * 400) * std::exp(-t * 3.2);
            const double v = std::sin(2 * M_PI * f * t) + 0.35 * std::sin(4 * M_PI * f * t) * std::exp(-t * 6) +
                             0.15 * std::sin(6 * M_PI * f * t) * std::exp(-t * 9);
            mix[static_cast<std::size_t>(n * samplesPerNote + i)] += 0.3 * env * v;
        }
        // A soft bass note on each bar's first beat.
        if (n % 8 == 0) {
            for (int i = 0; i < samplesPerNote * 8 && n * samplesPerNote + i < static_cast<int>(mix.size()); ++i) {
                const double t = static_cast<double>(i) / rate;
                mix[static_cast<std::size_t>(n * samplesPerNote + i)] +=
                    0.18 * std::min(1.0, t * 50) * std::exp(-t * 1.2) * std::sin(2 * M_PI * f / 2 * t);
            }
        }
    }
    std::string pcm;
    for (double v : mix) Put16(pcm, static_cast<uint16_t>(static_cast<int16_t>(std::clamp(v, -1.0, 1.0) * 30000)));
    std::string fmt;
    Put16(fmt, 1);
    Put16(fmt, 1);
    Put32(fmt, rate);
    Put32(fmt, rate * 2);
    Put16(fmt, 2);
    Put16(fmt, 16);
    return Chunk("RIFF", "WAVE" + Chunk("fmt ", fmt) + Chunk("data", pcm));
}

bool WriteFile(const QString& path, const std::string& bytes) {
    std::ofstream out(path.toStdString(), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (out) return true;
    std::fprintf(stderr, "start_gen: cannot write %s\n", qPrintable(path));
    return false;
}

bool SaveBmp(const QImage& img, const QString& path) {
    if (img.convertToFormat(QImage::Format_RGB888).save(path, "BMP")) return true;
    std::fprintf(stderr, "start_gen: cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: start_gen PROGRAM_DIR\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(dir + QStringLiteral("/bmp"))) return 1;
    bool ok = SaveBmp(StartScreen(), dir + QStringLiteral("/bmp/Start.bmp"));
    QImage about(64, 64, QImage::Format_RGB32);
    about.fill(QColor(240, 240, 240));
    QPainter(&about).drawImage(0, 0, Emblem(64));
    ok &= SaveBmp(about, dir + QStringLiteral("/bmp/About.bmp"));
    if (!Emblem(64).save(dir + QStringLiteral("/quorvel.png"), "PNG")) ok = false;
    ok &= WriteFile(dir + QStringLiteral("/boat.avi"), BoatAvi());
    ok &= WriteFile(dir + QStringLiteral("/bgm.wav"), BgmWav());
    return ok ? 0 : 1;
}
