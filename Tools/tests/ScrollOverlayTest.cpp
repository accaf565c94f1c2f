#include "Tools/ScrollOverlayUI.hpp"

#include <gtest/gtest.h>

#include "Tools/tests/ToolsTestSupport.hpp"
#include "platform/appkit/Cursor.hpp"
#include "platform/simulator/Mouse.hpp"
#include "platform/testing/SimulatedInput.hpp"

namespace zelvana::tools {
namespace {

using platform::Point;
using platform::Rect;

// Two displays side by side (see DesktopTestCase); our application is inactive.
class ScrollOverlayTest : public test::DesktopTestCase {
protected:
    ScrollOverlayTest() { platform::testing::resetSimulatedInput(); }
    ~ScrollOverlayTest() override { platform::testing::resetSimulatedInput(); }

    // Scrolls down by 3 at a window-server location.
    static void scrollAt(Point location) {
        platform::Mouse::shared().moveTo(location);
        platform::Mouse::shared().scrollWheel(0, -3);
    }

    std::vector<platform::Event> scrolls;
    ScrollOverlayUI overlay{[this](const platform::Event& event) { scrolls.push_back(event); }};
};

TEST_F(ScrollOverlayTest, OpeningTwiceCoversEachDisplayWithOneWindowMenuBarIncluded) {
    overlay.open();
    overlay.open();
    ASSERT_EQ(overlay.overlayWindows().size(), 2u);
    EXPECT_TRUE(overlay.isOpen());
    for (const auto& [screen, window] : overlay.overlayWindows()) {
        EXPECT_EQ(window->frame(), screen.frame());
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->level(), 25);
        EXPECT_EQ(window->title(), "Overlay");
    }
}

TEST_F(ScrollOverlayTest, AScrollOverAnyDisplayReachesTheCallbackOnce) {
    overlay.open();
    scrollAt({100, 100});
    scrollAt({2500, 900});
    ASSERT_EQ(scrolls.size(), 2u);
    EXPECT_EQ(scrolls[1].location, (Point{2500, 900}));
    EXPECT_EQ(scrolls[1].scrollingDeltaY, -3);
    EXPECT_EQ(scrolls[1].type, platform::EventType::scrollWheel);
}

TEST_F(ScrollOverlayTest, OneDisplayOnlyWhenOpenedOnIt) {
    overlay.open(platform::Screen::screens()[1]);
    scrollAt({100, 100});
    EXPECT_TRUE(scrolls.empty());
    scrollAt({2000, 500});
    EXPECT_EQ(scrolls.size(), 1u);
}

TEST_F(ScrollOverlayTest, ClosingReleasesTheWindowsAndTheNextOpenBuildsNewOnes) {
    overlay.open();
    const auto firstNumber = overlay.overlayWindows()[0].second->windowNumber();
    overlay.close();
    EXPECT_FALSE(overlay.isOpen());
    EXPECT_TRUE(overlay.overlayWindows().empty());
    scrollAt({100, 100});
    EXPECT_TRUE(scrolls.empty());
    overlay.open();
    EXPECT_NE(overlay.overlayWindows()[0].second->windowNumber(), firstNumber);
}

TEST_F(ScrollOverlayTest, WithoutDisplaysNothingOpensAndScrollingGoesNowhere) {
    desktop.resetForTesting();
    overlay.open();
    EXPECT_FALSE(overlay.isOpen());
    EXPECT_TRUE(overlay.overlayWindows().empty());
    scrollAt({100, 100});
    EXPECT_TRUE(scrolls.empty());
}

TEST_F(ScrollOverlayTest, TheCallbackMayCloseTheOverlay) {
    ScrollOverlayUI* self = nullptr;
    ScrollOverlayUI closing{[&](const platform::Event&) { self->close(); }};
    self = &closing;
    closing.open();
    scrollAt({100, 100});
    EXPECT_FALSE(closing.isOpen());
}

TEST(ScrollOverlayView, ShowsTheCrosshairWhenThePointerEnters) {
    ScrollOverlayView view;
    view.scrollWheel(platform::Event{});
    view.mouseEntered(platform::Event{});
    EXPECT_EQ(platform::Cursor::current(), platform::Cursor::crosshair());
    platform::Cursor::arrow().set();
}

}  // namespace
}  // namespace zelvana::tools
