#pragma once

#include <string>

#include "platform/core/ActionSender.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::platform {

// Receives the actions of menu items and controls that name it as their
// target. Held by them as a WeakRef, so a target that is gone is noticed
// rather than called. Main thread only.
class ActionTarget {
public:
    virtual ~ActionTarget() = default;
    // Runs the action called `action` (such as "setAnchorVisibility:") sent
    // by `sender` (the menu item or control); false when it is not handled.
    virtual bool performAction(const std::string& action, const ActionSender* sender) = 0;
};

// Sends the action to the target; one that is gone is written to the system
// log, naming `senderName` (such as `the menu item "Quit"`), and nothing
// happens. Returns whether the target handled it.
bool sendActionToTarget(const WeakRef<ActionTarget>& target, const std::string& action,
                        const ActionSender* sender, const std::string& senderName);

}  // namespace zelvana::platform
