// The commands of the program, one entry each: the menu text, the shortcuts, the tool bar icon
// and tip, the status-bar prompt, whether it is checkable and who carries it out. The menus, the
// accelerators, the tool bar and the status prompts are all built from here; the two menu
// layouts and the tool bar only list commands.
#pragma once

#include "commands/command_ids.h"

#include <span>

namespace yomi6 {

// Who carries out a command and keeps its action's state: the active document window's view
// (without one the command is disabled) or the main window.
enum class CommandOwner { View, MainWindow };

struct Command {
    CommandId id;
    const char* text = nullptr; // menu text with its "&" mnemonic, without the shortcut
    // Shortcuts in QKeySequence's portable text form, "; " between them; the menu shows the
    // first one after its text when keyInMenu is set.
    const char* keys = nullptr;
    bool keyInMenu = false;
    const char* icon = nullptr;    // resource path of the tool bar icon
    const char* toolTip = nullptr; // the tool bar button's tip
    const char* prompt = nullptr;  // status-bar prompt (UTF-8)
    bool checkable = false;
    CommandOwner owner = CommandOwner::View;
};

// One line of a menu layout: a command (with this menu's own text for it when text is set), a
// separator (id None, no text), or the start of a top-level menu (id None, its title).
struct MenuItem {
    CommandId id;
    const char* text = nullptr;
    bool grayed = false; // built disabled, whatever the command's state
};

// The command's entry, or nullptr for an id the table does not hold.
const Command* FindCommand(CommandId id);
std::span<const Command> Commands();

std::span<const MenuItem> MainWindowMenu(); // no document open
std::span<const MenuItem> DocumentMenu();   // a document window active
std::span<const CommandId> ToolBarLayout(); // buttons in order, None for a separator

} // namespace yomi6
