#pragma once

#include "Tools/ScrollOverlayView.hpp"
#include "platform/appkit/Window.hpp"

namespace zelvana::tools {

// An invisible window over a whole display, menu bar included (window frames
// are taken as given here, never constrained), that catches scroll events for a
// ScrollOverlayView. Main thread only.
class ScrollOverlayWindow : public platform::Window {
public:
    explicit ScrollOverlayWindow(ScrollOverlayView::ScrollCallback scrollCallback);
};

}  // namespace zelvana::tools
