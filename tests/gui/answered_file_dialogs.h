// The open and save dialogs of the window tests: each run takes the next queued answer (nothing:
// cancelled, also when the queue is empty).
#pragma once

#include <deque>
#include <optional>
#include <string>

#include "platform/ui_ports.h"

namespace quorvel {

class AnsweredFileDialogs : public FileDialogs {
public:
    std::optional<std::string> RunOpenDialog(const std::string&) override { return Next(); }
    std::optional<std::string> RunSaveDialog(const std::string&) override { return Next(); }
    std::optional<std::string> Next() {
        if (answers.empty()) return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
    std::deque<std::optional<std::string>> answers;
};

}  // namespace quorvel
