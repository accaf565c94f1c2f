#pragma once

namespace zelvana::platform {

// What sends an action: a menu item, a control, or an object that asks on its
// own behalf (an application delegate quitting). Receivers that need the
// concrete sender ask with dynamic_cast rather than trusting the action's name.
class ActionSender {
public:
    virtual ~ActionSender() = default;
};

}  // namespace zelvana::platform
