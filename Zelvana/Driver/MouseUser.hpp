#pragma once

#include "Zelvana/Driver/Command.hpp"

namespace zelvana::driver {

// The person's hand on the simulated mouse, in the window server's global
// coordinates (those of the desktop file's windows). A point off every
// display is refused before anything moves. Main thread.
class MouseUser {
public:
    Refusal move(platform::Point to);
    // Moves there, then presses and releases the left button; refused where
    // it would reach nothing: no window, menu bar, open menu, nor a panel or
    // popover of ours that a click elsewhere closes.
    Refusal click(platform::Point at);
    // Moves to `from`, holds the left button, drags to `to` in a few steps
    // and releases it there.
    Refusal drag(platform::Point from, platform::Point to);

    static bool isOnSomeDisplay(platform::Point point);
};

}  // namespace zelvana::driver
