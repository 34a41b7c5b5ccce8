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
#include <functional>
#include <memory>
#include <optional>

#include "app/file_commands.h"
#include "app/html_save.h"
#include "app/settings_file.h"
#include "app/shell_settings.h"
#include "app/startup_record.h"
#include "app/web_records.h"
#include "platform/gui/qt_net_ports.h"
#include "platform/gui/program_icons.h"
#include "platform/gui/qt_ports.h"
#include "app/gui/about_window.h"
#include "app/gui/settings_dialog.h"
#include "app/gui/start_screen.h"
#include "app/gui/text_window.h"
#include "core/gui/board_window.h"
#include "core/gui/mark_palette.h"
#include "formats/sgf_port.h"
#include "platform/title_registry.h"

class QPrinter;

namespace quorvel::gtp {
class EngineCommands;
struct GameChoices;
}  // namespace quorvel::gtp

namespace quorvel {

class TForm6;
class TForm8;
class TForm10;
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

    // The start: with a record on the command line the docked windows, without one the start screen.
    // `loadedAhead`, when given, has been loading the command line's record meanwhile; the windows then
    // show it at their first paint.
    void Start(StartupRecord* loadedAhead = nullptr);
    // Shows the windows as a start shows them, docked under each other; in full mode on a tall screen
    // when a record was on the command line or `fullMode` asks for it.
    void ShowAtStart(bool fullMode = false);

    TForm2* Form2 = nullptr;
    // The engine's commands and windows (analysis, review, game, settings).
    gtp::EngineCommands& engineCommands() { return *engine_; }
    TForm3* Form3 = nullptr;
    TForm4* Form4 = nullptr;  // only in a start without a record
    // The windows hidden at start are built when first used, each by its accessor, so that a start builds
    // only the windows it shows (main_window_hidden.cpp).
    TForm5* Form5();    // the comment, settings and game-information dialog
    TForm6* Form6();    // the secondary board
    TForm7* Form7();    // the about window
    TForm8* Form8();    // the record preview
    TForm9* Form9();    // the mail window
    TForm10* Form10();  // the net game log window
    TForm11* Form11();  // the web address window
    TForm15* Form15();  // the mark palette
    // The board-picture dialog (OpenPictureDialog1): the chosen file, or nothing when cancelled.
    std::function<std::optional<std::string>(const std::string& startFolder)> runPictureDialog;
    // The animation's music.
    const QtSound& music() const { return bgm_; }
    FileCommands& files() { return *files_; }
    ShellSettings& shell() { return shell_; }
    SettingsOwners settingsOwners() { return {board(), *files_, shell_}; }
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
    // The HTML save dialog and the print dialog (main_window_export.cpp); tests answer them instead.
    HtmlSaveDialog HtmlSaveDialog1;
    HtmlSaveDialog HtmlDialog1;  // KVH's open dialog
    FileOpener openWithDesktop;  // the desktop's default action on a file
    std::function<bool(QPrinter&)> PrintDialog1;

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

signals:
    // The main window closed: the program ends.
    void closed();

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
    // The start screen, the about window and the minor commands (main_window_start.cpp).
    void WireStartCommands();
    void StartScreenChosen(const StartChoice& choice);
    void KSKClick();
    void KHAClick();
    void KNSClick();
    void KNMClick();
    void KSAClick();
    void KVPClick();
    void StartSibling(const char* programPath, const char* missingMessage);
    // The music plays while the animation runs in full mode.
    void FollowAnimationMusic();
    std::optional<std::string> RunPictureDialog(const std::string& startFolder);
    // Web records and mail (main_window_net.cpp).
    void SetUpNetWindows();
    void StopNetWindows();
    // The engine's menu: analysis, review, a game against it, its settings (main_window_engine.cpp).
    void SetUpEngineCommands();
    bool PrepareGameRecord(const gtp::GameChoices& choices);
    void KNRClick();
    void KNNClick();
    void KNEClick();
    void StartWebLoad(const std::string& url);
    // The HTML page, printing and the pictures (main_window_export.cpp).
    void SetUpExport();
    void KVTClick();
    void KVHClick();
    void KFPClick();
    void KVBClick();
    void KVMClick();
    // The net game log window (main_window_log.cpp).
    void SetUpLogWindow();
    void BoardCommentAdded();
    void StopLogWindow();
    // Places the log window beside the main and board windows the first time it shows.
    void PlaceLogWindow();
    // Text boards and the clipboard (main_window_text.cpp).
    void SetUpTextCommands();
    void KKTClick();
    void KKBClick();
    void KVSClick();

    // The palette shows while stones are set up in creation mode; a palette not built yet stays unbuilt
    // while it is hidden.
    void ShowPalette(bool shown);
    // The stand-ins of the hidden windows handed to the board window, the file commands and the open dialog.
    void SetUpHiddenWindows();
    // The hidden windows that have no parent, if they were built.
    void DeleteHiddenWindows();
    // The secondary board, the net game log window and the record preview as the board window, the file
    // commands and the open dialog use them: built on first use.
    class LazyPointPicker;
    class LazyChatLogKeeper;
    class LazyOpenDialogWatcher;

    TForm5* form5_ = nullptr;
    TForm6* form6_ = nullptr;
    TForm7* form7_ = nullptr;
    TForm8* form8_ = nullptr;
    TForm9* form9_ = nullptr;
    TForm10* form10_ = nullptr;
    bool logWindowPlaced_ = false;
    TForm11* form11_ = nullptr;
    TForm15* form15_ = nullptr;
    std::unique_ptr<PointPicker> pointPicker_;
    std::unique_ptr<ChatLogKeeper> chatLogKeeper_;
    std::unique_ptr<OpenDialogWatcher> openDialogWatcher_;

    QString programDir_;
    std::string recordPath_;  // the command line's record, absolute, as the file system's bytes
    bool startedWithFile_ = false;
    bool compactMode_ = true;
    bool firstPaintDone_ = false;
    bool openedAhead_ = false;  // the command line's record was opened before the first paint
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
    ProgramIcons icons_;  // the toolbar icons, read once from their strip
    ShellSettings shell_;
    QtSound bgm_;
    // Declared after the file commands and before the web records, which post to it until they are gone.
    std::unique_ptr<QtEventPort> events_;
    std::unique_ptr<gtp::EngineCommands> engine_;
    QtUrlOpener urlOpener_;
    std::unique_ptr<WebRecords> web_;
    std::unique_ptr<SaveNameExport> saveNameExport_;
};

}  // namespace quorvel
