#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/Coder.hpp"
#include "platform/desktop/Display.hpp"

namespace zelvana::platform {

// One restorable window as saved at termination.
struct SavedWindow {
    std::string identifier;
    std::string restorationClass;
    // The window's coder state; it holds the frame.
    Coder state;
    // 0 when the window was on no space.
    SpaceID space = 0;
    bool visible = false;

    // A JSON array of objects {"identifier", "restorationClass", "space",
    // "visible", "state"}; absent when the text is not of that shape. Reading
    // keeps the first window of an identifier; writing leaves out a window
    // whose state has no JSON form.
    static std::string toJsonText(const std::vector<SavedWindow>& windows);
    static std::optional<std::vector<SavedWindow>> fromJsonText(const std::string& text);
};

}  // namespace zelvana::platform
