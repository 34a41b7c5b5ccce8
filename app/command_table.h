// The main window's command table: every menu and item with its code name, caption, toolbar hint and
// check state. The window builds its menus and toolbars from it; which commands run is the window's
// business (a command whose operation is not built yet stays visibly disabled).
#pragma once

#include <vector>

namespace quorvel {

enum class CheckKind { None, Check, Radio };

struct MenuEntry {
    const char* code;     // "KF0"
    const char* caption;  // "ファイル(&F)"
};

struct CommandEntry {
    const char* menu;     // code of the menu it belongs to
    const char* code;     // "KFO"
    const char* caption;  // " 開く(&O)"
    const char* hint;     // toolbar hint; nullptr when the command has no toolbar button
    CheckKind check;
    bool checkedAtStart;
    bool guarded;         // does nothing while the board window is busy
    int toolbarRow;       // 1 or 2: which toolbar carries the button (0: none)
};

const std::vector<MenuEntry>& Menus();
const std::vector<CommandEntry>& Commands();
const CommandEntry* FindCommand(const char* code);

}  // namespace quorvel
