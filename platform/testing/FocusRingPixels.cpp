#include "platform/testing/FocusRingPixels.hpp"

#include "platform/appkit/ViewRenderer.hpp"
#include "platform/appkit/Window.hpp"

namespace zelvana::platform::testing {

bool showsFocusRingAt(const Window& window, Point inWindow) {
    const auto picture = ViewRenderer::imageOf(window);
    if (!picture) return false;
    const Point area = ViewRenderer::contentAreaOrigin(window);
    const Pixel p = picture->pixelAt(static_cast<int>(area.x + inWindow.x),
                                     static_cast<int>(area.y + inWindow.y));
    return p.blue > p.red + 60;
}

}  // namespace zelvana::platform::testing
