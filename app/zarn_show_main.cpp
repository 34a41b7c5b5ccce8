// ZarnShow, the Quorvel program. Until the main window exists it opens the board window alone, so that a
// record can be replayed with the mouse and the keys.
#include <QApplication>
#include <QMessageBox>
#include <cstdio>

#include "app/qt_text.h"
#include "app/text_window.h"
#include "core/board_window.h"

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
    if (argc > 1) {
        std::fprintf(stderr, "Quorvel: the SGF reader is not built yet, so the record %s was not opened.\n",
                     argv[1]);
    }
    board.move(40, 40);
    board.show();
    text.setGeometry(board.x(), board.y() + board.height(), board.width(), 160);
    text.show();
    return app.exec();
}
