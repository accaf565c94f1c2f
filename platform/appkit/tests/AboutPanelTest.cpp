#include "platform/appkit/AboutPanel.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/appkit/Application.hpp"
#include "platform/appkit/GraphicsContext.hpp"
#include "platform/appkit/ImageView.hpp"
#include "platform/appkit/Label.hpp"
#include "platform/appkit/ViewRenderer.hpp"
#include "platform/testing/ClippedText.hpp"
#include "platform/testing/ScopedMainBundle.hpp"
#include "platform/testing/TwoDisplayTest.hpp"

namespace zelvana::platform {
namespace {

class AboutPanelTest : public testing::TwoDisplayTest {
protected:
    AboutPanelTest() {
        Application::shared().resetForTesting();
        Image icon(Size{32, 32});
        GraphicsContext::writePNG(icon, bundle.resourcePath() / "AppIcon.png");
    }
    ~AboutPanelTest() override { Application::shared().resetForTesting(); }

    static std::vector<std::string> texts(const Window& window) {
        std::vector<std::string> found;
        for (const auto& view : window.contentView()->subviews()) {
            if (const auto* label = dynamic_cast<const Label*>(view.get())) {
                found.push_back(label->stringValue());
            }
        }
        return found;
    }

    testing::ScopedMainBundle bundle{{{"CFBundleName", "Zelvana"},
                                      {"CFBundleShortVersionString", "3.0"},
                                      {"CFBundleVersion", "120"},
                                      {"CFBundleIconFile", "AppIcon"},
                                      {"NSHumanReadableCopyright", "© 2025 Quorrim"}}};
};

TEST_F(AboutPanelTest, ShowsTheBundlesNameIconVersionAndCopyrightInAWindowAPersonCanClose) {
    auto& application = Application::shared();
    application.orderFrontStandardAboutPanelWithOptions({});
    Window* panel = application.aboutPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible() && panel->isKeyWindow());
    EXPECT_EQ(texts(*panel),
              (std::vector<std::string>{"Zelvana", "Version 3.0 (120)", "© 2025 Quorrim"}));
    const auto& views = panel->contentView()->subviews();
    const auto icon = std::ranges::find_if(
        views, [](const auto& view) { return dynamic_cast<ImageView*>(view.get()); });
    ASSERT_NE(icon, views.end());
    EXPECT_EQ(dynamic_cast<ImageView&>(**icon).image()->size(), (Size{32, 32}));

    EXPECT_TRUE(panel->performClose(nullptr));
    EXPECT_FALSE(panel->isVisible());
    application.orderFrontStandardAboutPanelWithOptions({});
    EXPECT_EQ(application.aboutPanel(), panel) << "the same panel comes back";
    EXPECT_TRUE(panel->isVisible());
}

TEST_F(AboutPanelTest, OptionsNameWhatTheyGiveAndABuildLikeTheVersionIsNotRepeated) {
    AboutPanel panel({{"ApplicationName", PropertyValue("Other")},
                      {"ApplicationVersion", PropertyValue("5")},
                      {"Version", PropertyValue("5")}});
    EXPECT_EQ(panel.applicationName(), "Other");
    EXPECT_EQ(panel.versionText(), "Version 5");
    EXPECT_EQ(panel.copyright(), "© 2025 Quorrim");
}

TEST_F(AboutPanelTest, ALongCopyrightWrapsAndTheWindowHoldsEveryLineBelowItsTitleBar) {
    auto& application = Application::shared();
    application.orderFrontStandardAboutPanelWithOptions(
        {{"Copyright", PropertyValue("Copyright © 2025 Quorrim. All rights reserved.")}});
    Window* panel = application.aboutPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(testing::textsClippedWithoutEllipsis(*panel->contentView()).empty());
    const double room = panel->contentRectForFrameRect(panel->frame()).height();
    for (const auto& view : panel->contentView()->subviews()) {
        EXPECT_LE(view->frame().maxY(), room) << "cut off at the window's bottom edge";
    }

    // Each line stands in the middle, as the name and version above it do.
    const auto copyright = std::ranges::find_if(panel->contentView()->subviews(), [](auto& view) {
        const auto* label = dynamic_cast<const Label*>(view.get());
        return label && label->stringValue().starts_with("Copyright");
    });
    ASSERT_NE(copyright, panel->contentView()->subviews().end());
    const Image picture = ViewRenderer::imageOf(**copyright);
    int left = -1, right = -1;  // the ink of the line being read
    for (int y = 0; y <= picture.pixelsHigh(); ++y) {
        bool inked = false;
        for (int x = 0; y < picture.pixelsHigh() && x < picture.pixelsWide(); ++x) {
            if (picture.pixelAt(x, y).alpha < 100) continue;
            inked = true;
            left = left < 0 ? x : std::min(left, x);
            right = std::max(right, x);
        }
        if (inked || left < 0) continue;
        // A blank row ends the line.
        EXPECT_NEAR(left, picture.pixelsWide() - 1 - right, 3) << "the line ending at " << y;
        left = right = -1;
    }
}

}  // namespace
}  // namespace zelvana::platform
