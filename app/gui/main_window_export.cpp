// The main window's commands that take the record out of the program: the HTML page of the save name
// after every copied record, "HTMLファイルとして保存" (KVT), printing (KFP) and the board pictures on the
// clipboard (KVB, KVM).
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QDesktopServices>
#include <QProcess>
#include <QUrl>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

#include "app/gui/export_pictures.h"
#include "app/gui/main_window.h"
#include "app/record_print.h"
#include "auxiliary/chat_log.h"
#include "auxiliary/gui/secondary_board_window.h"
#include "platform/gui/qt_text.h"

namespace quorvel {
namespace {

const char* const kHtmlNotOpened = "HTMLファイルを開けませんでした。";

}  // namespace

void TForm1::SetUpExport() {
    const std::string dataFolder =
        settingsFolder_.empty() ? PathFromQString(programDir_) + "/" : settingsFolder_;
    saveNameExport_ = std::make_unique<SaveNameExport>(shell_, dataFolder, [this] {
        return SaveName{FromQString(Edit1->text()), PathFromQString(Edit1->text())};
    });
    board().SetHtmlExport(*saveNameExport_);
    HtmlSaveDialog1 = [this](const std::string& startFolder) -> std::optional<std::string> {
        QFileDialog dialog(this, ToQString("HTMLファイルの保存"), PathToQString(startFolder),
                           ToQString("HTMLファイル") + QStringLiteral(" (*.html);;") +
                               ToQString("すべてのファイル(*.*)") + QStringLiteral(" (*)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("html"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        return PathFromQString(dialog.selectedFiles().first());
    };
    HtmlDialog1 = [this](const std::string& startFolder) -> std::optional<std::string> {
        const QString chosen = QFileDialog::getOpenFileName(
            this, ToQString("HTMLファイルを開く"), PathToQString(startFolder),
            ToQString("HTMLファイル") + QStringLiteral(" (*.html *.htm *.HTML *.HTM);;") +
                ToQString("すべてのファイル(*.*)") + QStringLiteral(" (*)"));
        if (chosen.isEmpty()) return std::nullopt;
        return PathFromQString(chosen);
    };
    openWithDesktop = [](const std::string& path, const std::string& folder) {
        // The desktop's opener, started in the page's folder so that its relative links resolve there.
        if (QProcess::startDetached(QStringLiteral("xdg-open"), {PathToQString(path)}, PathToQString(folder))) return true;
        return QDesktopServices::openUrl(QUrl::fromLocalFile(PathToQString(path)));
    };
    PrintDialog1 = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };
    Wire("KFP", &TForm1::KFPClick);
    Wire("KVT", &TForm1::KVTClick);
    Wire("KVH", &TForm1::KVHClick);
    Wire("KVB", &TForm1::KVBClick);
    Wire("KVM", &TForm1::KVMClick);
}

void TForm1::KVTClick() {
    // The record's chat log as the net game log window holds it: what its chat file held, with the board
    // comments added since.
    std::optional<ChatLog> log;
    if (files_->chatLogPresent) log = Form6()->chatLog();
    std::optional<ChatPageLog> chat;
    if (log) chat = ChatPageLog{log->logText, log->diagramCounter > 0 ? log->diagramStore : std::string()};
    SaveHtmlPage(board(), shell_, HtmlSaveDialog1, chat);
}

void TForm1::KVHClick() {
    if (OpenHtmlFile(shell_, HtmlDialog1, openWithDesktop) == HtmlOpened::NotOpened) dialogs_->ShowMessage(kHtmlNotOpened);
}

void TForm1::KFPClick() {
    const Engine& e = board();
    if (e.currentIndex == 0) {
        dialogs_->ShowMessage(kNothingToPrint);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    if (!PrintDialog1(printer)) return;
    const QDate today = QDate::currentDate();
    const PrintJob job =
        RecordPrint(e, board().messages().Text(), PrintedDate(today.year(), today.month(), today.day()));
    PrintJobTo(printer, job);
}

void TForm1::KVBClick() {
    QApplication::clipboard()->setImage(BoardBitmap(Form2->painter(), board()));
}

void TForm1::KVMClick() {
    QApplication::clipboard()->setMimeData(BoardVectorMime(board()));
}

}  // namespace quorvel
