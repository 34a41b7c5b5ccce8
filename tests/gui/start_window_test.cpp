// The start screen, the about window and the minor commands on the real widgets: clicks on the start
// screen's areas and its keys, the about window's texts and links, the .sgf association on temporary XDG
// folders, the sibling programs, the animation and the board picture's replacement.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QScreen>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/gui/main_window.h"
#include "platform/gui/qt_text.h"
#include "support/test_files.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

QImage Painted(QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); }

class StartWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvel-start-XXXXXX";
        dir = ::mkdtemp(pattern);
        titles = std::make_unique<TitleRegistry>(dir + "/titles");
        // The desktop's folders of these tests, and the settings folder beside them.
        for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_DIRS"}) {
            savedEnvironment.emplace_back(name, qgetenv(name));
        }
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dir + "/data"));
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir + "/config"));
        qputenv("XDG_DATA_DIRS", QByteArray::fromStdString(dir + "/system"));
        qputenv("XDG_CONFIG_DIRS", QByteArray::fromStdString(dir + "/etc"));
        // The system knows SGF files, so the association writes no MIME database here.
        WriteTestFile(dir + "/system/mime/application/x-go-sgf.xml", "<mime-type/>");
        settings = dir + "/settings/";
        fs::create_directories(settings);
    }
    void TearDown() override {
        window.reset();
        titles.reset();
        for (const auto& [name, value] : savedEnvironment) {
            if (value.isNull()) {
                qunsetenv(name);
            } else {
                qputenv(name, value);
            }
        }
        fs::remove_all(dir);
    }
    void Make(const QStringList& arguments = {}, const QString& programDir = QStringLiteral(QUORVEL_PROGRAM_DIR)) {
        window.reset();
        window = std::make_unique<TForm1>(programDir, arguments, *titles, &dialogs, nullptr, settings);
    }
    bool Docked() {
        return window->isVisible() && window->Form2->isVisible() && window->Form3->isVisible() &&
               window->Form2->pos() == QPoint(window->x(), window->frameGeometry().bottom() + 1);
    }
    std::string MimeappsList() { return dir + "/config/mimeapps.list"; }
    std::string DesktopFile() { return dir + "/data/applications/quorvel.desktop"; }

    std::string dir;
    std::string settings;
    std::vector<std::pair<const char*, QByteArray>> savedEnvironment;
    MemoryDialogs dialogs;
    std::unique_ptr<TitleRegistry> titles;
    std::unique_ptr<TForm1> window;
};

TEST_F(StartWindowTest, TheStartScreenIsShapedByItsPictureAndItsExitEndsWithoutAnotherWindow) {
    Make();
    window->Start();
    TForm4* start = window->Form4;
    ASSERT_NE(start, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(start));
    EXPECT_EQ(start->size(), QSize(289, 223));
    EXPECT_EQ(start->y(), QGuiApplication::primaryScreen()->geometry().top() + 55);
    EXPECT_FALSE(window->isVisible());
    // Not a rectangle: the picture's corners and the gap above the bottom strip are outside the shape.
    EXPECT_FALSE(start->mask().isEmpty());
    EXPECT_GT(start->mask().rectCount(), 20);
    for (const QPoint p : {QPoint(0, 0), QPoint(288, 0), QPoint(0, 222), QPoint(150, 192)}) {
        EXPECT_FALSE(start->mask().contains(p)) << p.x() << "," << p.y();
    }
    for (const QPoint p : {QPoint(144, 100), QPoint(50, 40), QPoint(100, 208), QPoint(274, 208)}) {
        EXPECT_TRUE(start->mask().contains(p)) << p.x() << "," << p.y();
    }
    // Painted: the picture, the clipboard's area too.
    const QImage shown = Painted(start);
    EXPECT_EQ(shown.pixel(144, 100), start->Image1.pixel(144, 100));
    EXPECT_EQ(shown.pixel(50, 100), start->Image1.pixel(50, 100));
    if (const char* out = std::getenv("QUORVEL_SCREENSHOTS")) {
        // As the desktop shows it: nothing outside the window's shape.
        QImage shaped = shown.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < shaped.height(); ++y) {
            for (int x = 0; x < shaped.width(); ++x) {
                if (!start->mask().contains(QPoint(x, y))) shaped.setPixel(x, y, 0);
            }
        }
        fs::create_directories(out);
        shaped.save(QString::fromLocal8Bit(out) + QStringLiteral("/start-screen.png"));
    }

    // Other keys do nothing.
    QTest::keyClick(start, Qt::Key_X);
    EXPECT_TRUE(start->isVisible());

    QSignalSpy closed(window.get(), &TForm1::closed);
    QTest::mouseClick(start, Qt::LeftButton, Qt::NoModifier, QPoint(270, 210));
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(start->isVisible());
    EXPECT_FALSE(window->isVisible() || window->Form2->isVisible() || window->Form3->isVisible());
    EXPECT_TRUE(fs::exists(settings + "Zarn.dat"));  // closed as the main window closes
}

TEST_F(StartWindowTest, TheClipboardAreaAndAltEnterOpenTheRecordOnTheClipboard) {
    for (const bool byKey : {false, true}) {
        QApplication::clipboard()->setText(QStringLiteral("(;GM[1]SZ[19];B[pd];W[dp])"));
        Make();
        window->Start();
        TForm4* start = window->Form4;
        ASSERT_TRUE(QTest::qWaitForWindowExposed(start));
        if (byKey) {
            QTest::keyClick(start, Qt::Key_Return, Qt::AltModifier);
        } else {
            QTest::mouseClick(start, Qt::LeftButton, Qt::NoModifier, QPoint(50, 120));
        }
        EXPECT_TRUE(Docked()) << byKey;
        EXPECT_EQ(window->board().lineEnd, 2) << byKey;
        EXPECT_EQ(window->files().currentFileName, "NoTitle") << byKey;
    }
}

TEST_F(StartWindowTest, ClicksAndKeysOfTheStartScreenShowTheDockedWindows) {
    const struct {
        const char* what;
        std::function<void(TForm4*)> act;
        bool creation;
        bool full;
    } cases[] = {
        {"space", [](TForm4* s) { QTest::keyClick(s, Qt::Key_Space); }, true, false},
        {"shift+space", [](TForm4* s) { QTest::keyClick(s, Qt::Key_Space, Qt::ShiftModifier); }, true, true},
        {"enter", [](TForm4* s) { QTest::keyClick(s, Qt::Key_Return); }, false, false},
        {"shift+enter", [](TForm4* s) { QTest::keyClick(s, Qt::Key_Return, Qt::ShiftModifier); }, false, true},
        {"new record", [](TForm4* s) { QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(60, 40)); }, true, false},
        {"full mode", [](TForm4* s) { QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(120, 208)); }, false, true},
        {"elsewhere", [](TForm4* s) { QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(200, 100)); }, false, false},
    };
    ASSERT_GT(QGuiApplication::primaryScreen()->availableGeometry().height(), 500);
    for (const auto& c : cases) {
        Make();
        window->Start();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window->Form4));
        c.act(window->Form4);
        EXPECT_FALSE(window->Form4->isVisible()) << c.what;
        EXPECT_TRUE(Docked()) << c.what;
        EXPECT_EQ(window->board().replayMode, !c.creation) << c.what;
        EXPECT_EQ(window->action(QStringLiteral("KKM"))->isChecked(), c.creation) << c.what;
        EXPECT_EQ(window->compactMode(), !c.full) << c.what;
        EXPECT_EQ(window->Form2->width(), c.full ? 572 : 522) << c.what;
        // The start screen is gone for good: a key reaching it now ends nothing.
        QSignalSpy closed(window.get(), &TForm1::closed);
        QTest::keyClick(window->Form4, Qt::Key_Escape);
        EXPECT_EQ(closed.count(), 0) << c.what;
        EXPECT_TRUE(window->isVisible()) << c.what;
    }
    // Esc ends the program as the exit area does.
    Make();
    window->Start();
    QSignalSpy closed(window.get(), &TForm1::closed);
    QTest::keyClick(window->Form4, Qt::Key_Escape);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(StartWindowTest, ARecordOnTheCommandLineShowsNoStartScreen) {
    const std::string record = dir + "/game.sgf";
    WriteTestFile(record, "(;GM[1]FF[4]SZ[19];B[pd];W[dp])");
    Make({QString::fromStdString(record)});
    window->Start();
    EXPECT_EQ(window->Form4, nullptr);
    EXPECT_TRUE(Docked());
}

TEST_F(StartWindowTest, TheAboutWindowShowsItsTextsAndOpensALinkOnADoubleClick) {
    Make();
    window->ShowAtStart();
    QString opened;
    window->Form7()->openAddress = [&](const QString& address) { opened = address; };
    int result = -1;
    QTimer::singleShot(0, window.get(), [&] {
        TForm7* about = window->Form7();
        EXPECT_TRUE(about->isVisible());
        EXPECT_TRUE(about->isModal());
        EXPECT_EQ(about->windowTitle(), ToQString(" Quorvel ： バージョン情報"));
        EXPECT_EQ(about->Label2->text(), ToQString("Version  1.5  (020512)"));
        EXPECT_EQ(about->Label3->text(), ToQString("最新版入手先"));
        EXPECT_EQ(about->Button1->text(), ToQString("O K"));
        EXPECT_TRUE(about->Edit1->isReadOnly());
        EXPECT_EQ(about->Edit1->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_FALSE(about->Image1->pixmap().isNull());
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_NEAR(about->geometry().center().x(), screen.center().x(), 2);
        if (const char* out = std::getenv("QUORVEL_SCREENSHOTS")) {
            fs::create_directories(out);
            about->grab().save(QString::fromLocal8Bit(out) + QStringLiteral("/about.png"));
        }
        QTest::mouseDClick(about->Edit2, Qt::LeftButton);
    });
    window->action(QStringLiteral("KHA"))->trigger();
    result = window->Form7()->result();
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(opened, window->Form7()->Edit2->text());
    EXPECT_TRUE(opened.startsWith(QStringLiteral("https://")));
}

TEST_F(StartWindowTest, KskAsksBeforeReplacingAnotherDefaultAndIsDisabledOnceDone) {
    WriteTestFile(dir + "/data/applications/other.desktop",
          "[Desktop Entry]\nType=Application\nName=Other\nExec=/bin/true %f\nMimeType=application/x-go-sgf;\n");
    const std::string list = "[Default Applications]\r\napplication/x-go-sgf=other.desktop;\r\n# kept\r\n";
    WriteTestFile(MimeappsList(), list);
    Make();
    QAction* ksk = window->action(QStringLiteral("KSK"));
    ASSERT_TRUE(ksk->isEnabled());

    dialogs.nextAnswer = Answer::No;
    ksk->trigger();
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0], "SGFファイルは既に関連付けられていたが、\n\nその設定を変更して、[Quorvel] に関連付けますか？");
    EXPECT_EQ(dialogs.askedCaptions[0], " SGFファイルの関連付け");
    EXPECT_EQ(ReadTestFile(MimeappsList()), list);
    EXPECT_FALSE(fs::exists(DesktopFile()));
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(ksk->isEnabled());

    dialogs.nextAnswer = Answer::Yes;
    ksk->trigger();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0], "[Quorvel]に関連付けました。\n\n今後SGFファイルを直接実行すれば、\n\n棋譜の閲覧や編集が出来ます。");
    EXPECT_FALSE(ksk->isEnabled());
    EXPECT_EQ(ReadTestFile(MimeappsList()),
              "[Default Applications]\r\napplication/x-go-sgf=quorvel.desktop;\r\n# kept\r\n");
    EXPECT_NE(ReadTestFile(DesktopFile()).find("Exec=" QUORVEL_PROGRAM_DIR "/ZarnShow %f\n"), std::string::npos);

    // The next start finds the association and leaves the command disabled.
    Make();
    EXPECT_FALSE(window->action(QStringLiteral("KSK"))->isEnabled());
}

// The desktop's answer (xdg-mime) comes from the MIME cache alone on a system where Kigo is installed.
TEST_F(StartWindowTest, KskAsksAlsoWhenOnlyTheMimeCacheNamesAnotherProgram) {
    WriteTestFile(dir + "/system/applications/mimeinfo.cache", "[MIME Cache]\napplication/x-go-sgf=kigo.desktop;\n");
    Make();
    dialogs.nextAnswer = Answer::No;
    window->action(QStringLiteral("KSK"))->trigger();
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.askedCaptions[0], " SGFファイルの関連付け");
    EXPECT_FALSE(fs::exists(DesktopFile()));
    EXPECT_FALSE(fs::exists(MimeappsList()));
    EXPECT_TRUE(window->action(QStringLiteral("KSK"))->isEnabled());
}

TEST_F(StartWindowTest, KskWithoutAnyDefaultAsksNothingAndAFailureSaysSoAndLeavesNoFile) {
    // The configuration folder is a file: the default cannot be written, even by root.
    WriteTestFile(dir + "/config", "not a folder");
    Make();
    window->action(QStringLiteral("KSK"))->trigger();
    EXPECT_TRUE(dialogs.asked.empty());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0], "関連付けられませんでした。(原因不明)");
    EXPECT_FALSE(fs::exists(DesktopFile()));
    EXPECT_FALSE(window->action(QStringLiteral("KSK"))->isEnabled());
}

TEST_F(StartWindowTest, SiblingProgramsStartInTheirFolderOrSayTheyAreMissing) {
    const std::string program = dir + "/program";
    WriteTestFile(program + "/ZarnNet/Vantry/Vantry.exe", "#!/bin/sh\necho started > here\n");
    ::chmod((program + "/ZarnNet/Vantry/Vantry.exe").c_str(), 0755);
    Make({}, QString::fromStdString(program));
    window->action(QStringLiteral("KNM"))->trigger();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0], "ファイルが見付かりません ( \\ZarnNet\\Oskelt\\Oskelt.exe )");
    window->action(QStringLiteral("KNS"))->trigger();
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return fs::exists(program + "/ZarnNet/Vantry/here"); }, 5000));
}

TEST_F(StartWindowTest, TheAnimationRunsOnlyInFullModeWithItsMusic) {
    Make();
    window->ShowAtStart();
    QAction* ksa = window->action(QStringLiteral("KSA"));
    EXPECT_FALSE(ksa->isEnabled());
    ksa->trigger();
    EXPECT_FALSE(ksa->isChecked());
    EXPECT_FALSE(window->Form2->Animate1->active());

    window->SwitchWindowSize();
    ASSERT_TRUE(ksa->isEnabled());
    ksa->trigger();
    EXPECT_TRUE(ksa->isChecked());
    AnimationPlayer* player = window->Form2->Animate1;
    ASSERT_TRUE(player->active());
    ASSERT_GT(player->frameCount(), 1);
    EXPECT_TRUE(player->isVisible());
    EXPECT_TRUE(window->music().looping());
    // The board window shows the frame under way, and the next one a little later.
    const QImage first = Painted(window->Form2).copy(player->geometry());
    EXPECT_EQ(first, player->frame(player->currentFrame()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->currentFrame() != 0; }, 2000));

    // Compact mode silences the music and hides the panel, but the player runs on.
    window->SwitchWindowSize();
    EXPECT_FALSE(window->music().looping());
    EXPECT_TRUE(player->active());
    EXPECT_FALSE(player->isVisible());
    window->SwitchWindowSize();
    EXPECT_TRUE(window->music().looping());
    ksa->trigger();
    EXPECT_FALSE(player->active());
    EXPECT_FALSE(window->music().looping());
}

// A picture file's bytes in a format.
std::string PictureBytes(const QImage& img, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, format);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

TEST_F(StartWindowTest, KvpReplacesTheBoardPictureOnlyWithADecodedOne) {
    Make();
    window->ShowAtStart();
    const std::string stock = settings + "bmp/GoBan19.bmp";
    WriteTestFile(stock, ReadTestFile(QUORVEL_PROGRAM_DIR "/bmp/GoBan19.bmp"));
    window->Form2->ReloadBoardPicture();
    const QImage before = window->Form2->picture().copy();
    std::string chosen;
    window->runPictureDialog = [&](const std::string&) { return std::optional<std::string>(chosen); };

    // A JPEG cut off after its header: a message, and nothing changes.
    QImage red(200, 150, QImage::Format_RGB32);
    red.fill(QColor(200, 30, 30));
    const std::string jpeg = PictureBytes(red, "JPEG");
    chosen = dir + "/broken.jpg";
    WriteTestFile(chosen, jpeg.substr(0, 300));
    window->action(QStringLiteral("KVP"))->trigger();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].rfind("碁盤画像を読み込めませんでした。", 0), 0u);
    EXPECT_EQ(ReadTestFile(stock), ReadTestFile(QUORVEL_PROGRAM_DIR "/bmp/GoBan19.bmp"));
    EXPECT_EQ(window->Form2->picture(), before);
    EXPECT_EQ(window->shell().openPictureDialogDir, dir + "/");

    // A whole JPEG of another size, named as a bitmap: its content decides, it is drawn and kept.
    chosen = dir + "/red.bmp";
    WriteTestFile(chosen, jpeg);
    window->action(QStringLiteral("KVP"))->trigger();
    EXPECT_EQ(dialogs.shown.size(), 1u);
    const QImage after = window->Form2->picture();
    const QColor inside = after.pixelColor(30, 30);
    EXPECT_NEAR(inside.red(), 200, 12);
    EXPECT_NEAR(inside.green(), 30, 12);
    EXPECT_EQ(after.pixelColor(300, 300), QColor(220, 180, 110));  // beyond the picture: plain board colour
    QImage saved;
    ASSERT_TRUE(saved.load(QString::fromStdString(stock), "BMP"));
    EXPECT_EQ(saved.size(), QSize(200, 150));
    EXPECT_EQ(ReadTestFile(settings + "bmp/GoBan19.orig.bmp"), ReadTestFile(QUORVEL_PROGRAM_DIR "/bmp/GoBan19.bmp"));

    // The next start shows it.
    Make();
    EXPECT_NEAR(window->Form2->picture().pixelColor(30, 30).red(), 200, 12);
}

}  // namespace
}  // namespace quorvel
