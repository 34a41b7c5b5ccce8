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

#include <dirent.h>
#include <sys/stat.h>

#include "platform/gui/qt_text.h"
#include "platform/text_codec.h"

namespace quorvel {
namespace {

// "SGF棋譜ファイル" for "*.sgf", "すべてのファイル(*.*)" for "*.*".
QString RecordFilter() {
    return ToQString("SGF棋譜ファイル") + QStringLiteral(" (*.sgf *.SGF);;") + ToQString("すべてのファイル(*.*)") +
           QStringLiteral(" (*)");
}

std::optional<std::string> Chosen(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    return FileSystemPath(path);
}

// The first byte that does not begin a whole, shortest-form UTF-8 character at `i`: its length, or 0.
std::size_t Utf8Length(const std::string& s, std::size_t i, char32_t& code) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t length;
    char32_t least;
    if (c < 0x80) {
        code = c;
        return 1;
    } else if ((c & 0xE0) == 0xC0) {
        length = 2, least = 0x80, code = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        length = 3, least = 0x800, code = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        length = 4, least = 0x10000, code = c & 0x07;
    } else {
        return 0;
    }
    if (i + length > s.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto d = static_cast<unsigned char>(s[i + k]);
        if ((d & 0xC0) != 0x80) return 0;
        code = (code << 6) | (d & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

constexpr char16_t kEscapedByte = 0xDC00;  // + the byte, for bytes 0x80..0xFF outside UTF-8

void AppendUtf8(std::string& out, char32_t code) { out += UnicodeToUtf8(std::u32string(1, code)); }

}  // namespace

QString PathToQString(const std::string& path) {
    QString out;
    out.reserve(static_cast<qsizetype>(path.size()));
    for (std::size_t i = 0; i < path.size();) {
        char32_t code = 0;
        const std::size_t length = Utf8Length(path, i, code);
        if (length == 0) {
            out += QChar(static_cast<char16_t>(kEscapedByte + static_cast<unsigned char>(path[i])));
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            out += QChar(QChar::highSurrogate(code));
            out += QChar(QChar::lowSurrogate(code));
        } else {
            out += QChar(static_cast<char16_t>(code));
        }
        i += length;
    }
    return out;
}

std::string PathFromQString(const QString& path) {
    std::string out;
    out.reserve(static_cast<std::size_t>(path.size()));
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t c = path[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < path.size() && QChar::isLowSurrogate(path[i + 1].unicode())) {
            AppendUtf8(out, QChar::surrogateToUcs4(c, path[i + 1].unicode()));
            ++i;
        } else if (c >= kEscapedByte + 0x80 && c <= kEscapedByte + 0xFF) {
            out += static_cast<char>(c - kEscapedByte);
        } else if (QChar::isSurrogate(c)) {
            AppendUtf8(out, QChar::ReplacementCharacter);
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

std::string FileSystemPath(const QString& qtPath) {
    const std::string whole = PathFromQString(qtPath);
    struct stat st {};
    if (whole.empty() || ::lstat(whole.c_str(), &st) == 0) return whole;
    std::string found = qtPath.startsWith(u'/') ? "/" : "";
    const QStringList parts = qtPath.split(u'/', Qt::SkipEmptyParts);
    for (qsizetype k = 0; k < parts.size(); ++k) {
        std::string next = found + PathFromQString(parts[k]);
        if (::lstat(next.c_str(), &st) != 0) {
            // The name of the folder's entries that Qt shows as this part.
            if (DIR* folder = ::opendir(found.empty() ? "." : found.c_str())) {
                while (const dirent* entry = ::readdir(folder)) {
                    if (QFile::decodeName(entry->d_name) == parts[k]) {
                        next = found + entry->d_name;
                        break;
                    }
                }
                ::closedir(folder);
            }
        }
        found = k + 1 < parts.size() ? next + "/" : next;
    }
    return found;
}

QString DroppedRecordPath(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().isEmpty()) return QString();
    const QUrl url = mime->urls().first();
    if (!url.isLocalFile()) return QString();
    // The address carries the name's bytes percent-encoded; Qt's own local name would replace those
    // that are not UTF-8.
    const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    const QString path = PathToQString(bytes.toStdString());
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
    // Any name, because Qt checks that the chosen file exists by the name it shows, which for a name
    // that is not UTF-8 is not the file's: FileSystemPath finds the file, and a name that is no file is
    // said by the open command itself.
    dialog.setFileMode(QFileDialog::AnyFile);
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
        if (watcher_) watcher_->OpenDialogSelectionChanged(FileSystemPath(path));
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
    QFileDialog dialog(parent_, ToQString("棋譜の保存"), PathToQString(startFolder), RecordFilter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The dialog adds ".sgf" to a name without a dot itself, so that the question about replacing a file
    // is asked for the name the record is written to. Qt's own dialog, because a desktop's dialog asks
    // about the name as typed and has the extension added after.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setDefaultSuffix(QStringLiteral("sgf"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setObjectName(QStringLiteral("SaveDialog1"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return Chosen(dialog.selectedFiles().first());
}

void QtClipboard::SetText(const std::string& text) {
    QString q = ToQString(text);
    QApplication::clipboard()->setText(q);
}

std::string QtClipboard::Text() const { return FromQString(QApplication::clipboard()->text()); }

std::u32string QtClipboard::UnicodeText() const {
    const QList<uint> characters = QApplication::clipboard()->text().toUcs4();
    return std::u32string(characters.begin(), characters.end());
}

QImage ReadImageFile(const QString& path, const char* format) {
    // A missing file is a null picture, said by the caller; the reader would only complain on stderr.
    if (!QFileInfo::exists(path)) return QImage();
    QImageReader reader(path, format);
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

}  // namespace quorvel
