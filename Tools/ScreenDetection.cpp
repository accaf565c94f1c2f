#include "Tools/ScreenDetection.hpp"

#include <algorithm>

namespace zelvana::tools {

namespace {

using platform::Rect;

double intersectionArea(const Rect& a, const Rect& b) {
    const double width = std::min(a.maxX(), b.maxX()) - std::max(a.minX(), b.minX());
    const double height = std::min(a.maxY(), b.maxY()) - std::max(a.minY(), b.minY());
    return width > 0 && height > 0 ? width * height : 0;
}

// The part of `rect` on `frame`; 0 for a rectangle without area.
double shareOn(const Rect& frame, const Rect& rect) {
    const double area = rect.width() * rect.height();
    return area > 0 ? intersectionArea(rect, frame) / area : 0;
}

}  // namespace

Rect ScreenDetection::convertedToScreenCoordinates(Rect rect, const platform::Screen& firstScreen) {
    return Rect::make(rect.minX(), firstScreen.frame().maxY() - rect.maxY(), rect.width(),
                      rect.height());
}

std::optional<platform::Screen> ScreenDetection::screenForRect(
    const std::vector<platform::Screen>& screens, Rect rect) {
    std::optional<platform::Screen> best = platform::Screen::main();
    double bestShare = 0;
    for (const auto& screen : screens) {
        // Read afresh: the first display may have changed since `screens` was taken.
        const auto system = platform::Screen::screens();
        if (system.empty()) return best;
        const Rect converted = convertedToScreenCoordinates(rect, system.front());
        if (screen.frame().contains(converted)) return screen;
        const double share = shareOn(screen.frame(), converted);
        if (share > bestShare) {
            best = screen;
            bestShare = share;
        }
    }
    return best;
}

}  // namespace zelvana::tools
