#pragma once

#include "platform/appkit/Rect.hpp"

namespace zelvana::platform {
class View;
}

namespace zelvana::platform::testing {

// Puts every simulated input service back as a fresh process finds it: no hot
// keys, handlers, monitors or taps; the U.S. layout; system 14; permissions
// granted; our application inactive; the main run loop in its default mode;
// the pointer at the origin and no menu open.
void resetSimulatedInput();

// The simulated mouse moves to a point of the screen (y up) and clicks there.
void clickOnScreen(Point point);
// ... in the middle of a view of a window on screen.
void clickMiddleOf(const View& view);
// Where that middle lies on the screen.
Point middleOnScreen(const View& view);

}  // namespace zelvana::platform::testing
