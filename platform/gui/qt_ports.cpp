#include "platform/gui/qt_ports.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeData>
#include <QUrl>
#include <QMessageBox>
#include <QTimer>

#include "platform/gui/qt_text.h"

namespace quorvel {
namespace {

// "SGF棋譜ファイル" for "*.sgf", "すべてのファイル(*.*)" for "*.*".
QString RecordFilter() {
    return ToQString("SGF棋譜ファイル") + QStringLiteral(" (*.sgf *.SGF);;") + ToQString("すべてのファイル(*.*)") +
           QStringLiteral(" (*)");
}

std::optional<std::string> Chosen(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    return PathFromQString(path);
}

}  // namespace

QString PathToQString(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
std::string PathFromQString(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString DroppedRecordPath(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().isEmpty()) return QString();
    const QString path = mime->urls().first().toLocalFile();
    if (!QFileInfo(path).fileName().contains(QStringLiteral(".sgf"), Qt::CaseInsensitive)) return QString();
    return path;
}

void QtDialogs::ShowMessage(const std::string& text) {
    QMessageBox::information(parent_, ToQString(caption_), ToQString(text));
}

Answer QtDialogs::AskYesNoCancel(const std::string& text, const std::string& caption) {
    const auto button = QMessageBox::question(parent_, ToQString(caption), ToQString(text),
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                              QMessageBox::Yes);
    if (button == QMessageBox::Yes) return Answer::Yes;
    if (button == QMessageBox::No) return Answer::No;
    return Answer::Cancel;
}

Answer QtDialogs::AskYesNo(const std::string& text, const std::string& caption) {
    const auto button = QMessageBox::question(parent_, ToQString(caption), ToQString(text),
                                              QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    return button == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

std::optional<std::string> QtFileDialogs::RunOpenDialog(const std::string& startFolder) {
    // Qt's own dialog, so that the folder and selection changes reach the preview on every desktop.
    QFileDialog dialog(parent_, ToQString("棋譜の読み込み"), PathToQString(startFolder), RecordFilter());
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setObjectName(QStringLiteral("OpenDialog1"));
    const auto placeOnce = [this, &dialog] {
        if (!openDialogPlacePending_ || !parent_) return;
        openDialogPlacePending_ = false;
        const QRect main = parent_->frameGeometry();
        dialog.setGeometry(main.left() - 50, 20, main.width() - 30, 250);
    };
    QObject::connect(&dialog, &QFileDialog::directoryEntered, &dialog, [this, placeOnce] {
        placeOnce();
        if (watcher_) watcher_->OpenDialogFolderChanged();
    });
    QObject::connect(&dialog, &QFileDialog::currentChanged, &dialog, [this](const QString& path) {
        if (watcher_) watcher_->OpenDialogSelectionChanged(PathFromQString(path));
    });
    placeOnce();
    if (watcher_) {
        QObject::connect(
            &dialog, &QDialog::finished, &dialog, [this] { watcher_->OpenDialogClosed(); }, Qt::DirectConnection);
        QTimer::singleShot(0, &dialog, [this, &dialog] { watcher_->OpenDialogShown(&dialog); });
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return Chosen(dialog.selectedFiles().first());
}

std::optional<std::string> QtFileDialogs::RunSaveDialog(const std::string& startFolder) {
    // The extension is added by the save command itself, only to names without one.
    QFileDialog dialog(parent_, ToQString("棋譜の保存"), PathToQString(startFolder), RecordFilter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return Chosen(dialog.selectedFiles().first());
}

void QtClipboard::SetText(const std::string& text) {
    QString q = ToQString(text);
    QApplication::clipboard()->setText(q);
}

std::string QtClipboard::Text() const { return FromQString(QApplication::clipboard()->text()); }

QImage ReadImageFile(const QString& path, const char* format) {
    // A missing file is a null picture, said by the caller; the reader would only complain on stderr.
    if (!QFileInfo::exists(path)) return QImage();
    QImageReader reader(path, format);
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

}  // namespace quorvel
