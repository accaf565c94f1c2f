#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "Tools/ScrollOverlayWindow.hpp"
#include "platform/appkit/Screen.hpp"

namespace zelvana::tools {

// Lays an invisible window over each display to catch scroll-wheel and trackpad
// scroll events anywhere on screen and hand each to one callback, while it is
// open. Main thread only.
class ScrollOverlayUI {
public:
    using OverlayWindows =
        std::vector<std::pair<platform::Screen, std::unique_ptr<ScrollOverlayWindow>>>;

    explicit ScrollOverlayUI(ScrollOverlayView::ScrollCallback scrollCallback);

    // Covers every display, reusing the window of a display already covered
    // and fitting it to the display's frame again. Without displays nothing
    // happens.
    void open();
    // Covers that display only.
    void open(const platform::Screen& screen);
    // Hides and releases every window; a later open makes new ones.
    void close();

    bool isOpen() const { return isOpen_; }
    // Windows of displays that have gone stay until close().
    const OverlayWindows& overlayWindows() const { return overlayWindows_; }

private:
    void cover(const platform::Screen& screen);

    OverlayWindows overlayWindows_;
    bool isOpen_ = false;
    const ScrollOverlayView::ScrollCallback scrollCallback_;
};

}  // namespace zelvana::tools
