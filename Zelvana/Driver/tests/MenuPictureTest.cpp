#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Zelvana/Driver/MenuPicture.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/MenuItem.hpp"

namespace zelvana::driver::test {
namespace {

using platform::Color;
using platform::Menu;

TEST(MenuPictureTest, NothingBeneathAnOpenMenuShowsThroughIt) {
    Menu menu;
    for (const char* title : {"None", "Three-finger swipe", "Four-finger swipe"}) {
        menu.addItem(std::make_shared<platform::MenuItem>(title, "pick:", ""));
    }
    menu.popUpMenuPositioningItem(nullptr, {0, 0}, 200);
    const MenuPicture picture(menu);
    platform::Image image(picture.size());
    {
        platform::GraphicsContext context(image);
        context.setFillColor(Color::rgb(1, 0, 0));  // what lies beneath
        context.fillRect(platform::Rect{{}, picture.size()});
        picture.draw(context, {0, 0});
    }
    menu.endTracking();
    const int inset = static_cast<int>(MenuPicture::cornerRadius);
    for (int y = inset; y < image.pixelsHigh() - inset; ++y) {
        for (int x = inset; x < image.pixelsWide() - inset; ++x) {
            const auto pixel = image.pixelAt(x, y);
            ASSERT_LE(pixel.red - pixel.green, 2) << "red shows through at " << x << ", " << y;
        }
    }
}

}  // namespace
}  // namespace zelvana::driver::test
