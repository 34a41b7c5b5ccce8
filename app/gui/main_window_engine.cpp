// The main window's engine menu: the analysis of the shown position (F8), the review of the record, a game
// against the engine and the engine's settings. The engine's own windows are in gtp/gui/; a game's new
// record is made here, by the file commands, like any new record.
#include <QMenu>
#include <QMenuBar>

#include "app/dialog_panels.h"
#include "app/gui/main_window.h"
#include "gtp/engine_process.h"
#include "gtp/gui/engine_commands.h"
#include "platform/gui/qt_ports.h"
#include "platform/gui/qt_text.h"

namespace quorvel {

void TForm1::SetUpEngineCommands() {
    const std::string folder = settingsFolder_.empty() ? PathFromQString(programDir_) + "/" : settingsFolder_;
    engine_ = std::make_unique<gtp::EngineCommands>(*Form2, *events_, folder, this);
    engine_->prepareGameRecord = [this](const gtp::GameChoices& c) { return PrepareGameRecord(c); };
    QMenu* menu = MainMenu1->addMenu(ToQString("エンジン(&E)"));
    menu->setObjectName(QStringLiteral("EngineMenu"));
    menu->addAction(engine_->analysisAction());
    menu->addAction(engine_->reviewAction());
    menu->addAction(engine_->gameAction());
    menu->addSeparator();
    menu->addAction(engine_->settingsAction());
    // F8 works wherever the program has the focus, the board window included.
    Form2->addAction(engine_->analysisAction());
}

bool TForm1::PrepareGameRecord(const gtp::GameChoices& c) {
    if (!files_->KFNClick()) return false;
    Engine& e = board();
    if (e.boardSize != c.boardSize) e.ChangeBoardSize(c.boardSize);
    GameInfoFields fields = FillGameInfo(e);
    // The engine's player name: GNU Go, or the program its command line starts, without its folder.
    std::vector<std::string> words;
    const bool own = gtp::SplitCommandLine(engine_->settings().command, words) && !words.empty();
    const std::string name = own ? words[0].substr(words[0].rfind('/') + 1) : std::string("GNU Go");
    (c.playerColour == kBlack ? fields.white : fields.black) = name;
    char komi[16];
    std::snprintf(komi, sizeof komi, "%.1f", c.komi);
    fields.komi = komi;
    fields.handicap = c.handicap >= 2 ? std::to_string(c.handicap) : std::string();
    fields.boardSize = c.boardSize;
    ApplyGameInfo(e, fields);
    StartWithHandicap(e, fields.handicap);
    e.recordModified = false;
    FollowMode();
    Redraw();
    return true;
}

}  // namespace quorvel
