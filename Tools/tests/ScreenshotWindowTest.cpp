#include "Tools/ScreenshotWindowController.hpp"

#include <gtest/gtest.h>

#include "Tools/ToolsInfo.hpp"
#include "platform/appkit/Window.hpp"

namespace zelvana::tools {
namespace {

TEST(ScreenshotWindow, ShowsTheImageAtOnePointAPixel) {
    // A capture from a display at twice the scale: 1440 x 900 points.
    platform::Image capture(platform::Size{1440, 900}, 2880, 1800);
    capture.setPixel(0, 0, {255, 0, 0, 255});
    const auto controller = ScreenshotWindowController::make(capture);
    ASSERT_TRUE(controller);
    auto* content = controller->screenshotViewController();
    ASSERT_TRUE(content);
    EXPECT_EQ(content->preferredContentSize(), (platform::Size{2880, 1800}));
    const auto* window = controller->window();
    EXPECT_EQ(window->contentRectForFrameRect(window->frame()).size, (platform::Size{2880, 1800}));
    const auto& shown = content->imageView()->image();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->size(), (platform::Size{2880, 1800}));
    EXPECT_EQ(shown->pixelAt(0, 0).red, 255);
}

TEST(ToolsInfo, GreetsTheWorld) {
    EXPECT_EQ(Tools{}.text, "Hello, World!");
}

}  // namespace
}  // namespace zelvana::tools
