#pragma once

#include <optional>
#include <vector>

#include "platform/appkit/Rect.hpp"
#include "platform/appkit/Screen.hpp"

namespace zelvana::tools {

// Which display a window belongs to.
class ScreenDetection {
public:
    ScreenDetection() = delete;

    // The screen for a window rectangle in window-server coordinates (origin
    // at the top-left of the first display, y down): the first of `screens`
    // that wholly contains it, else the one with the largest share of it (the
    // earlier on a tie), else the main screen, which may be none.
    static std::optional<platform::Screen> screenForRect(
        const std::vector<platform::Screen>& screens, platform::Rect rect);

    // A window-server rectangle in AppKit coordinates (origin bottom-left,
    // y up), measured against the first display's frame.
    static platform::Rect convertedToScreenCoordinates(platform::Rect rect,
                                                       const platform::Screen& firstScreen);
};

}  // namespace zelvana::tools
