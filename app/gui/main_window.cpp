#include "app/gui/main_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QMimeData>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <functional>

#include "app/command_table.h"
#include "auxiliary/gui/log_window.h"
#include "auxiliary/gui/secondary_board_window.h"
#include "gtp/gui/engine_commands.h"
#include "platform/gui/qt_text.h"
#include "platform/gui/startup_probe.h"
#include "core/keys.h"
#include "platform/file_io.h"

namespace quorvel {
namespace {

constexpr int kRowHeight = 27;         // one toolbar row
constexpr int kCompactClient = 29;     // client height with one row
constexpr int kFullClient = 56;        // with both rows
constexpr int kSmallScreenClient = 43;
constexpr int kCompactWidth = 525;
constexpr int kFullWidth = 575;

QRect Screen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

// The menus the running autoplay disables, with both toolbars: everything that would change the record.
const char* const kNavigationMenus[] = {"KF0", "KK0", "KN0", "KV0"};

QToolButton* SpeedButton(QWidget* parent, const QString& text, const char* hint) {
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setToolTip(ToQString(hint));
    button->setAutoRaise(true);
    button->setFixedSize(22, 22);
    return button;
}

}  // namespace

QString TForm1::RecordPathOf(const QStringList& arguments) {
    std::vector<std::string> paths;
    for (const QString& argument : arguments) paths.push_back(PathFromQString(argument));
    return PathToQString(quorvel::RecordPathOf(paths));
}

TForm1::TForm1(const QString& programDir, const QStringList& arguments, TitleRegistry& titles,
               UserDialogs* dialogs, FileDialogs* fileDialogs, const std::string& settingsFolder)
    : QWidget(nullptr),
      programDir_(programDir),
      settingsFolder_(settingsFolder),
      icons_(programDir),
      bgm_(programDir, programDir + QStringLiteral("/bgm.wav")) {
    setWindowTitle(ToQString(kApplicationTitle));
    setAcceptDrops(true);
    startedWithFile_ = !arguments.isEmpty();
    // Made absolute at once: the recent files keep it for later runs in other folders, and the title
    // check compares it with the names other copies show.
    recordPath_ = AbsolutePath(PathFromQString(RecordPathOf(arguments)));

    if (!dialogs) {
        ownDialogs_ = std::make_unique<QtDialogs>(this, kApplicationTitle);
        dialogs = ownDialogs_.get();
    }
    if (!fileDialogs) {
        ownFileDialogs_ = std::make_unique<QtFileDialogs>(this);
        fileDialogs = ownFileDialogs_.get();
    }
    dialogs_ = dialogs;
    StartupMark("form1-start");
    // The text window is the board window's message area, so it exists first.
    Form3 = new TForm3([this] { return files_ ? files_->lastLoadedText : std::string(); });
    StartupMark("form3");
    Form2 = new TForm2(*Form3, *dialogs, programDir);
    StartupMark("form2");
    Form2->askToSave = [this] { return files_->AskToSave(); };
    Form2->engine().SetClipboard(clipboard_);
    Form2->engine().SetFormats(formats_);
    files_ = std::make_unique<FileCommands>(Form2->engine(), *fileDialogs, titles,
                                            [](Engine& e, const std::string& text) { return LoadRecordText(e, text); });
    const std::string folder = PathFromQString(programDir) + "/";
    files_->openDialogDir = folder + "SGF/";
    files_->saveDialogDir = folder + "SGF/";
    files_->changed = [this] {
        RenewCaption();
        RenewRecentItems();
        Form2->SetChatLogShown(files_->chatLogPresent);
    };
    SetUpHiddenWindows();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    MainMenu1 = new QMenuBar(this);
    layout->setMenuBar(MainMenu1);
    BuildMenus();
    StartupMark("menus");
    SetUpTextCommands();
    BuildToolbars();
    StartupMark("toolbars");
    BuildPanels();
    StartupMark("panels");
    auto* row1 = new QHBoxLayout;
    row1->setContentsMargins(0, 0, 0, 0);
    row1->addWidget(ToolBar1);
    row1->addStretch(1);
    row1->addWidget(Panel1);
    auto* row2 = new QHBoxLayout;
    row2->setContentsMargins(0, 0, 0, 0);
    row2->addWidget(ToolBar2);
    row2->addStretch(1);
    row2->addWidget(Panel2);
    layout->addLayout(row1);
    layout->addLayout(row2);
    layout->addStretch(1);

    connect(Form2, &TForm2::navigationEnabledChanged, this, &TForm1::SetNavigationEnabled);
    connect(Form2, &TForm2::autoplayIntervalChanged, this, &TForm1::ShowInterval);
    connect(Form2, &TForm2::switchesChanged, this, [this](bool hints, bool xy) {
        action(QStringLiteral("KKH"))->setChecked(hints);
        action(QStringLiteral("KSH"))->setChecked(xy);
    });
    connect(Form2, &TForm2::recordDropped, this, [this](const QString& path) { OpenDroppedFile(path); });
    connect(Form2, &TForm2::activated, this, &TForm1::BoardActivated);
    connect(Form2, &TForm2::textWindowRequested, Form3, &TForm3::ToggleFrame);
    connect(Form2, &TForm2::modeChanged, this, &TForm1::FollowMode);
    ReadSettings();
    StartupMark("settings");
    Form2->editComment = [this] { return Form5()->ShowForComment(); };
    SetUpNetWindows();
    SetUpEngineCommands();
    SetUpExport();
    SetUpLogWindow();
    WireStartCommands();

    // Size and place: at the top of the screen, centred on a tall screen.
    const QRect screen = Screen();
    const bool tall = screen.height() > 499;
    const int width = (startedWithFile_ && screen.height() > 500) ? kFullWidth : kCompactWidth;
    const int client = tall ? kCompactClient : kSmallScreenClient;
    ToolBar2->setVisible(false);
    Panel2->setVisible(false);
    setFixedSize(width, MainMenu1->sizeHint().height() + client);
    move(tall ? screen.left() + (screen.width() - width) / 2 : screen.left(), screen.top());
    lastLeft_ = x();
    lastTop_ = y();
    DockBoard();

    Timer1.setInterval(500);
    connect(&Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    Timer1.start();

    // Every key typed in the main window reaches it before the control that has the focus.
    qApp->installEventFilter(this);
    setFocusPolicy(Qt::StrongFocus);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    // The read-out names the point under the pointer; once the pointer is on the toolbars it names none.
    if ((event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) && board().settings.showXY &&
        OnCoolBar(watched)) {
        Form2->ClearCoordinateReadout();
    }
    // Any key let go ends the mark mode; X11's repeats of a held key are no release.
    if (event->type() == QEvent::KeyRelease && !static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
        board().MarkKeyReleased();
    }
    // Typing a save name in Edit1 stays in the field.
    if (event->type() == QEvent::KeyPress && watched != this && watched->isWidgetType() && watched != Edit1 &&
        static_cast<QWidget*>(watched)->window() == this) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (RouteKey(key)) return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool TForm1::RouteKey(QKeyEvent* event) {
    // Ctrl+Tab brings the net game log window forward, as on the board window; no other Ctrl key reaches
    // the board.
    if (event->modifiers() & Qt::ControlModifier) {
        if (event->key() != Qt::Key_Tab) return false;
        Form2->ActivateNetGameLog();
        return true;
    }
    const int before = board().currentIndex;
    QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text());
    QApplication::sendEvent(Form2, &copy);
    return copy.isAccepted() || board().currentIndex != before;
}

TForm1::~TForm1() {
    // The engine stops before the board window it draws on and reports to.
    engine_.reset();
    delete Form4;
    StopNetWindows();
    StopLogWindow();
    DeleteHiddenWindows();
    delete Form2;
    delete Form3;
}

void TForm1::Wire(const char* code, void (TForm1::*handler)()) {
    QAction* a = action(QString::fromLatin1(code));
    a->setEnabled(true);
    const bool guarded = FindCommand(code)->guarded;
    connect(a, &QAction::triggered, this, [this, a, guarded, handler] {
        if (guarded && board().Busy()) {
            // Refused: a check mark the click moved goes back.
            if (a->isCheckable()) a->setChecked(!a->isChecked());
            return;
        }
        (this->*handler)();
    });
}

void TForm1::BuildMenus() {
    for (const MenuEntry& m : Menus()) menus_.insert(QString::fromLatin1(m.code), MainMenu1->addMenu(ToQString(m.caption)));
    for (const MenuEntry& m : Menus()) menus_[QString::fromLatin1(m.code)]->setObjectName(QString::fromLatin1(m.code));
    auto* modes = new QActionGroup(this);
    for (const CommandEntry& c : Commands()) {
        QMenu* menu = menus_.value(QString::fromLatin1(c.menu));
        QAction* a = menu->addAction(ToQString(c.caption));
        a->setObjectName(QString::fromLatin1(c.code));
        if (c.hint) a->setToolTip(ToQString(c.hint));
        a->setCheckable(c.check != CheckKind::None);
        a->setChecked(c.checkedAtStart);
        if (c.check == CheckKind::Radio) modes->addAction(a);
        // Commands whose operations are not built yet stay visibly disabled; Wire enables the others.
        a->setEnabled(false);
        a->setIcon(icons_.Icon(a->objectName()));
        actions_.insert(a->objectName(), a);
        if (QString::fromLatin1(c.code) == QStringLiteral("KFZ")) {
            // The recent files follow the file commands, hidden until filled, after their separator.
            QAction* separator = menu->insertSeparator(a);
            separator->setObjectName(QStringLiteral("N6"));
            separator->setVisible(false);
            actions_.insert(QStringLiteral("N6"), separator);
            for (int k = 0; k < RecentFiles::kSlots; ++k) {
                ZarnItem[k] = new QAction(menu);
                ZarnItem[k]->setObjectName(QStringLiteral("ZarnItem%1").arg(k + 1));
                ZarnItem[k]->setVisible(false);
                menu->insertAction(separator, ZarnItem[k]);
                connect(ZarnItem[k], &QAction::triggered, this, [this, k] { ZarnItemClick(k + 1); });
            }
            // The recent files stand between the file commands and "終了".
            menu->removeAction(separator);
            menu->insertAction(ZarnItem[0], separator);
        }
    }

    Wire("KFN", &TForm1::KFNClick);
    Wire("KFO", &TForm1::KFOClick);
    Wire("KFS", &TForm1::KFSClick);
    Wire("KFW", &TForm1::KFWClick);
    Wire("KFZ", &TForm1::KFZClick);
    Wire("KKA", &TForm1::KKAClick);
    Wire("KKH", &TForm1::KKHClick);
    Wire("KKS", &TForm1::KKSClick);
    Wire("KKR", &TForm1::KKRClick);
    Wire("KKW", &TForm1::KKWClick);
    Wire("KKM", &TForm1::KKMClick);
    Wire("KKP", &TForm1::KKPClick);
    Wire("KKC", &TForm1::KKCClick);
    Wire("KSS", &TForm1::KSSClick);
    Wire("KSH", &TForm1::KSHClick);
    Wire("KSB", &TForm1::KSBClick);
    Wire("KSL", &TForm1::KSLClick);
    Wire("KVG", &TForm1::KVGClick);
    Wire("KSM", &TForm1::KSMClick);
    Wire("KVF", &TForm1::KVFClick);
    Wire("KSK", &TForm1::KSKClick);
    Wire("KHA", &TForm1::KHAClick);
    Wire("KNS", &TForm1::KNSClick);
    Wire("KNM", &TForm1::KNMClick);
    Wire("KSA", &TForm1::KSAClick);
    Wire("KVP", &TForm1::KVPClick);
    Wire("KKD", &TForm1::KKDClick);
    Wire("KKE", &TForm1::KKEClick);
    Wire("KVK", &TForm1::KVKClick);
    Wire("KVE", &TForm1::KVEClick);
    Wire("KNR", &TForm1::KNRClick);
    Wire("KNN", &TForm1::KNNClick);
    Wire("KNE", &TForm1::KNEClick);
}

void TForm1::BuildToolbars() {
    ToolBar1 = new QToolBar(this);
    ToolBar2 = new QToolBar(this);
    for (QToolBar* bar : {ToolBar1, ToolBar2}) {
        // Small square buttons, so that a row of sixteen fits beside the save-name panel.
        bar->setIconSize(QSize(16, 16));
        bar->setFixedHeight(kRowHeight);
        bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
        bar->setStyleSheet(QStringLiteral("QToolBar { spacing: 0px; padding: 0px; } "
                                          "QToolButton { padding: 0px; margin: 0px; }"));
    }
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMouseTracking(true);
    ToolBar2->setMouseTracking(true);
    ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
    for (const CommandEntry& c : Commands()) {
        if (c.toolbarRow == 0) continue;
        (c.toolbarRow == 1 ? ToolBar1 : ToolBar2)->addAction(action(QString::fromLatin1(c.code)));
    }
}

void TForm1::BuildPanels() {
    Panel1 = new QWidget(this);
    auto* p1 = new QHBoxLayout(Panel1);
    p1->setContentsMargins(2, 0, 2, 0);
    Label1 = new QLabel(ToQString("保存名"), Panel1);
    Edit1 = new QLineEdit(Panel1);
    Edit1->setFixedWidth(90);
    // The field takes the keyboard only when clicked; otherwise keys go to the board.
    Edit1->setFocusPolicy(Qt::ClickFocus);
    Image1 = new QToolButton(Panel1);
    Image1->setToolTip(ToQString("画面切り替え"));
    Image1->setAutoRaise(true);
    Image1->setIcon(icons_.Icon(QStringLiteral("switch")));
    Image1->setIconSize(QSize(20, 20));
    connect(Image1, &QToolButton::clicked, this, &TForm1::SwitchWindowSize);
    p1->addWidget(Label1);
    p1->addWidget(Edit1);
    p1->addWidget(Image1);

    Panel2 = new QWidget(this);
    auto* p2 = new QHBoxLayout(Panel2);
    p2->setContentsMargins(2, 0, 2, 0);
    p2->setSpacing(1);
    SpeedButton1 = SpeedButton(Panel2, QStringLiteral("<<"), "自動後退");
    SpeedButton2 = SpeedButton(Panel2, QStringLiteral("||"), "自動モード解除");
    SpeedButton3 = SpeedButton(Panel2, QStringLiteral(">>"), "自動再生");
    SpeedButton4 = SpeedButton(Panel2, QStringLiteral("+"), "自動モードの速度調節(１秒長く)");
    SpeedButton5 = SpeedButton(Panel2, QStringLiteral("-"), "自動モードの速度調節(１秒短く)");
    Edit2 = new QLineEdit(QStringLiteral("1"), Panel2);
    Edit2->setReadOnly(true);
    Edit2->setFocusPolicy(Qt::NoFocus);
    Edit2->setFixedWidth(22);
    Edit2->setAlignment(Qt::AlignCenter);
    for (QWidget* w : {static_cast<QWidget*>(SpeedButton1), static_cast<QWidget*>(SpeedButton2),
                       static_cast<QWidget*>(SpeedButton3), static_cast<QWidget*>(SpeedButton4),
                       static_cast<QWidget*>(SpeedButton5), static_cast<QWidget*>(Edit2)}) {
        p2->addWidget(w);
    }
    const auto onClick = [this](QToolButton* button, std::function<void(Engine&)> operation) {
        connect(button, &QToolButton::clicked, this, [this, operation] {
            operation(board());
            Redraw();
        });
    };
    onClick(SpeedButton1, [](Engine& e) { e.StartAutoplayBackward(); });
    onClick(SpeedButton2, [](Engine& e) { e.StopAutoplay(); });
    onClick(SpeedButton3, [](Engine& e) { e.StartAutoplayForward(); });
    onClick(SpeedButton4, [](Engine& e) { e.AutoplayIntervalUp(); });
    onClick(SpeedButton5, [](Engine& e) { e.AutoplayIntervalDown(); });
}


void TForm1::Redraw() { Form2->Redraw(); }

namespace {

// A record's name as shown: a file's path in the file system's bytes, a web address as the user typed it
// (the address lists keep it in the program's Shift-JIS).
QString RecordNameToQString(const std::string& name) {
    const bool web = name.find("http://") != std::string::npos || name.find("https://") != std::string::npos;
    return web ? ToQString(name) : PathToQString(name);
}

}  // namespace

void TForm1::RenewCaption() {
    QString caption = RecordNameToQString(files_->caption);
    if (!board().replayMode) caption += ToQString(" 　   『 棋譜データ作成 』");
    setWindowTitle(caption);
}

void TForm1::FollowMode() {
    action(QStringLiteral("KKW"))->setChecked(board().replayMode);
    action(QStringLiteral("KKM"))->setChecked(!board().replayMode);
    ShowPalette(!board().replayMode && board().inputMode == 3);
    RenewCaption();
}

void TForm1::RenewRecentItems() {
    const RecentFiles& recent = files_->recentFiles;
    actions_.value(QStringLiteral("N6"))->setVisible(recent.count > 0);
    for (int k = 1; k <= RecentFiles::kSlots; ++k) {
        QAction* item = ZarnItem[k - 1];
        item->setVisible(k <= recent.count);
        if (k > recent.count) continue;
        // An "&" of the name is shown, never taken as the item's shortcut letter.
        QString name = RecordNameToQString(recent.Slot(k));
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        item->setText(QStringLiteral("%1 : ").arg(k) + name);
    }
}

void TForm1::ReadSettings() {
    if (settingsFolder_.empty()) return;
    const std::string message = LoadSettingsFile(settingsFolder_, settingsOwners());
    const Settings& s = board().settings;
    action(QStringLiteral("KSH"))->setChecked(s.showXY);
    action(QStringLiteral("KSS"))->setChecked(s.stoneSound);
    action(QStringLiteral("KSL"))->setChecked(s.zarnStyle);
    RenewRecentItems();
    Form2->Redraw();
    // Said once the windows are up, not in the middle of building them.
    if (!message.empty()) QTimer::singleShot(0, this, [this, message] { dialogs_->ShowMessage(message); });
}

void TForm1::WriteSettings() {
    if (settingsFolder_.empty()) return;
    const std::string message = SaveSettingsFile(settingsFolder_, settingsOwners());
    if (!message.empty()) dialogs_->ShowMessage(message);
}

void TForm1::SetNavigationEnabled(bool enabled) {
    ToolBar1->setEnabled(enabled);
    ToolBar2->setEnabled(enabled);
    for (const char* code : kNavigationMenus) menus_.value(QString::fromLatin1(code))->setEnabled(enabled);
}

void TForm1::ShowInterval(int seconds) {
    Edit2->setText(QString::number(seconds));
    Form2->timer().setInterval(board().autoplayInterval);
}

void TForm1::ShowAtStart(bool fullMode) {
    show();
    StartupMark("show-form1");
    DockBoard();
    const QRect main = frameGeometry();
    const QRect screen = Screen();
    if (screen.height() < 500) {
        // A small screen: the text window gets a border and sits at the bottom right.
        Form3->show();
        if (!Form3->isSizeable()) Form3->ToggleFrame();
        Form3->setGeometry(Form2->width() + 2, screen.height() - 243, screen.width() - Form2->width() - 15, 240);
    } else {
        Form3->setGeometry(main.left() - 1, main.top() + main.height() + Form2->height(), Form2->width() + 1,
                           std::max(60, 592 - main.height() - Form2->height()));
    }
    // A record on the command line is shown in full mode on a tall screen. Switching before the windows
    // are first painted spares them a compact picture that the record's first paint would replace at once.
    if ((startedWithFile_ || fullMode) && screen.height() > 500) SwitchWindowSize();
    StartupMark("full-mode");
    Form2->show();
    StartupMark("show-form2");
    Form3->show();
    StartupMark("show-form3");
}

bool TForm1::TextDockedUnder(const QRect& main) const {
    return Form3->x() == main.left() - 1 && Form3->y() == main.top() + main.height() + Form2->height();
}

void TForm1::DockBoard() {
    const QRect main = frameGeometry();
    Form2->setFixedWidth(width() - 3);
    Form2->move(main.left(), main.top() + main.height());
}

void TForm1::SwitchWindowSize() {
    const bool docked = TextDockedUnder(frameGeometry());
    compactMode_ = !compactMode_;
    ToolBar2->setVisible(!compactMode_);
    Panel2->setVisible(!compactMode_);
    action(QStringLiteral("KSA"))->setEnabled(!compactMode_);
    const int width = compactMode_ ? kCompactWidth : kFullWidth;
    setFixedSize(width, MainMenu1->sizeHint().height() + (compactMode_ ? kCompactClient : kFullClient));
    DockBoard();
    if (docked) {
        // The text window follows and reaches down to the bottom of the screen, where comments have room.
        const int top = Form2->y() + Form2->height();
        Form3->setGeometry(x() - 1, top, Form2->width() + 1, std::max(60, Screen().bottom() + 1 - top));
    }
    // Full mode shows the players and the game information instead of the tool column.
    Form2->SetToolPanelShown(compactMode_);
    FollowAnimationMusic();
}

void TForm1::Timer1Timer() {
    if (x() == lastLeft_ && y() == lastTop_) return;
    const QRect old(lastLeft_, lastTop_, frameGeometry().width(), frameGeometry().height());
    const bool docked = TextDockedUnder(old);
    Form2->move(x(), y() + frameGeometry().height());
    if (docked) Form3->move(x() - 1, y() + frameGeometry().height() + Form2->height());
    lastLeft_ = x();
    lastTop_ = y();
}

void TForm1::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (firstPaintDone_) return;
    firstPaintDone_ = true;
    if (!startedWithFile_ || openedAhead_) return;
    // The record of the command line opens once the windows are up.
    QTimer::singleShot(0, this, [this] {
        files_->OpenPath(recordPath_);
        Redraw();
    });
}

void TForm1::changeEvent(QEvent* event) {
    // Activating the main window brings the board window to the front with it.
    // Never over a modal window (the secondary board, a dialog) that is up.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !QApplication::activeModalWidget()) {
        Form2->raise();
        raise();
    }
    QWidget::changeEvent(event);
}

void TForm1::BoardActivated() {
    // The other way round for the board window: the main window first, then the board on top again.
    if (QApplication::activeModalWidget()) return;
    raise();
    Form2->raise();
}

bool TForm1::OnCoolBar(const QObject* watched) const {
    if (!watched->isWidgetType()) return false;
    const auto* w = static_cast<const QWidget*>(watched);
    for (const QWidget* bar : {static_cast<QWidget*>(ToolBar1), static_cast<QWidget*>(ToolBar2), Panel1, Panel2}) {
        if (w == bar || bar->isAncestorOf(w)) return true;
    }
    return false;
}

void TForm1::keyPressEvent(QKeyEvent* event) {
    if (!RouteKey(event)) QWidget::keyPressEvent(event);
}

void TForm1::wheelEvent(QWheelEvent* event) {
    Form2->TurnWheel(event->angleDelta().y());
    event->accept();
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (!board().Busy() && !DroppedRecordPath(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
    const QString path = DroppedRecordPath(event->mimeData());
    if (!path.isEmpty()) OpenDroppedFile(path);
}

void TForm1::OpenDroppedFile(const QString& path) {
    if (board().Busy() || !files_->AskToSave()) return;
    files_->OpenPath(PathFromQString(path));
    Redraw();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!files_->AskToSave()) {
        event->ignore();
        return;
    }
    WriteSettings();
    bgm_.Stop();
    Form2->close();
    Form3->close();
    if (form10_) form10_->close();
    if (Form4) Form4->close();
    event->accept();
    emit closed();
}

void TForm1::KFNClick() {
    if (!files_->KFNClick()) return;
    FollowMode();
    Redraw();
    // A handicap entered with the game information decides how the new record starts.
    if (Form5()->ShowForGameInfo()) StartWithHandicap(board(), FromQString(Form5()->Edit9->text()));
    FollowMode();
    Redraw();
}

void TForm1::KFOClick() {
    files_->KFOClick();
    Redraw();
}

void TForm1::KFSClick() { files_->KFSClick(); }
void TForm1::KFWClick() { files_->KFWClick(); }
void TForm1::KFZClick() { close(); }

void TForm1::KKAClick() {
    Engine& e = board();
    // "ADD" does nothing where no move was played beyond the stored line (at move 0, say), but the command
    // promises the whole record: it is written and published all the same.
    if (e.replayMode && (e.lineEnd == 0 || e.currentIndex <= e.baseIndex)) {
        WriteWholeRecord(e, true);
    } else {
        AddVariationCommand(e);
    }
    Redraw();
}

void TForm1::KKHClick() {
    board().ToggleHints();
    Redraw();
}

void TForm1::KKSClick() {
    WriteCurrentLine(board(), true);
}

void TForm1::KKRClick() {
    board().ResetRecordCommand();
    Redraw();
}

void TForm1::KKWClick() {
    Form2->SwitchMode(true);
    FollowMode();
}

void TForm1::KKMClick() {
    Form2->SwitchMode(false);
    FollowMode();
}

void TForm1::KKPClick() { Form2->PassClick(); }

void TForm1::KKCClick() { Form2->SwapClick(); }

void TForm1::KSSClick() { board().settings.stoneSound = action(QStringLiteral("KSS"))->isChecked(); }

void TForm1::KSHClick() {
    board().settings.showXY = action(QStringLiteral("KSH"))->isChecked();
    Form2->ClearCoordinateReadout();
}

void TForm1::KSBClick() { textBoardBlackFirst_ = action(QStringLiteral("KSB"))->isChecked(); }

void TForm1::KSLClick() { board().settings.zarnStyle = action(QStringLiteral("KSL"))->isChecked(); }

void TForm1::KVGClick() {
    board().RotateRecord();
    Redraw();
}

void TForm1::KSMClick() {
    // The hint options change what the board shows at once, not only from the next step on.
    if (Form5()->ShowForSettings() && board().replayMode) board().RecountHints();
    Redraw();
}

void TForm1::KVFClick() {
    Form5()->ShowForGameInfo();
    Redraw();
}

void TForm1::KKDClick() { Form2->DeleteMovesClick(); }

void TForm1::KKEClick() { Form2->EditCommentClick(); }

void TForm1::KVKClick() { Form6()->CountTerritory(board()); }

void TForm1::KVEClick() {
    // A diagram needs room: the smallest boards take no board comment.
    if (board().boardSize >= 9) Form6()->CreateBoardComment(board());
}

void TForm1::ZarnItemClick(int k) {
    if (!board().replayMode) {
        dialogs_->ShowMessage("Showモードにしてからファイルを読み込めます");
        return;
    }
    // Reopening a file replaces the record like opening one, so unsaved changes are asked about first.
    if (!files_->AskToSave()) return;
    const std::string path = files_->recentFiles.Choose(k);
    if (net::IsWebAddress(path)) {
        RenewRecentItems();
        StartWebLoad(path);
        return;
    }
    files_->OpenPath(path);
    RenewRecentItems();
    Redraw();
}

}  // namespace quorvel
