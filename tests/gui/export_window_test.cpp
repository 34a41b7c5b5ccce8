// The main window's export commands on the real widgets: printing to a PDF file read back with poppler's
// tools, the board pictures on the clipboard, the HTML pages of KVT and of the save name.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QXmlStreamReader>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "app/gui/main_window.h"
#include "app/record_print.h"
#include "formats/text_board.h"
#include "platform/gui/qt_text.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

// A tool of poppler's, run to its end; its standard output as UTF-8.
QString Poppler(const QString& tool, const QStringList& arguments) {
    QProcess p;
    p.start(tool, arguments);
    EXPECT_TRUE(p.waitForFinished(60000)) << tool.toStdString();
    EXPECT_EQ(p.exitCode(), 0) << tool.toStdString() << ": " << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The mean grey of a square of `half` pixels around (x, y).
int MeanGrey(const QImage& image, int x, int y, int half) {
    long sum = 0;
    int n = 0;
    for (int dy = -half; dy <= half; ++dy) {
        for (int dx = -half; dx <= half; ++dx) {
            sum += qGray(image.pixel(x + dx, y + dy));
            ++n;
        }
    }
    return static_cast<int>(sum / n);
}

// 150 moves: forty black stones each answered by a white pass, then seventy stones in turn; no point twice.
std::string LongRecord() {
    std::string sgf = "(;GM[1]FF[4]SZ[19]PB[本因坊]PW[名人]\r\n";
    const auto point = [](int i) {
        return std::string(1, static_cast<char>('a' + i / 19)) + static_cast<char>('a' + i % 19);
    };
    int next = 0;
    for (int k = 0; k < 40; ++k) sgf += ";B[" + point(next++) + "];W[tt]";
    for (int k = 0; k < 70; ++k) sgf += std::string(k % 2 == 0 ? ";B[" : ";W[") + point(next++) + "]";
    return sgf + ")";
}

class ExportWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvel-export-XXXXXX";
        dir = std::string(::mkdtemp(pattern)) + "/";
        titles = std::make_unique<TitleRegistry>(dir + "titles");
        window = std::make_unique<TForm1>(QStringLiteral(QUORVEL_PROGRAM_DIR), QStringList(), *titles,
                                          &dialogs, &files, dir);
        window->ShowAtStart();
        window->PrintDialog1 = [this](QPrinter& printer) {
            ++printDialogs;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(PathToQString(pdf));
            printer.setPageMargins(QMarginsF(0, 0, 0, 0));
            return true;
        };
    }
    void TearDown() override {
        window.reset();
        titles.reset();
        fs::remove_all(dir);
    }
    Engine& board() { return window->board(); }
    void OpenRecord(const std::string& sgf) {
        std::ofstream(dir + "game.sgf", std::ios::binary) << sgf;
        files.answers = {dir + "game.sgf"};
        window->action(QStringLiteral("KFO"))->trigger();
        board().GoToEnd();
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    // Page `page` of the PDF as a picture at `dpi`; also kept in the screenshot folder when one is named.
    QImage PdfPage(int page, int dpi, const char* shotName) {
        const QString prefix = PathToQString(dir + "page");
        Poppler(QStringLiteral("pdftoppm"),
                {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"), QString::number(page),
                 QStringLiteral("-l"), QString::number(page), QStringLiteral("-png"),
                 QStringLiteral("-singlefile"), PathToQString(pdf), prefix});
        QImage image(prefix + QStringLiteral(".png"));
        const QString shots = qEnvironmentVariable("QUORVEL_SCREENSHOTS");
        if (!shots.isEmpty()) image.save(shots + QLatin1Char('/') + QLatin1String(shotName));
        return image;
    }

    std::string dir;
    std::string pdf = "";
    MemoryDialogs dialogs;
    AnsweredFileDialogs files;
    int printDialogs = 0;
    std::unique_ptr<TitleRegistry> titles;
    std::unique_ptr<TForm1> window;
};

TEST_F(ExportWindowTest, FullRecordPrintsToPdfWithItsContinuationPage) {
    pdf = dir + "record.pdf";
    OpenRecord(LongRecord());
    ASSERT_EQ(board().currentIndex, 150);
    window->action(QStringLiteral("KFP"))->trigger();
    ASSERT_EQ(printDialogs, 1);
    ASSERT_TRUE(fs::exists(pdf));
    EXPECT_TRUE(Poppler(QStringLiteral("pdfinfo"), {PathToQString(pdf)})
                    .contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n"))));
    const QString text =
        Poppler(QStringLiteral("pdftotext"),
                {QStringLiteral("-enc"), QStringLiteral("UTF-8"), PathToQString(pdf), QStringLiteral("-")});
    for (const char* wanted :
         {"総譜 ( 1 - 150 )", "本因坊", "名人", "棋譜ページ２に続く", "棋譜ページ ２", "パス"}) {
        EXPECT_TRUE(text.contains(ToQString(wanted))) << ToQString(wanted).toStdString() << "\n"
                                                      << text.toStdString();
    }
    // Page units are 300 to the inch: at 100 dpi a third. Move 1 (black, "aa") and move 82 (white, "cd"):
    // inside each stone, beside its number.
    const QImage page = PdfPage(1, 100, "print_full_record.png");
    ASSERT_FALSE(page.isNull());
    const auto at = [](int units) { return units / 3; };
    EXPECT_LT(MeanGrey(page, at(350 - 35), at(650 + 25), 1), 80);
    EXPECT_GT(MeanGrey(page, at(550 - 35), at(950 + 25), 1), 180);
    EXPECT_GT(MeanGrey(page, at(1700), at(2000), 1), 180);  // between the lines of an empty stretch
}

TEST_F(ExportWindowTest, TextBoardInTheTextWindowPrintsTheDiagramPages) {
    pdf = dir + "pages.pdf";
    OpenRecord(LongRecord());
    WriteTextBoard(board());
    window->action(QStringLiteral("KFP"))->trigger();
    const QString info = Poppler(QStringLiteral("pdfinfo"), {PathToQString(pdf)});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\n")))) << info.toStdString();
    const QString text =
        Poppler(QStringLiteral("pdftotext"),
                {QStringLiteral("-enc"), QStringLiteral("UTF-8"), PathToQString(pdf), QStringLiteral("-")});
    // The extraction splits a title at its run of blanks.
    for (const char* wanted : {"第 1 譜", "( 1 - 99 )", "第 2 譜", "( 100 - 150 )"}) {
        EXPECT_TRUE(text.contains(ToQString(wanted))) << ToQString(wanted).toStdString();
    }
    const QImage page = PdfPage(3, 100, "print_diagram_page.png");
    ASSERT_FALSE(page.isNull());
}

TEST_F(ExportWindowTest, NothingToPrintBeforeTheFirstMove) {
    OpenRecord("(;SZ[19]PB[a])");
    board().GoToStart();
    window->action(QStringLiteral("KFP"))->trigger();
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{kNothingToPrint});
    EXPECT_EQ(printDialogs, 0);
}

TEST_F(ExportWindowTest, BitmapIsTheBoardPictureWithTheStones) {
    OpenRecord("(;SZ[19]CR[jj];B[pd];W[dp])");
    window->action(QStringLiteral("KVB"))->trigger();
    const QImage image = QApplication::clipboard()->image();
    ASSERT_EQ(image.size(), QSize(399, 395));
    const QString shots = qEnvironmentVariable("QUORVEL_SCREENSHOTS");
    if (!shots.isEmpty()) image.save(shots + QStringLiteral("/bitmap_picture.png"));
    const BoardGeometry& g = *board().geometry;
    const PointCode black = MakePoint(16, 4);
    const PointCode white = MakePoint(4, 16);
    EXPECT_LT(MeanGrey(image, g.CentreX(black), g.CentreY(black), 5), 90);
    EXPECT_GT(MeanGrey(image, g.CentreX(white), g.CentreY(white), 5), 170);
    const int board = MeanGrey(image, g.CentreX(MakePoint(8, 8)) + 5, g.CentreY(MakePoint(8, 8)) + 5, 3);
    EXPECT_GT(board, 90);
    EXPECT_LT(board, 240);
    // The circle on the empty point in the middle, in blue.
    int blue = 0;
    const PointCode mark = MakePoint(10, 10);
    for (int dy = -8; dy <= 8; ++dy) {
        for (int dx = -8; dx <= 8; ++dx) {
            const QColor c = image.pixelColor(g.CentreX(mark) + dx, g.CentreY(mark) + dy);
            if (c.blue() > 150 && c.red() < 100) ++blue;
        }
    }
    EXPECT_GT(blue, 5);
}

struct SvgCounts {
    QString viewBox;
    int lines = 0;
    int crosses = 0;
    std::map<QString, int> circlesByFill;
};

// Reads the vector picture: lines, star crosses and stones with the fill of the group they stand in.
SvgCounts ReadSvg(const QByteArray& svg) {
    SvgCounts c;
    QXmlStreamReader xml(svg);
    std::vector<QString> fills{QString()};
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("g")) fills.pop_back();
        if (!xml.isStartElement()) continue;
        const auto name = xml.name();
        const auto attrs = xml.attributes();
        if (name == QLatin1String("svg")) c.viewBox = attrs.value(QLatin1String("viewBox")).toString();
        if (name == QLatin1String("g")) {
            fills.push_back(attrs.hasAttribute(QLatin1String("fill"))
                                ? attrs.value(QLatin1String("fill")).toString()
                                : fills.back());
        }
        if (name == QLatin1String("polyline") || name == QLatin1String("line")) ++c.lines;
        // Filled polygons are written as paths.
        if (name == QLatin1String("path") || name == QLatin1String("polygon")) ++c.crosses;
        if (name == QLatin1String("ellipse") || name == QLatin1String("circle"))
            ++c.circlesByFill[fills.back()];
    }
    return c;
}

TEST_F(ExportWindowTest, VectorPictureIsSvgWithAPngBeside) {
    struct Case {
        const char* sgf;
        const char* viewBox;
        int lines, stars, black, white;
    };
    const Case cases[] = {
        {"(;SZ[19];B[pd];W[dp];B[pp])", "0 0 385 385", 38, 9, 2, 1},
        {"(;SZ[13];B[dd];W[jj])", "0 0 265 265", 26, 5, 1, 1},
        {"(;SZ[19]PB[x])", "0 0 385 385", 38, 9, 0, 0},
    };
    for (const Case& c : cases) {
        OpenRecord(c.sgf);
        window->action(QStringLiteral("KVM"))->trigger();
        const QMimeData* mime = QApplication::clipboard()->mimeData();
        ASSERT_NE(mime, nullptr);
        ASSERT_TRUE(mime->hasFormat(QStringLiteral("image/svg+xml"))) << c.sgf;
        SvgCounts svg = ReadSvg(mime->data(QStringLiteral("image/svg+xml")));
        EXPECT_EQ(svg.viewBox, QLatin1String(c.viewBox)) << c.sgf;
        EXPECT_EQ(svg.lines, c.lines) << c.sgf;
        EXPECT_EQ(svg.crosses, c.stars) << c.sgf;
        EXPECT_EQ(svg.circlesByFill[QStringLiteral("#000000")], c.black) << c.sgf;
        EXPECT_EQ(svg.circlesByFill[QStringLiteral("#ffffff")], c.white) << c.sgf;
        ASSERT_TRUE(mime->hasFormat(QStringLiteral("image/png"))) << c.sgf;
        const QImage png = QImage::fromData(mime->data(QStringLiteral("image/png")), "PNG");
        const int side = QString::fromLatin1(c.viewBox).split(QLatin1Char(' ')).last().toInt();
        EXPECT_EQ(png.size(), QSize(side, side)) << c.sgf;
        const QString shots = qEnvironmentVariable("QUORVEL_SCREENSHOTS");
        if (!shots.isEmpty() && c.black == 2) png.save(shots + QStringLiteral("/vector_picture.png"));
    }
}

// The whole-record command writes, copies and publishes the whole record also where "ADD" has nothing to
// add: at move 0, and at the end of the line shown.
TEST_F(ExportWindowTest, KkaWritesThePublishedWholeRecordWithoutTrialMoves) {
    OpenRecord("(;SZ[9];B[cc](;W[gg])(;W[ee]C[side]))");
    window->Edit1->setText(QStringLiteral("whole"));
    for (const bool atStart : {true, false}) {
        if (atStart) {
            board().GoToStart();
        } else {
            board().GoToEnd();
        }
        fs::remove_all(dir + "HTML");
        fs::remove_all(dir + "SGF");
        window->Form3->SetText("");
        QApplication::clipboard()->clear();
        window->action(QStringLiteral("KKA"))->trigger();
        const std::string text = window->Form3->Text();
        EXPECT_EQ(text.compare(0, 2, "(;"), 0) << atStart;
        EXPECT_NE(text.find("B[cc]"), std::string::npos) << atStart;
        EXPECT_NE(text.find("W[ee]"), std::string::npos) << atStart;
        EXPECT_TRUE(QApplication::clipboard()->text().contains(QStringLiteral("W[ee]"))) << atStart;
        EXPECT_EQ(Read(dir + "SGF/whole.sgf"), text + "\r\n") << atStart;
        EXPECT_NE(Read(dir + "HTML/whole.html").find(text), std::string::npos) << atStart;
        EXPECT_EQ(board().branchCount, 1) << atStart;
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ExportWindowTest, HtmlPagesOfTheSaveNameAndOfKvt) {
    std::ofstream(dir + "gameChat.dat", std::ios::binary)
        << "Oskelt - Oskelt - チャットログ\r\n\r\n[ 1 ]：<b>hi</b>\r\n";
    OpenRecord("(;SZ[9];B[cc];W[gg])");
    // The save name exports the page with every record copied.
    window->Edit1->setText(QStringLiteral("kifu"));
    window->action(QStringLiteral("KKS"))->trigger();
    const std::string page = Read(dir + "HTML/kifu.html");
    EXPECT_NE(page.find("CODE=\"Glimmet.ZarnShow9.class\""), std::string::npos);
    EXPECT_NE(page.find(board().messages().Text()), std::string::npos);
    EXPECT_EQ(Read(dir + "SGF/kifu.sgf"), board().messages().Text() + "\r\n");
    window->Edit1->setText(QStringLiteral("sub/kifu"));
    window->action(QStringLiteral("KKS"))->trigger();
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{kSaveNameRefused});
    EXPECT_FALSE(fs::exists(dir + "HTML/sub"));

    // KVT: the text window's record as a page where the dialog says.
    dialogs.shown.clear();
    window->Edit1->clear();
    board().recordModified = true;
    window->HtmlSaveDialog1 = [this](const std::string&) {
        return std::optional<std::string>(dir + "saved.html");
    };
    window->action(QStringLiteral("KVT"))->trigger();
    EXPECT_NE(Read(dir + "saved.html").find("<CENTER><APPLET CODEBASE=\"MyZarn\""), std::string::npos);
    // The chat file beside the record makes the log's page beside the page, its text escaped.
    const std::string chat = Read(dir + "savedChat.html");
    EXPECT_NE(chat.find("Glimmet.KifuLog.class"), std::string::npos);
    EXPECT_NE(chat.find("[ 1 ]：&lt;b&gt;hi&lt;/b&gt;"), std::string::npos);
    EXPECT_TRUE(board().recordModified);
    EXPECT_EQ(window->shell().htmlSaveDialogDir, dir);
    EXPECT_TRUE(dialogs.shown.empty());

    board().messages().SetText("no record here");
    window->action(QStringLiteral("KVT"))->trigger();
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{kNothingToSaveAsHtml});

    // KVH: the chosen page goes to the desktop's opener, in its own folder, which the next dialog starts in.
    dialogs.shown.clear();
    std::vector<std::string> asked, opened;
    window->HtmlDialog1 = [&](const std::string& start) {
        asked.push_back(start);
        return std::optional<std::string>(dir + "saved.html");
    };
    bool opens = true;
    window->openWithDesktop = [&](const std::string& path, const std::string& folder) {
        opened.push_back(path + "|" + folder);
        return opens;
    };
    QAction* kvh = window->action(QStringLiteral("KVH"));
    ASSERT_TRUE(kvh->isEnabled());
    kvh->trigger();
    EXPECT_EQ(opened, std::vector<std::string>{dir + "saved.html|" + dir});
    EXPECT_EQ(window->shell().htmlOpenDialogDir, dir);
    opens = false;
    kvh->trigger();
    EXPECT_EQ(asked.back(), dir);
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{"HTMLファイルを開けませんでした。"});
    window->HtmlDialog1 = [](const std::string&) { return std::optional<std::string>(); };
    kvh->trigger();  // cancelled: nothing opened, nothing said
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

}  // namespace
}  // namespace quorvel
