#pragma once

#include "platform/appkit/GraphicsContext.hpp"
#include "platform/appkit/Rect.hpp"

namespace zelvana::platform {
class Menu;
}

namespace zelvana::driver {

// An open menu as the system draws it over its frame: opaque, its rows as
// scrolled between the scroll arrows that show, check marks in a gutter on
// the left, key equivalents or submenu arrows at the right end, the
// highlighted item on the accent colour; a title longer than its row is
// shortened in its middle. Main thread.
class MenuPicture {
public:
    static constexpr double cornerRadius = 6;

    // The menu must be shown at a place (it has a frame).
    explicit MenuPicture(const platform::Menu& menu) : menu_(menu) {}

    platform::Size size() const;
    // Draws the menu with its top-left corner at `origin`.
    void draw(platform::GraphicsContext& context, platform::Point origin) const;

private:
    void drawRows(platform::GraphicsContext& context, platform::Rect area) const;
    void drawArrows(platform::GraphicsContext& context, platform::Rect area) const;

    const platform::Menu& menu_;
};

}  // namespace zelvana::driver
