// A menu of command actions. Each command's one action carries its shortcuts, so that the keys
// work with any menu bar or none; a menu shows a shortcut only where the command's entry says
// so, and this menu leaves out the ones it must not show.
#pragma once

#include <QMenu>

class QAction;

namespace yomi6 {

class CommandMenu : public QMenu {
public:
    CommandMenu(const QString& title, QWidget* parent);

    // Marks action as one whose shortcuts no menu shows after its text.
    static void HideShortcutInMenus(QAction* action);

protected:
    void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override;
};

} // namespace yomi6
