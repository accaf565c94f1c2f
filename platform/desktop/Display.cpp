#include "platform/desktop/Display.hpp"

namespace zelvana::platform {

Display Display::make(DisplayID number, Rect frame, std::string name, std::uint32_t vendor,
                      std::uint32_t model, std::uint32_t serial) {
    Display display;
    display.number = number;
    display.frame = frame;
    display.visibleFrame =
        Rect::make(frame.minX(), frame.minY(), frame.width(), frame.height() - menuBarHeight);
    display.name = std::move(name);
    display.vendor = vendor;
    display.model = model;
    display.serial = serial;
    return display;
}

}  // namespace zelvana::platform
