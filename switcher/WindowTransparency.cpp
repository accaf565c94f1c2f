#include "switcher/WindowTransparency.hpp"

namespace zelvana::switcher {

using platform::Color;

bool isTransparent(const platform::Window& window) {
    if (window.isOpaque()) return false;
    return window.backgroundColor() == std::optional<Color>(Color::clear());
}

void setTransparent(platform::Window& window, bool transparent) {
    window.setOpaque(!transparent);
    window.setBackgroundColor(transparent ? std::optional<Color>(Color::clear())
                                          : window.backgroundColor());
}

}  // namespace zelvana::switcher
