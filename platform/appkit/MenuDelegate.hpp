#pragma once

namespace zelvana::platform {

class Menu;

// Hears a menu open and close. A menu holds its delegate without owning it;
// the owner keeps the delegate alive while the menu can open. Main thread.
class MenuDelegate {
public:
    virtual ~MenuDelegate() = default;
    // Before the menu shows, so its items can still be changed.
    virtual void menuWillOpen(Menu& /*menu*/) {}
    virtual void menuDidClose(Menu& /*menu*/) {}
};

}  // namespace zelvana::platform
