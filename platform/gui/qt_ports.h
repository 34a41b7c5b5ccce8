// The engine's ports on real widgets: message boxes, the file dialogs and the clipboard.
#pragma once

#include <QImage>
#include <QString>
#include <string>
#include <utility>

#include "platform/ui_ports.h"

class QMimeData;
class QWidget;

namespace quorvel {

// Message boxes over a parent window; plain messages carry `caption` (the application title).
class QtDialogs : public UserDialogs {
public:
    QtDialogs(QWidget* parent, std::string caption) : parent_(parent), caption_(std::move(caption)) {}
    void ShowMessage(const std::string& text) override;
    Answer AskYesNoCancel(const std::string& text, const std::string& caption) override;
    Answer AskYesNo(const std::string& text, const std::string& caption) override;

private:
    QWidget* parent_;
    std::string caption_;
};

// What watches the open dialog while it runs (the record preview): its showing, each folder change and
// selection change, and its closing. Paths are the file system's bytes.
class OpenDialogWatcher {
public:
    virtual ~OpenDialogWatcher() = default;
    virtual void OpenDialogShown(QWidget* dialog) = 0;
    virtual void OpenDialogFolderChanged() = 0;
    virtual void OpenDialogSelectionChanged(const std::string& path) = 0;
    virtual void OpenDialogClosed() = 0;
};

// OpenDialog1 and SaveDialog1.
class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent) : parent_(parent) {}
    std::optional<std::string> RunOpenDialog(const std::string& startFolder) override;
    std::optional<std::string> RunSaveDialog(const std::string& startFolder) override;

    // The open dialog reports to `watcher` (may be null) and, at the first folder change of a run of the
    // program, is placed under the main window (left - 50, top 20, width - 30, height 250).
    void SetOpenDialogWatcher(OpenDialogWatcher* watcher) { watcher_ = watcher; }

private:
    QWidget* parent_;
    OpenDialogWatcher* watcher_ = nullptr;
    bool openDialogPlacePending_ = true;
};

class QtClipboard : public Clipboard {
public:
    void SetText(const std::string& text) override;
    std::string Text() const override;
    std::u32string UnicodeText() const override;
};

// The record a drop on the main or the board window opens: the first dropped file, when its own name holds
// ".sgf" in any case, its bytes taken from the address as it was sent (see PathToQString); empty otherwise.
QString DroppedRecordPath(const QMimeData* mime);

// A picture file read as `format` ("BMP", "PNG") alone: the file is not probed by every image-format
// plugin, which would load them all at start. Null when the file is missing or not of that format.
QImage ReadImageFile(const QString& path, const char* format);

// File paths are the file system's bytes, never texts of the program. The conversion keeps every byte:
// UTF-8 is read as UTF-8, and each byte that is not part of it (a Shift-JIS name) becomes a lone
// surrogate U+DC80..U+DCFF that converts back to that byte.
QString PathToQString(const std::string& path);
std::string PathFromQString(const QString& path);

// The path of a file a Qt widget names (a file dialog, a drop): Qt reads file names that are not UTF-8
// with replacement characters, so each part of the path that names no file as it stands is looked up
// among the names of its folder as the file system has them. Parts found nowhere (a new name typed into
// a save dialog) are taken as they are.
std::string FileSystemPath(const QString& qtPath);

}  // namespace quorvel
