// The open and save dialogs on Qt's real dialog: the names they give back are the names written to and read
// from, and the question about replacing a file is asked for the file that is replaced.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QLabel>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include "platform/gui/qt_ports.h"
#include "platform/gui/qt_text.h"
#include "support/local_server.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

class FileDialogsTest : public ::testing::Test {
protected:

    // Types `name` into the open dialog's name field and presses Return, as a user accepts a name.
    static void TypeAndAccept(QFileDialog& dialog, const QString& name) {
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(edit, nullptr);
        edit->setText(name);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    // Runs the save dialog; `inside` acts on it once it shows.
    std::optional<std::string> RunSave(const std::function<void(QFileDialog&)>& inside) {
        QtFileDialogs files(nullptr);
        QTimer::singleShot(50, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), ToQString("棋譜の保存"));
            inside(*dialog);
        });
        return files.RunSaveDialog(dir + "/");
    }

    test::TempFolder folder{"dialogs"};
    std::string dir = folder.path().string();
};

TEST_F(FileDialogsTest, TheSaveDialogAsksAboutReplacingTheFileWithItsExtension) {
    std::ofstream(dir + "/game.sgf") << "(;B[aa])";
    std::ofstream(dir + "/game") << "not a record";

    // "game" is saved as "game.sgf", which exists: the question comes; No keeps the dialog open.
    QString asked;
    const auto chosen = RunSave([&](QFileDialog& dialog) {
        QTimer::singleShot(50, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            asked = box->text();
            box->button(QMessageBox::No)->click();
            QTimer::singleShot(20, &dialog, [&dialog] {
                EXPECT_TRUE(dialog.isVisible());
                dialog.reject();
            });
        });
        TypeAndAccept(dialog, QStringLiteral("game"));
    });
    EXPECT_FALSE(chosen.has_value());
    EXPECT_TRUE(asked.contains(QStringLiteral("game.sgf"))) << asked.toStdString();

    // Yes gives the name with its extension.
    const auto replaced = RunSave([&](QFileDialog& dialog) {
        QTimer::singleShot(50, [] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            box->button(QMessageBox::Yes)->click();
        });
        TypeAndAccept(dialog, QStringLiteral("game"));
    });
    EXPECT_EQ(replaced, dir + "/game.sgf");

    // A new name asks nothing; a name with another extension is taken as typed.
    EXPECT_EQ(RunSave([](QFileDialog& dialog) { TypeAndAccept(dialog, QStringLiteral("fresh")); }), dir + "/fresh.sgf");
    EXPECT_EQ(RunSave([](QFileDialog& dialog) { TypeAndAccept(dialog, QStringLiteral("notes.txt")); }),
              dir + "/notes.txt");
}

TEST(PathConversion, EveryByteComesBackAndUtf8ReadsAsItsCharacters) {
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(static_cast<std::size_t>(random() % 40), '\0');
        for (char& c : bytes) c = static_cast<char>(random() % 255 + 1);
        ASSERT_EQ(PathFromQString(PathToQString(bytes)), bytes);
    }
    // Shift-JIS, a broken UTF-8 character, an overlong slash, an encoded surrogate: bytes, kept.
    for (const std::string bytes : {"/tmp/\x8A\xFB\x95\x88.sgf", "\xE6\xA3", "\xC0\xAF", "\xED\xA0\x80"}) {
        EXPECT_EQ(PathFromQString(PathToQString(bytes)), bytes);
    }
    const std::string utf8 = "/home/\xE6\xA3\x8B\xE8\xAD\x9C/\xF0\x9F\x80\x84.sgf";
    EXPECT_EQ(PathToQString(utf8), QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
    EXPECT_EQ(PathFromQString(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()))), utf8);
}

TEST_F(FileDialogsTest, ANameNotInUtf8ComesBackFromTheOpenDialogAsTheFileSystemHasIt) {
    // "棋譜" as Shift-JIS, as a folder and as a record in it.
    const std::string sjisFolder = dir + "/\x8A\xFB\x95\x88";
    const std::string record = sjisFolder + "/\x8A\xFB\x95\x88.sgf";
    fs::create_directory(sjisFolder);
    std::ofstream(record) << "(;B[aa])";
    std::ofstream(sjisFolder + "/other.sgf") << "(;B[bb])";
    EXPECT_EQ(FileSystemPath(QFile::decodeName(QByteArray::fromStdString(record))), record);
    // A new name typed into a save dialog in that folder.
    EXPECT_EQ(FileSystemPath(QFile::decodeName(QByteArray::fromStdString(sjisFolder)) + QStringLiteral("/new.sgf")),
              sjisFolder + "/new.sgf");

    // Chosen in the dialog: Qt shows the name with replacement characters, the command gets its bytes.
    const std::string chosen = dir + "/\x8A\xFB\x95\x88.sgf";
    fs::copy_file(record, chosen);
    QtFileDialogs files(nullptr);
    QTimer::singleShot(50, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        TypeAndAccept(*dialog, QFile::decodeName(QByteArray::fromStdString(chosen)).mid(static_cast<qsizetype>(dir.size()) + 1));
        // A dialog that refused the name would otherwise stay open.
        QTimer::singleShot(500, [] {
            while (QWidget* modal = QApplication::activeModalWidget()) QMetaObject::invokeMethod(modal, "reject");
        });
    });
    EXPECT_EQ(files.RunOpenDialog(dir + "/"), chosen);
}

// Qt's own texts (the buttons of questions, the labels and buttons of the file and print dialogs) are
// Japanese like the program's, as a user reads them; screenshots of the three dialogs are written when
// QUORVEL_SCREENSHOTS names a folder.
TEST_F(FileDialogsTest, QtsOwnTextsOfTheDialogsAreJapanese) {
    QtDialogs dialogs(nullptr, "Quorvel");
    QStringList buttons;
    QTimer::singleShot(50, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (const auto b : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}) {
            buttons << box->button(b)->text();
        }
        const QString shots = qEnvironmentVariable("QUORVEL_SCREENSHOTS");
        if (!shots.isEmpty()) box->grab().save(shots + QStringLiteral("/question.png"));
        box->button(QMessageBox::Cancel)->click();
    });
    EXPECT_EQ(dialogs.AskYesNoCancel("保存しますか？", "Quorvel"), Answer::Cancel);
    ASSERT_EQ(buttons.size(), 3);
    EXPECT_TRUE(buttons[0].startsWith(ToQString("はい"))) << buttons[0].toStdString();
    EXPECT_TRUE(buttons[1].startsWith(ToQString("いいえ"))) << buttons[1].toStdString();
    EXPECT_TRUE(buttons[2].startsWith(ToQString("キャンセル"))) << buttons[2].toStdString();

    QtFileDialogs files(nullptr);
    QString fileNameLabel, openButton;
    QTimer::singleShot(50, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        fileNameLabel = dialog->findChild<QLabel*>(QStringLiteral("fileNameLabel"))->text();
        openButton = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open)->text();
        const QString shots = qEnvironmentVariable("QUORVEL_SCREENSHOTS");
        if (!shots.isEmpty()) dialog->grab().save(shots + QStringLiteral("/open-dialog.png"));
        dialog->reject();
    });
    EXPECT_FALSE(files.RunOpenDialog(dir + "/").has_value());
    EXPECT_TRUE(fileNameLabel.startsWith(ToQString("ファイル名"))) << fileNameLabel.toStdString();
    EXPECT_TRUE(openButton.startsWith(ToQString("開く"))) << openButton.toStdString();

    // The print dialog as the print command runs it, with no printer but the PDF file.
    QPrinter printer;
    QPrintDialog print(&printer);
    QString printButton;
    QTimer::singleShot(50, [&] {
        auto* buttonBox = print.findChild<QDialogButtonBox*>();
        ASSERT_NE(buttonBox, nullptr);
        printButton = buttonBox->button(QDialogButtonBox::Ok)->text();
        const QString shots = qEnvironmentVariable("QUORVEL_SCREENSHOTS");
        if (!shots.isEmpty()) print.grab().save(shots + QStringLiteral("/print-dialog.png"));
        print.reject();
    });
    print.exec();
    EXPECT_TRUE(printButton.startsWith(ToQString("印刷"))) << printButton.toStdString();
}

}  // namespace
}  // namespace quorvel
