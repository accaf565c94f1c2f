#include "platform/appkit/Screen.hpp"

#include <algorithm>

#include "platform/appkit/WindowServer.hpp"

namespace zelvana::platform {

std::vector<Screen> Screen::screens() {
    const WindowServer* server = WindowServer::current();
    return server ? server->screens() : std::vector<Screen>{};
}

std::optional<Screen> Screen::main() {
    const WindowServer* server = WindowServer::current();
    return server ? server->mainScreen() : std::nullopt;
}

double Screen::menuBarHeight() const {
    // An empty visible frame (a screen made without one) has no menu bar either.
    if (visibleFrame_.width() <= 0 || visibleFrame_.height() <= 0) return 0;
    return std::max(0.0, frame_.maxY() - visibleFrame_.maxY());
}

PropertyDictionary Screen::deviceDescription() const {
    return PropertyDictionary{
        {screenNumberKey, PropertyValue(std::int64_t{screenNumber_})},
        {deviceSizeKey, PropertyValue(PropertyArray{frame_.width(), frame_.height()})},
    };
}

}  // namespace zelvana::platform
