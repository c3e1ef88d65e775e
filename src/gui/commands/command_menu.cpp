#include "commands/command_menu.h"

#include <QAction>
#include <QStyleOptionMenuItem>

namespace yomi6 {

namespace {

constexpr const char* kShortcutHidden = "yomi6ShortcutHidden";

} // namespace

CommandMenu::CommandMenu(const QString& title, QWidget* parent) : QMenu(title, parent) {}

void CommandMenu::HideShortcutInMenus(QAction* action) {
    action->setProperty(kShortcutHidden, true);
}

void CommandMenu::initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const {
    QMenu::initStyleOption(option, action);
    // QMenu appends the action's shortcut after a tab when the text has none of its own.
    if (action != nullptr && action->property(kShortcutHidden).toBool()) {
        option->text = action->text();
    }
}

} // namespace yomi6
