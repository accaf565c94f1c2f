#include "platform/testing/FocusRingPixels.hpp"

#include "platform/appkit/ViewRenderer.hpp"
#include "platform/appkit/Window.hpp"

namespace zelvana::platform::testing {

bool showsFocusRingAt(const Window& window, Point inWindow) {
    const auto picture = ViewRenderer::imageOf(window);
    if (!picture) return false;
    const Rect frame = window.frame();
    const Rect content = window.contentRectForFrameRect(frame);
    const Pixel p = picture->pixelAt(static_cast<int>(content.minX() - frame.minX() + inWindow.x),
                                     static_cast<int>(frame.maxY() - content.maxY() + inWindow.y));
    return p.blue > p.red + 60;
}

}  // namespace zelvana::platform::testing
