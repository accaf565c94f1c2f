#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Zelvana/Driver/MenuPicture.hpp"
#include "platform/appkit/MenuItem.hpp"

namespace zelvana::driver::test {
namespace {

using platform::MenuItem;
using Items = std::vector<std::shared_ptr<MenuItem>>;

std::shared_ptr<MenuItem> item(std::string title, std::string key = "") {
    return std::make_shared<MenuItem>(std::move(title), "pick:", std::move(key));
}

// Whether a column of the picture has any opaque pixel in the menu's rows.
bool drawnAt(const platform::Image& image, int x) {
    for (int y = 0; y < image.pixelsHigh(); ++y) {
        if (image.pixelAt(x, y).alpha > 200) return true;
    }
    return false;
}

TEST(MenuPictureTest, AMenuIsAsWideAsItsWidestItemUpToTheRoomItHas) {
    const MenuPicture short_({item("About"), item("Quit Zelvana", "q")}, 1000);
    EXPECT_EQ(short_.size().width, 160) << "the narrowest menu";
    EXPECT_EQ(short_.size().height, 2 * 22 + 8) << "as tall as the menu that takes the clicks";

    const std::string title = "2 Everything I read about the weather this week";
    const MenuPicture grown({item(title), item("Quit Zelvana", "q")}, 1000);
    const double titleWidth =
        platform::TextLayout(title, platform::Font::systemFont(13)).size().width;
    EXPECT_GT(grown.size().width, titleWidth) << "the whole title, and room for ⌘Q";
    EXPECT_LT(grown.size().width, 1000);
    EXPECT_EQ(MenuPicture({item("About")}, 1000, 240).size().width, 240)
        << "a pop-up's menu as wide as its button";

    // A title wider than the display: the menu keeps to it, the title shortened.
    const MenuPicture capped({item(std::string(400, 'w'))}, 600);
    EXPECT_EQ(capped.size().width, 600);
    platform::Image image(platform::Size{700, capped.size().height});
    {
        platform::GraphicsContext context(image);
        capped.draw(context, {0, 0});
    }
    EXPECT_TRUE(drawnAt(image, 599));
    EXPECT_FALSE(drawnAt(image, 640)) << "nothing past the menu's border";
}

}  // namespace
}  // namespace zelvana::driver::test
