// The small interfaces through which the engine speaks to the user. The windows implement them; the
// in-memory versions below are complete implementations of the same contracts, used by tests and by the
// command-line tool.
#pragma once

#include <string>
#include <vector>

namespace quorvel {

// The message area: the text window's memo. A message replaces its whole text.
class MessageArea {
public:
    virtual ~MessageArea() = default;
    virtual void SetText(const std::string& text) = 0;
    virtual std::string Text() const = 0;
    void Clear() { SetText(std::string()); }
};

enum class Answer { Yes, No, Cancel };

// Message boxes.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    virtual void ShowMessage(const std::string& text) = 0;
    virtual Answer AskYesNoCancel(const std::string& text, const std::string& caption) = 0;
};

// The clipboard's text.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void SetText(const std::string& text) = 0;
    virtual std::string Text() const = 0;
};

class MemoryClipboard : public Clipboard {
public:
    void SetText(const std::string& text) override { text_ = text; }
    std::string Text() const override { return text_; }

private:
    std::string text_;
};

class MemoryMessageArea : public MessageArea {
public:
    void SetText(const std::string& text) override { text_ = text; }
    std::string Text() const override { return text_; }

private:
    std::string text_;
};

// Records every message box and answers each question with `nextAnswer`.
class MemoryDialogs : public UserDialogs {
public:
    void ShowMessage(const std::string& text) override { shown.push_back(text); }
    Answer AskYesNoCancel(const std::string& text, const std::string& caption) override {
        asked.push_back(text);
        askedCaptions.push_back(caption);
        return nextAnswer;
    }

    std::vector<std::string> shown;
    std::vector<std::string> asked;
    std::vector<std::string> askedCaptions;
    Answer nextAnswer = Answer::Cancel;
};

}  // namespace quorvel

namespace quorvel {

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
    // Shows the variation chooser modally; returns the picked point, 555 for the next move of the line, or
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

}  // namespace quorvel
