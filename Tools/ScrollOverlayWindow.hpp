#pragma once

#include "Tools/ScrollOverlayView.hpp"
#include "platform/appkit/Window.hpp"

namespace zelvana::tools {

// An invisible window over a whole display, menu bar included, that catches
// scroll events for a ScrollOverlayView. Main thread only.
class ScrollOverlayWindow : public platform::Window {
public:
    explicit ScrollOverlayWindow(ScrollOverlayView::ScrollCallback scrollCallback);

    // Unchanged: the overlay may cover the menu bar.
    platform::Rect constrainFrameRect(platform::Rect frame,
                                      const std::optional<platform::Screen>& screen) const override;
};

}  // namespace zelvana::tools
