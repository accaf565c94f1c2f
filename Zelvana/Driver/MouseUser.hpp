#pragma once

#include "Zelvana/Driver/Command.hpp"

namespace zelvana::driver {

// The person's hand on the simulated mouse, in the window server's global
// coordinates (those of the desktop file's windows). A point off every
// display is refused before anything moves. Main thread.
class MouseUser {
public:
    // A drag while the left button is held down.
    Refusal move(platform::Point to);
    // Moves there, then presses and releases the left button; refused where
    // it would reach nothing: no window, menu bar, open menu, nor a panel or
    // popover of ours that a click elsewhere closes.
    Refusal click(platform::Point at);
    // Clicks the middle of a frame in screen coordinates (y up).
    Refusal clickMiddleOf(platform::Rect screenFrame);
    // Moves to `from`, holds the left button, drags to `to` in a few steps
    // and releases it there.
    Refusal drag(platform::Point from, platform::Point to);
    // Moves there and holds the left button down until buttonUp.
    Refusal buttonDown(platform::Point at);
    // Lets the held button go where the pointer is.
    Refusal buttonUp();

    static bool isOnSomeDisplay(platform::Point point);

private:
    Refusal refuseWhileHeld() const;

    bool held_ = false;
};

}  // namespace zelvana::driver
