// ZarnShow, the Quorvel program. Until the main window exists it opens the board window alone, with the
// record given on the command line, so that a record can be replayed with the mouse and the keys.
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <cstdio>

#include "app/qt_text.h"
#include "app/text_window.h"
#include "core/board_window.h"
#include "formats/sgf_reader.h"

namespace {

// Message boxes of the board window, until the main window brings its own.
class MessageBoxDialogs : public quorvel::UserDialogs {
public:
    void ShowMessage(const std::string& text) override {
        QMessageBox::information(nullptr, QStringLiteral("Quorvel"), quorvel::ToQString(text));
    }
    quorvel::Answer AskYesNoCancel(const std::string& text, const std::string& caption) override {
        const auto answer =
            QMessageBox::question(nullptr, quorvel::ToQString(caption), quorvel::ToQString(text),
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Yes) return quorvel::Answer::Yes;
        if (answer == QMessageBox::No) return quorvel::Answer::No;
        return quorvel::Answer::Cancel;
    }
};

// Reads a whole record file into the board window. The file commands of the main window will add the
// save question, the recent files and the chat file.
bool OpenRecord(quorvel::TForm2& board, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "Quorvel: cannot read %s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    const QByteArray bytes = file.readAll();
    quorvel::LoadRecordText(board.engine(), std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
    board.Redraw();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    MessageBoxDialogs dialogs;
    quorvel::TForm2* shown = nullptr;
    // The text window shows the board window's messages and comments, docked under it.
    quorvel::TForm3 text([&shown] { return shown ? shown->engine().recordText : std::string(); });
    quorvel::TForm2 board(text, dialogs, QCoreApplication::applicationDirPath());
    shown = &board;
    board.setWindowTitle(QStringLiteral("Quorvel"));
    if (!board.missingPictures().isEmpty()) {
        std::fprintf(stderr, "Quorvel: missing pictures: %s\n",
                     qPrintable(board.missingPictures().join(QStringLiteral(", "))));
    }
    QObject::connect(&board, &quorvel::TForm2::textWindowRequested, &text, &quorvel::TForm3::ToggleFrame);
    QObject::connect(&board, &quorvel::TForm2::recordDropped,
                     [&board](const QString& path) { OpenRecord(board, path); });

    // A path with one blank reaches the program as two arguments.
    QString path;
    if (argc == 2) path = QString::fromLocal8Bit(argv[1]);
    if (argc == 3) path = QString::fromLocal8Bit(argv[1]) + QLatin1Char(' ') + QString::fromLocal8Bit(argv[2]);
    board.move(40, 40);
    board.show();
    text.setGeometry(board.x(), board.y() + board.height(), board.width(), 160);
    text.show();
    if (!path.isEmpty()) OpenRecord(board, path);
    return app.exec();
}
