#pragma once

#include "platform/appkit/Rect.hpp"

namespace zelvana::platform {
class Window;
}

namespace zelvana::platform::testing {

// Whether the window's picture shows the focus ring's colour at a point of
// the window (its content's coordinates): clearly bluer than it is red.
bool showsFocusRingAt(const Window& window, Point inWindow);

}  // namespace zelvana::platform::testing
