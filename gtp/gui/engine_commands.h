// The engine's commands for the main window: one engine on its worker for the whole program, the
// analysis toggle (F8) on the board window, the review window, the game against the engine and the
// engine's settings (Engine.dat beside Zarn.dat). The main window puts the actions in its menu and starts
// the new record of a game itself, since records are its file commands' business.
#pragma once

#include <QAction>
#include <QDialog>
#include <QObject>
#include <memory>
#include <string>

#include "gtp/engine_settings.h"
#include "gtp/engine_worker.h"
#include "gtp/gui/board_analysis.h"
#include "gtp/gui/engine_game.h"
#include "gtp/gui/review_dialog.h"

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QSpinBox;

namespace quorvel {

class TForm2;

namespace gtp {

// The choices of a game against the engine.
struct GameChoices {
    int playerColour = kBlack;
    int boardSize = 19;
    int handicap = 0;  // 0 or 2..9 black stones
    double komi = 6.5;
};

class GameDialog : public QDialog {
    Q_OBJECT

  public:
    explicit GameDialog(QWidget* parent = nullptr);
    GameChoices Choices() const;
    QComboBox* colour;
    QComboBox* size;
    QSpinBox* handicap;
    QDoubleSpinBox* komi;
};

class EngineSettingsDialog : public QDialog {
    Q_OBJECT

  public:
    explicit EngineSettingsDialog(QWidget* parent = nullptr);
    void Fill(const EngineSettings& settings);
    EngineSettings Settings() const;
    QLineEdit* command;
    QSpinBox* level;
};

class EngineCommands : public QObject {
    Q_OBJECT

  public:
    // `settingsFolder` holds Engine.dat (the folder of Zarn.dat); `events` must outlive this object.
    EngineCommands(TForm2& board, EventPort& events, const std::string& settingsFolder, QWidget* parent);
    ~EngineCommands() override;

    QAction* analysisAction() const { return analysisAction_; }
    QAction* reviewAction() const { return reviewAction_; }
    QAction* gameAction() const { return gameAction_; }
    QAction* settingsAction() const { return settingsAction_; }

    BoardAnalysis& analysis() { return *analysis_; }
    EngineGame& game() { return *game_; }
    ReviewDialog* review();
    const EngineSettings& settings() const { return settings_; }
    // New settings: kept in Engine.dat and used from the engine's next start. False with the reason when
    // the file could not be written (the settings still hold for this run).
    bool ApplySettings(const EngineSettings& settings, std::string& error);

    // Asked by gameAction: the choices, or nothing when the player cancelled. The main window then makes
    // the record and calls StartGame.
    std::function<std::optional<GameChoices>()> askGame;
    std::function<bool(const GameChoices&)> prepareGameRecord;
    void StartGame(const GameChoices& choices);

  private:
    void OpenReview();
    void OpenSettings();

    TForm2& board_;
    QWidget* parent_;
    std::string settingsFolder_;
    EngineSettings settings_;
    // Declared before the worker, so that the worker (and with it every event of its jobs) is gone first.
    std::unique_ptr<ReviewDialog> review_;
    std::unique_ptr<BoardAnalysis> analysis_;
    std::unique_ptr<EngineGame> game_;
    std::unique_ptr<EngineWorker> worker_;
    QAction* analysisAction_;
    QAction* reviewAction_;
    QAction* gameAction_;
    QAction* settingsAction_;
};

}  // namespace gtp
}  // namespace quorvel
