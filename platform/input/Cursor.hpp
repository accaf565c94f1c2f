#pragma once

#include "platform/appkit/Rect.hpp"

namespace zelvana::platform {

// The pointer as applications see it: where it is and moving it without an
// event. Main thread only.

// NSEvent.mouseLocation: AppKit's coordinates (origin at the bottom-left of
// the first display, y up).
Point mouseLocation();
// The location of a new empty Quartz event: the window server's global
// coordinates (origin at the top-left of the first display, y down).
Point pointerLocation();
// CGWarpMouseCursorPosition, in the window server's global coordinates.
void warpMouseCursorPosition(Point location);

}  // namespace zelvana::platform
