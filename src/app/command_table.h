// The command table: for every command its status-bar prompt, tool tip and icon; the two menus,
// the accelerators and the tool bar as data. Actions, menus and shortcuts are built from here.
#pragma once

#include "view/command_ids.h"

#include <span>

namespace yomi6 {

struct CommandInfo {
    cmd::Id id;
    const char* prompt;  // status-bar prompt (UTF-8)
    const char* toolTip; // tool tip, or nullptr when the string has none
    const char* icon;    // resource path of the tool bar icon, or nullptr
};

// One menu entry: a command with its text, a separator (id None, text nullptr), or the start of
// a top-level menu (id None, text set).
struct MenuEntry {
    cmd::Id id;
    const char* text; // with "&" mnemonics and an optional "\t" + shortcut text
    bool grayed = false;
};

struct Accelerator {
    const char* keys; // in QKeySequence's portable text form, e.g. "Ctrl+N"
    cmd::Id id;
};

// The command's info, or nullptr for an id the table does not hold.
const CommandInfo* FindCommand(cmd::Id id);

std::span<const MenuEntry> MainFrameMenu(); // menu 128: no document open
std::span<const MenuEntry> DocumentMenu();  // menu 129: a document window active
std::span<const Accelerator> Accelerators();
std::span<const cmd::Id> ToolBarLayout(); // buttons in order, None for a separator

} // namespace yomi6
