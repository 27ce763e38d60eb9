// The command table: every command's menu, text, status-bar prompt, tool-bar
// place and its enable and check rules, in one place. The shell builds its
// menus, tool bar and update handlers from it; tests check the rules on it.
#pragma once

#include "core/view_state.h"

#include <span>

namespace vornscope {

enum class Menu { File, SetUp, TakeData, Options, View, Help, ToolBarOnly };

using StateRule = bool (*)(const ViewState&);

struct CommandEntry {
    int id;
    Menu menu;
    const char* text;   // menu text; for tool-bar-only commands the button's name
    const char* prompt; // status-bar prompt and tool tip
    bool toolBar;       // a tool-bar button (the second command of a pair)
    bool separatorBefore;
    StateRule enabled; // nullptr: always enabled
    StateRule checked; // nullptr: never checked (not checkable)
};

std::span<const CommandEntry> commandTable();
const CommandEntry* findCommand(int id);

// The update rule of one command for a state (always-enabled when it has none).
bool commandEnabled(const CommandEntry& entry, const ViewState& state);
bool commandChecked(const CommandEntry& entry, const ViewState& state);

} // namespace vornscope
