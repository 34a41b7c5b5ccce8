// TForm1, the main window: the slim command centre at the top of the screen with the main menu, two
// toolbar rows, the save-name panel and the autoplay panel. It owns the file name, the dialog folders and
// the lists; every command calls one operation of the board window (or of the file commands) and redraws.
// The board window sits right below it and the text window below that; the three stay docked together.
#pragma once

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>
#include <memory>

#include "app/file_commands.h"
#include "app/settings_file.h"
#include "app/shell_settings.h"
#include "app/web_records.h"
#include "platform/gui/qt_net_ports.h"
#include "platform/gui/qt_ports.h"
#include "app/gui/settings_dialog.h"
#include "app/gui/text_window.h"
#include "core/gui/board_window.h"
#include "core/gui/mark_palette.h"
#include "formats/sgf_port.h"
#include "platform/title_registry.h"

namespace quorvel {

class TForm6;
class TForm9;
class TForm11;

class TForm1 : public QWidget {
    Q_OBJECT

public:
    // `arguments` are the command-line arguments after the program name; `programDir` holds the pictures.
    // Message boxes and file dialogs are the real ones unless others are given (tests answer them).
    // `settingsFolder` holds "Zarn.dat" with the SGF and HTML folders (SettingsFolder); without one the
    // window starts with the defaults and keeps no settings.
    TForm1(const QString& programDir, const QStringList& arguments, TitleRegistry& titles,
           UserDialogs* dialogs = nullptr, FileDialogs* fileDialogs = nullptr,
           const std::string& settingsFolder = std::string());
    ~TForm1() override;

    // Shows the windows as a start shows them, docked under each other.
    void ShowAtStart();

    TForm2* Form2 = nullptr;
    TForm3* Form3 = nullptr;
    TForm5* Form5 = nullptr;
    TForm15* Form15 = nullptr;
    TForm6* Form6 = nullptr;
    FileCommands& files() { return *files_; }
    ShellSettings& shell() { return shell_; }
    SettingsOwners settingsOwners() { return {board(), *files_, shell_}; }
    TForm9* Form9 = nullptr;
    TForm11* Form11 = nullptr;
    WebRecords& web() { return *web_; }
    Engine& board() { return Form2->engine(); }

    QAction* action(const QString& code) const { return actions_.value(code); }
    QToolBar* ToolBar1 = nullptr;
    QToolBar* ToolBar2 = nullptr;
    QWidget* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QToolButton* Image1 = nullptr;  // the window switch
    QWidget* Panel2 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QToolButton* SpeedButton5 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QAction* ZarnItem[RecentFiles::kSlots] = {};

    bool startedWithFile() const { return startedWithFile_; }
    bool compactMode() const { return compactMode_; }
    bool textBoardBlackFirst() const { return textBoardBlackFirst_; }
    // The record path a command line names: one argument as it is, two joined with one blank, of three or
    // more the first.
    static QString RecordPathOf(const QStringList& arguments);

    // Switches between the compact window (one toolbar row) and the full one (both rows).
    void SwitchWindowSize();
    // Moves the board window (and a docked text window) along with the main window.
    void Timer1Timer();
    // The record dropped on the main or the board window (DroppedRecordPath).
    void OpenDroppedFile(const QString& path);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildMenus();
    void BuildToolbars();
    void BuildPanels();
    void Wire(const char* code, void (TForm1::*handler)());
    // Hands a key to the board window; true when it was taken there.
    bool RouteKey(QKeyEvent* event);
    void Redraw();
    void RenewCaption();
    // The mode items and the caption follow the board window's mode.
    void FollowMode();
    void RenewRecentItems();
    // Start-up reads the settings file (the check marks follow it); close writes it.
    void ReadSettings();
    void WriteSettings();
    void SetNavigationEnabled(bool enabled);
    void ShowInterval(int seconds);
    // The board window right under the main window, 3 pixels narrower.
    void DockBoard();
    bool TextDockedUnder(const QRect& main) const;
    void BoardActivated();
    // The toolbar rows with their panels.
    bool OnCoolBar(const QObject* watched) const;

    // Command handlers.
    void KFNClick();
    void KFOClick();
    void KFSClick();
    void KFWClick();
    void KFZClick();
    void KKAClick();
    void KKHClick();
    void KKSClick();
    void KKRClick();
    void KKWClick();
    void KKMClick();
    void KKPClick();
    void KKCClick();
    void KSSClick();
    void KSHClick();
    void KSBClick();
    void KSLClick();
    void KVGClick();
    void KSMClick();
    void KVFClick();
    void KKDClick();
    void KKEClick();
    void KVKClick();
    void KVEClick();
    void ZarnItemClick(int k);
    // Web records and mail (main_window_net.cpp).
    void SetUpNetWindows();
    void StopNetWindows();
    void KNRClick();
    void KNNClick();
    void KNEClick();
    void StartWebLoad(const std::string& url);

    QString programDir_;
    QStringList arguments_;
    bool startedWithFile_ = false;
    bool compactMode_ = true;
    bool firstPaintDone_ = false;
    bool textBoardBlackFirst_ = true;
    int lastLeft_ = 0;
    int lastTop_ = 0;
    QTimer Timer1;
    QMenuBar* MainMenu1 = nullptr;
    QMap<QString, QAction*> actions_;
    QMap<QString, QMenu*> menus_;

    std::unique_ptr<QtDialogs> ownDialogs_;
    std::unique_ptr<QtFileDialogs> ownFileDialogs_;
    UserDialogs* dialogs_ = nullptr;
    QtClipboard clipboard_;
    SgfRecordFormats formats_;
    std::unique_ptr<FileCommands> files_;
    std::string settingsFolder_;
    ShellSettings shell_;
    // Declared after the file commands and before the web records, which post to it until they are gone.
    std::unique_ptr<QtEventPort> events_;
    QtUrlOpener urlOpener_;
    std::unique_ptr<WebRecords> web_;
};

}  // namespace quorvel
