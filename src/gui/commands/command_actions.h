// The commands' actions: one QAction for each command of the table, which both menu bars, the
// tool bar and the keys share. Whoever carries a command out connects its action to the handler
// and keeps its enabled state and check mark up to date from the signals of what they show: the
// main window its own commands, the active document window's view the document's.
#pragma once

#include "commands/command_ids.h"

#include <QAction>
#include <QMetaObject>
#include <QObject>

#include <map>
#include <span>
#include <vector>

namespace yomi6 {

class CommandActions {
public:
    // Takes action as the one action of id.
    void Add(CommandId id, QAction* action) { m_actions[id] = action; }
    // The one action of id; nullptr for an id that has none.
    QAction* Action(CommandId id) const {
        const auto it = m_actions.find(id);
        return it != m_actions.end() ? it->second : nullptr;
    }
    const std::map<CommandId, QAction*>& All() const { return m_actions; }

    void SetEnabled(CommandId id, bool enabled) const {
        if (QAction* action = Action(id)) {
            action->setEnabled(enabled);
        }
    }
    // Sets the check mark of a checkable command.
    void SetChecked(CommandId id, bool checked) const {
        if (QAction* action = Action(id); action != nullptr && action->isCheckable()) {
            action->setChecked(checked);
        }
    }

private:
    std::map<CommandId, QAction*> m_actions;
};

// What a command does in the object that carries it out: one row of that object's table.
template <class Owner> struct CommandBinding {
    CommandId id;
    void (*run)(Owner&);
};

// Whether rows hold one for id.
template <class Owner> bool Carries(std::span<const CommandBinding<Owner>> rows, CommandId id) {
    for (const CommandBinding<Owner>& row : rows) {
        if (row.id == id) {
            return true;
        }
    }
    return false;
}

// Connects the action of each row to its handler in owner, which must be a QObject: a
// triggered action runs the row. The connections last until they are disconnected or owner is
// destroyed.
template <class Owner>
std::vector<QMetaObject::Connection> ConnectCommands(const CommandActions& actions, Owner& owner,
                                                     std::span<const CommandBinding<Owner>> rows) {
    std::vector<QMetaObject::Connection> connections;
    for (const CommandBinding<Owner>& row : rows) {
        if (QAction* action = actions.Action(row.id)) {
            connections.push_back(QObject::connect(action, &QAction::triggered, &owner,
                                                   [&owner, run = row.run] { run(owner); }));
        }
    }
    return connections;
}

} // namespace yomi6
