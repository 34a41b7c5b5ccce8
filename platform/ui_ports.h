// The small interfaces through which the engine speaks to the user. The windows implement them
// (platform/gui/qt_ports.h); the in-memory versions below are complete implementations of the same contracts,
// used by tests and by the command-line tool.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/text_codec.h"

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
    // A Yes/No question; where no such box exists, the Yes/No/Cancel one stands in (Cancel counts as No).
    virtual Answer AskYesNo(const std::string& text, const std::string& caption) {
        const Answer a = AskYesNoCancel(text, caption);
        return a == Answer::Yes ? Answer::Yes : Answer::No;
    }
};

// The clipboard's text.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void SetText(const std::string& text) = 0;
    // As the program's text: characters Shift-JIS lacks get codes of the shown record's table.
    virtual std::string Text() const = 0;
    // The characters as they are, for a text that becomes a record of its own (with its own table).
    virtual std::u32string UnicodeText() const { return Cp932ToUnicode(Text(), ShownForeignCharacters()); }
};

// The open and save dialogs. Each returns the chosen path, or nothing when cancelled.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual std::optional<std::string> RunOpenDialog(const std::string& startFolder) = 0;
    virtual std::optional<std::string> RunSaveDialog(const std::string& startFolder) = 0;
};

// Answers the dialogs from `answers` in order, nothing once they are used up; `asked` counts the runs.
class AnsweredFileDialogs : public FileDialogs {
public:
    std::optional<std::string> RunOpenDialog(const std::string&) override { return Next(); }
    std::optional<std::string> RunSaveDialog(const std::string&) override { return Next(); }

    std::deque<std::optional<std::string>> answers;
    int asked = 0;

private:
    std::optional<std::string> Next() {
        ++asked;
        if (answers.empty()) return std::nullopt;
        std::optional<std::string> a = answers.front();
        answers.pop_front();
        return a;
    }
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
