#include "platform/appkit/Screen.hpp"
#include "platform/desktop/WindowList.hpp"

namespace zelvana::platform {

WindowNumber WindowList::windowNumberAt(Point location, WindowNumber belowWindow) {
    const auto screens = Screen::screens();
    if (screens.empty()) return 0;
    // The list is in the window server's coordinates, y down from the first
    // display's top.
    const Point point{location.x, screens.front().frame().height() - location.y};
    const auto options = kOnScreenWithoutDesktopElements;
    const auto list =
        belowWindow == 0
            ? copyWindowInfo(options, 0)
            : copyWindowInfo(options | WindowListOption::onScreenBelowWindow, belowWindow);
    if (!list) return 0;
    for (const auto& description : *list) {
        const auto* bounds = description.find(windowBoundsKey);
        const auto* number = description.find(windowNumberKey);
        if (!bounds || !number || !number->integerValue()) continue;
        const auto rect = rectFromDictionaryRepresentation(*bounds);
        if (rect && rect->contains(point)) {
            return static_cast<WindowNumber>(*number->integerValue());
        }
    }
    return 0;
}

}  // namespace zelvana::platform
