#include "gtp/gui/engine_commands.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>

#include "core/gui/board_window.h"
#include "platform/gui/qt_ports.h"
#include "platform/gui/qt_text.h"

namespace quorvel::gtp {

GameDialog::GameDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(ToQString("エンジンと対局"));
    colour = new QComboBox(this);
    colour->addItem(ToQString("黒 (先番)"));
    colour->addItem(ToQString("白"));
    size = new QComboBox(this);
    for (const char* s : {"19", "13", "9"}) size->addItem(QString::fromLatin1(s));
    handicap = new QSpinBox(this);
    // One stone is no handicap: the player simply takes Black.
    handicap->setRange(0, 9);
    handicap->setSpecialValueText(ToQString("なし"));
    komi = new QDoubleSpinBox(this);
    komi->setRange(-50, 50);
    komi->setDecimals(1);
    komi->setSingleStep(0.5);
    komi->setValue(6.5);
    // A handicap game is played without komi but the half point that settles a tie.
    connect(handicap, qOverload<int>(&QSpinBox::valueChanged), this,
            [this](int n) { komi->setValue(n >= 2 ? 0.5 : 6.5); });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout(this);
    form->addRow(ToQString("あなたの石"), colour);
    form->addRow(ToQString("碁盤"), size);
    form->addRow(ToQString("置石"), handicap);
    form->addRow(ToQString("コミ"), komi);
    form->addRow(buttons);
}

GameChoices GameDialog::Choices() const {
    GameChoices c;
    c.playerColour = colour->currentIndex() == 0 ? kBlack : kWhite;
    c.boardSize = size->currentText().toInt();
    c.handicap = handicap->value() >= 2 ? handicap->value() : 0;
    c.komi = komi->value();
    return c;
}

EngineSettingsDialog::EngineSettingsDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(ToQString("エンジンの設定"));
    command = new QLineEdit(this);
    command->setPlaceholderText(ToQString("空欄: GNU Go (gnugo --mode gtp)"));
    command->setMinimumWidth(360);
    level = new QSpinBox(this);
    level->setRange(0, 10);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout(this);
    form->addRow(ToQString("コマンドライン"), command);
    form->addRow(ToQString("GNU Go のレベル"), level);
    form->addRow(
        new QLabel(ToQString("GTP を話すエンジンなら何でも使えます (例: katago gtp -config gtp.cfg)"), this));
    form->addRow(buttons);
}

void EngineSettingsDialog::Fill(const EngineSettings& settings) {
    command->setText(PathToQString(settings.command));
    level->setValue(settings.level);
}

EngineSettings EngineSettingsDialog::Settings() const {
    EngineSettings s;
    s.command = PathFromQString(command->text());
    s.level = level->value();
    return s;
}

EngineCommands::EngineCommands(TForm2& board, EventPort& events, const std::string& settingsFolder,
                               QWidget* parent)
    : QObject(parent), board_(board), parent_(parent), settingsFolder_(settingsFolder) {
    settings_ = LoadEngineSettings(settingsFolder_);
    worker_ = std::make_unique<EngineWorker>(events, EngineCommandLine(settings_));
    analysis_ = std::make_unique<BoardAnalysis>(board_, *worker_);
    game_ = std::make_unique<EngineGame>(board_, *worker_);
    // The game speaks where the board says " 黒 が パ ス !": in the message area, the text window.
    connect(game_.get(), &EngineGame::statusChanged, this, [this](const QString& text) {
        board_.engine().messages().SetText(FromQString(text));
        analysis_->SetIdleLine(text);
    });

    analysisAction_ = new QAction(ToQString("検討 (&A)"), this);
    analysisAction_->setObjectName(QStringLiteral("EngineAnalysis"));
    analysisAction_->setCheckable(true);
    analysisAction_->setShortcut(QKeySequence(Qt::Key_F8));
    analysisAction_->setShortcutContext(Qt::ApplicationShortcut);
    connect(analysisAction_, &QAction::triggered, this, [this](bool on) { analysis_->SetActive(on); });
    connect(analysis_.get(), &BoardAnalysis::activeChanged, analysisAction_, &QAction::setChecked);

    reviewAction_ = new QAction(ToQString("棋譜の評価 (&R)..."), this);
    reviewAction_->setObjectName(QStringLiteral("EngineReview"));
    connect(reviewAction_, &QAction::triggered, this, &EngineCommands::OpenReview);

    gameAction_ = new QAction(ToQString("エンジンと対局 (&G)..."), this);
    gameAction_->setObjectName(QStringLiteral("EngineGame"));
    connect(gameAction_, &QAction::triggered, this, [this] {
        std::optional<GameChoices> choices;
        if (askGame) {
            choices = askGame();
        } else {
            GameDialog dialog(parent_);
            if (dialog.exec() == QDialog::Accepted) choices = dialog.Choices();
        }
        if (!choices || (prepareGameRecord && !prepareGameRecord(*choices))) return;
        StartGame(*choices);
    });

    settingsAction_ = new QAction(ToQString("エンジンの設定 (&S)..."), this);
    settingsAction_->setObjectName(QStringLiteral("EngineSettings"));
    connect(settingsAction_, &QAction::triggered, this, &EngineCommands::OpenSettings);
}

EngineCommands::~EngineCommands() {
    // The worker's thread ends (and the engine with it) before the windows its events would reach.
    worker_.reset();
}

ReviewDialog* EngineCommands::review() {
    if (!review_) review_ = std::make_unique<ReviewDialog>(board_, *worker_, parent_);
    return review_.get();
}

void EngineCommands::OpenReview() {
    ReviewDialog* dialog = review();
    dialog->show();
    dialog->raise();
    if (!dialog->Running()) dialog->Start();
}

void EngineCommands::StartGame(const GameChoices& choices) {
    analysis_->SetActive(false);
    game_->Start(Opponent(choices.playerColour));
}

bool EngineCommands::ApplySettings(const EngineSettings& settings, std::string& error) {
    settings_ = settings;
    worker_->SetCommandLine(EngineCommandLine(settings_));
    return SaveEngineSettings(settingsFolder_, settings_, error);
}

void EngineCommands::OpenSettings() {
    EngineSettingsDialog dialog(parent_);
    dialog.Fill(settings_);
    if (dialog.exec() != QDialog::Accepted) return;
    std::string error;
    if (!ApplySettings(dialog.Settings(), error)) {
        QMessageBox::warning(parent_, ToQString("エンジンの設定"), ToQString(error));
    }
}

}  // namespace quorvel::gtp
