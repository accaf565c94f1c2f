#pragma once

#include <cstdint>
#include <string>

#include "platform/appkit/Rect.hpp"
#include "platform/appkit/WindowServer.hpp"
#include "platform/desktop/Display.hpp"

namespace zelvana::platform {

// A window of another application, as the window server keeps it.
struct DesktopWindow {
    // 0 asks the desktop for a new number.
    WindowNumber number = 0;
    int ownerPID = 0;
    std::string name;
    // Higher layers stack in front; negative layers are desktop elements
    // (wallpaper, desktop icons).
    int layer = 0;
    // Window-server coordinates: origin at the top-left of the primary
    // display, y growing downwards.
    Rect bounds;
    // 0 on adding: the space shown on the display that holds the bounds.
    SpaceID space = 0;
    // On every space (the Dock, the menu bar).
    bool allSpaces = false;
    // Ordered in (not minimised or hidden).
    bool visible = true;

    bool operator==(const DesktopWindow&) const = default;
};

}  // namespace zelvana::platform
