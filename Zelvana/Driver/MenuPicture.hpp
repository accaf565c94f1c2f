#pragma once

#include <memory>
#include <vector>

#include "platform/appkit/GraphicsContext.hpp"
#include "platform/appkit/Rect.hpp"

namespace zelvana::platform {
class MenuItem;
}

namespace zelvana::driver {

// An open menu as the system draws it: as wide as its widest item (title,
// then key equivalent or submenu arrow), at least `narrowest` (a pop-up's
// menu is as wide as its button) and up to `widest`, where a longer title
// is shortened in its middle with an ellipsis; check marks in a gutter on
// the left. Main thread.
class MenuPicture {
public:
    static constexpr double cornerRadius = 6;
    static constexpr double smallestWidth = 160;

    MenuPicture(std::vector<std::shared_ptr<platform::MenuItem>> items, double widest,
                double narrowest = smallestWidth);

    platform::Size size() const { return size_; }
    // Draws the menu with its top-left corner at `origin`.
    void draw(platform::GraphicsContext& context, platform::Point origin) const;

private:
    std::vector<std::shared_ptr<platform::MenuItem>> items_;
    platform::Size size_;
    double titleRoom_ = 0;
};

}  // namespace zelvana::driver
