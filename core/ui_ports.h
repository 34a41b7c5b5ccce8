// What the board engine asks of the windows around it. The ports every window shares (message area,
// message boxes, clipboard, file dialogs) are in platform/ui_ports.h.
#pragma once

#include <functional>

#include "core/point.h"
#include "platform/ui_ports.h"

namespace quorvel {

class Engine;

// The record formats come after the board engine, so the two board commands that need them reach them
// through this port: "ADD" (the trial moves become a variation, then the whole record is written) and
// "ReSet" (the loaded text is read again). formats/sgf_port.h has the SGF implementation.
class RecordFormats {
public:
    virtual ~RecordFormats() = default;
    virtual void AddVariation(Engine& e) = 0;
    virtual void ResetRecord(Engine& e) = 0;
};

// The variation chooser's answer for the next move of the line (also when that move is a pass), as opposed
// to a point of the board or 0 for nothing picked.
constexpr int kChosenNextMove = 555;

// What the engine asks of the windows around the board: the main window's command state and interval box,
// the stone sound, the hint switches, the variation chooser and the net game log window.
class BoardRequests {
public:
    virtual ~BoardRequests() = default;
    // Autoplay disables the main window's navigation menus and both toolbars while it runs.
    virtual void SetNavigationEnabled(bool enabled) = 0;
    // The main window's interval box shows the autoplay interval in whole seconds.
    virtual void ShowAutoplayInterval(int seconds) = 0;
    virtual void PlayStoneSound() = 0;
    // The menu checks and toolbar buttons of the hint and coordinate switches follow the engine.
    virtual void ShowSwitches(bool hintsShown, bool showXY) = 0;
    // Shows the variation chooser modally; returns the picked point, kChosenNextMove for the next move of the
    // line, or
    // 0 when nothing was picked.
    virtual int ChooseVariation() = 0;
    // Activates the net game log window when it is visible (Ctrl+Tab).
    virtual void ActivateNetGameLog() = 0;
};

// For an engine without windows around it (the command-line tool): nothing to enable, show or play.
class NoWindowRequests : public BoardRequests {
public:
    void SetNavigationEnabled(bool) override {}
    void ShowAutoplayInterval(int) override {}
    void PlayStoneSound() override {}
    void ShowSwitches(bool, bool) override {}
    int ChooseVariation() override { return 0; }
    void ActivateNetGameLog() override {}
};

// Records every request, for tests; the variation chooser answers `chosenVariation`.
class MemoryBoardRequests : public BoardRequests {
public:
    void SetNavigationEnabled(bool enabled) override { navigationEnabled = enabled; ++enableChanges; }
    void ShowAutoplayInterval(int seconds) override { intervalShown = seconds; }
    void PlayStoneSound() override { ++stoneSounds; }
    void ShowSwitches(bool hints, bool xy) override {
        hintsChecked = hints;
        showXYChecked = xy;
    }
    int ChooseVariation() override {
        ++chooserShown;
        return chosenVariation;
    }
    void ActivateNetGameLog() override { ++netLogActivations; }

    bool navigationEnabled = true;
    int enableChanges = 0;
    int intervalShown = 0;
    int stoneSounds = 0;
    bool hintsChecked = true;
    bool showXYChecked = false;
    int chooserShown = 0;
    int chosenVariation = 0;
    int netLogActivations = 0;
};

// The secondary board window as the board window's point picker. It comes after the board window, so the
// window that builds both hands it to the board window.
class PointPicker {
public:
    virtual ~PointPicker() = default;
    // The variation chooser on the board's shown position, shown modally: the picked point, kChosenNextMove
    // for the next move of the line when that is a pass, or 0 when nothing was picked.
    virtual int ChooseVariation(const Engine& board) = 0;
    // "DEL": the board's position (the line played to its end) shown modally; every click on a point goes
    // to `click`, which deletes what it may and answers true when the deletion is over, and the window then
    // shows the board's new position. True when `click` ended the run, false when the user closed it.
    virtual bool RunDeletion(const Engine& board, const std::function<bool(PointCode)>& click) = 0;
    // The new point of the stone on `from`: an empty point where it captures nothing; 0 when called off.
    virtual PointCode PickRelocationTarget(const Engine& board, PointCode from) = 0;
    // An empty point for the pass the board shows last; 0 when called off.
    virtual PointCode PickPassReplacement(const Engine& board) = 0;
};

}  // namespace quorvel
