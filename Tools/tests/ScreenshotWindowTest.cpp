#include "Tools/ScreenshotWindowController.hpp"

#include <gtest/gtest.h>

#include "Tools/BundleFinder.hpp"
#include "Tools/ToolsInfo.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/testing/ScopedMainBundle.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::tools {
namespace {

namespace fs = std::filesystem;

TEST(ScreenshotWindow, ShowsTheImageAtOnePointAPixel) {
    // A capture from a display at twice the scale: 1440 x 900 points.
    platform::Image capture(platform::Size{1440, 900}, 2880, 1800);
    capture.setPixel(0, 0, {255, 0, 0, 255});
    const auto controller = ScreenshotWindowController::make(capture);
    ASSERT_TRUE(controller);
    auto* content = controller->screenshotViewController();
    ASSERT_TRUE(content);
    EXPECT_EQ(content->preferredContentSize(), (platform::Size{2880, 1800}));
    EXPECT_EQ(controller->window()->frame().size, (platform::Size{2880, 1800}));
    const auto& shown = content->imageView()->image();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->size(), (platform::Size{2880, 1800}));
    EXPECT_EQ(shown->pixelAt(0, 0).red, 255);
}

TEST(ToolsBundle, FoundBesideTheMainBundleAsALastResort) {
    platform::testing::TemporaryFolders folders;
    const fs::path resources = folders.path("resources");
    const fs::path mainBundle = folders.path("Main.app");
    fs::create_directories(resources);
    fs::create_directories(mainBundle / "Tools_Tools.bundle" / "Contents");
    const auto found = BundleFinder::find({resources, folders.path("missing"), mainBundle});
    ASSERT_TRUE(found);
    EXPECT_EQ(found->bundlePath(), mainBundle / "Tools_Tools.bundle");
    EXPECT_FALSE(BundleFinder::find({resources}));

    platform::testing::ScopedMainBundle bundle(platform::PropertyDictionary{});
    const auto candidates = BundleFinder::candidateFolders();
    ASSERT_EQ(candidates.size(), 3u);
    EXPECT_EQ(candidates.front(), bundle.resourcePath());
    EXPECT_EQ(candidates.back(), bundle.bundlePath());
    EXPECT_EQ(Tools{}.text, "Hello, World!");
}

}  // namespace
}  // namespace zelvana::tools
