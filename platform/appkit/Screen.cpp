#include "platform/appkit/Screen.hpp"

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

PropertyDictionary Screen::deviceDescription() const {
    return PropertyDictionary{
        {screenNumberKey, PropertyValue(std::int64_t{screenNumber_})},
        {deviceSizeKey, PropertyValue(PropertyArray{frame_.width(), frame_.height()})},
    };
}

}  // namespace zelvana::platform
