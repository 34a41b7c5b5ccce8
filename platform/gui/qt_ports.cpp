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
    return Chosen(QFileDialog::getOpenFileName(parent_, ToQString("棋譜の読み込み"), PathToQString(startFolder),
                                               RecordFilter()));
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
