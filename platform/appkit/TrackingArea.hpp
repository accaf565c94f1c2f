#pragma once

#include "platform/appkit/Rect.hpp"
#include "platform/core/Flags.hpp"

namespace zelvana::platform {

// What a tracking area reports and when, with the system's bit values.
enum class TrackingOption : unsigned {
    mouseEnteredAndExited = 0x01,
    mouseMoved = 0x02,
    cursorUpdate = 0x04,
    activeWhenFirstResponder = 0x10,
    activeInKeyWindow = 0x20,
    activeInActiveApp = 0x40,
    activeAlways = 0x80,
    assumeInside = 0x100,
    inVisibleRect = 0x200,
    enabledDuringMouseDrag = 0x400,
};
ZELVANA_FLAGS(TrackingOption)
using TrackingOptions = Flags<TrackingOption>;

// A rectangle of a view (its own coordinates) whose pointer crossings the
// window reports to the view: mouseEntered, mouseExited and mouseMoved.
// Main thread, like its view.
struct TrackingArea {
    Rect rect;
    TrackingOptions options;
    // Whether the pointer was inside when the window last looked.
    bool mouseInside = false;
    // Set when its subscription ends; the view drops it.
    bool removed = false;
};

}  // namespace zelvana::platform
