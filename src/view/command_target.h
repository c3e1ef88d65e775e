// Commands are routed like this: the active document view first, then the main frame.
#pragma once

#include "view/command_ids.h"

namespace yomi6 {

// What a menu item or tool bar button of a command shows right now.
struct CommandState {
    bool enabled = true;
    bool checked = false;
};

class ICommandTarget {
public:
    virtual ~ICommandTarget() = default;
    // True when this target carries out id; then UpdateCommand and OnCommand apply to it.
    virtual bool HandlesCommand(cmd::Id id) const = 0;
    virtual void UpdateCommand(cmd::Id id, CommandState& state) const = 0;
    virtual void OnCommand(cmd::Id id) = 0;
};

} // namespace yomi6
