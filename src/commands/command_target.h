// Commands are carried out by targets: the active document view first, then the main window.
// Each target lists what it carries out in one table of bindings, one row per command: what the
// command does and when it is enabled or checked.
#pragma once

#include "commands/command_ids.h"

#include <optional>
#include <span>

namespace yomi6 {

// What a menu item or tool bar button of a command shows right now.
struct CommandState {
    bool enabled = true;
    bool checked = false;
};

inline CommandState EnabledIf(bool enabled) {
    return {enabled, false};
}
inline CommandState CheckedIf(bool checked) {
    return {true, checked};
}

// One row of a target's table: run carries the command out; state says whether it is enabled
// and checked now (nullptr: always enabled, never checked).
template <class Target> struct CommandBinding {
    CommandId id;
    void (*run)(Target&);
    CommandState (*state)(const Target&) = nullptr;
};

class ICommandTarget {
public:
    virtual ~ICommandTarget() = default;
    // The command's state when this target carries out id, nullopt when it does not.
    virtual std::optional<CommandState> QueryCommand(CommandId id) const = 0;
    // Carries out id; false when this target does not carry it out.
    virtual bool RunCommand(CommandId id) = 0;
};

// A target whose commands are the table Target::Bindings() returns.
template <class Target> class CommandTarget : public ICommandTarget {
public:
    std::optional<CommandState> QueryCommand(CommandId id) const override {
        const CommandBinding<Target>* binding = Find(id);
        if (binding == nullptr) {
            return std::nullopt;
        }
        return binding->state != nullptr ? binding->state(static_cast<const Target&>(*this))
                                         : CommandState{};
    }

    bool RunCommand(CommandId id) override {
        const CommandBinding<Target>* binding = Find(id);
        if (binding == nullptr) {
            return false;
        }
        binding->run(static_cast<Target&>(*this));
        return true;
    }

    // True when the table has a row for id.
    static bool Carries(CommandId id) { return Find(id) != nullptr; }

private:
    static const CommandBinding<Target>* Find(CommandId id) {
        for (const CommandBinding<Target>& binding : Target::Bindings()) {
            if (binding.id == id) {
                return &binding;
            }
        }
        return nullptr;
    }
};

} // namespace yomi6
