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
    virtual Answer AskYesNoCancel(const std::string& text) = 0;
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
    Answer AskYesNoCancel(const std::string& text) override {
        asked.push_back(text);
        return nextAnswer;
    }

    std::vector<std::string> shown;
    std::vector<std::string> asked;
    Answer nextAnswer = Answer::Cancel;
};

}  // namespace quorvel
