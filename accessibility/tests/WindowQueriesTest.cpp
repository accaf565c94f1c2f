#include <gtest/gtest.h>

#include "accessibility/AccessibilityElement.hpp"
#include "accessibility/tests/AccessibilityTestSupport.hpp"
#include "platform/simulator/PermissionSwitches.hpp"

namespace zelvana::accessibility::test {
namespace {

using platform::AXError;
using platform::AXUIElement;
using platform::AXValue;
using platform::Point;
using platform::Rect;
using Ref = AccessibilityElement::Ref;

// Display 1: Safari's window behind Notes' overlapping one, a Safari window
// under the Dock's strip and one under Notification Center's banner.
// Display 2: a Safari window. All in window-server coordinates.
class WindowQueriesTest : public AccessibilityTestCase {
protected:
    WindowQueriesTest() {
        back = add(safari, Rect::make(100, 100, 800, 600));
        front = add(notes, Rect::make(400, 300, 800, 600));
        second = add(safari, Rect::make(2000, 100, 600, 400));
        underDock = add(notes, Rect::make(100, 900, 400, 170));
        underBanner = add(safari, Rect::make(1400, 50, 500, 300));
        add(dock, Rect::make(0, 1000, 1920, 80), 20);
        add(notificationCenter, Rect::make(1500, 0, 400, 200));
    }

    static Point mouseAt(Point point) {
        platform::Mouse::shared().warpCursorPosition(point);
        return point;
    }
    // Which window an element is, by the number the window server gives it.
    static std::optional<std::uint32_t> numberOf(const Ref& element) {
        return element ? element->resolvedWindowId() : std::nullopt;
    }

    platform::WindowNumber back = 0, front = 0, second = 0, underDock = 0, underBanner = 0;
};

TEST_F(WindowQueriesTest, TheWindowUnderTheMouseIsTheFrontOneOnAnyDisplay) {
    mouseAt({500, 400});
    EXPECT_EQ(numberOf(AccessibilityElement::windowUnderMouse()), front);
    EXPECT_EQ(numberOf(AccessibilityElement::windowElement()), front);
    mouseAt({150, 150});
    EXPECT_EQ(numberOf(AccessibilityElement::windowUnderMouse()), back);
    mouseAt({2100, 200});
    EXPECT_EQ(numberOf(AccessibilityElement::windowUnderMouse()), second);
    EXPECT_EQ(numberOf(AccessibilityElement::windowElement(Point{2100, 200})), second);
    mouseAt({3100, 1000});
    EXPECT_EQ(AccessibilityElement::windowUnderMouse(), nullptr);
}

TEST_F(WindowQueriesTest, OverTheDockTheFallbackTakesTheWindowBelowIt) {
    mouseAt({150, 1050});
    EXPECT_EQ(numberOf(AccessibilityElement::windowUnderMouse()), underDock);
    EXPECT_EQ(AccessibilityElement::topmostWindowInfo({150, 1050})->id, underDock);
}

TEST_F(WindowQueriesTest, TheListHitTestLooksThroughNotificationCenter) {
    EXPECT_EQ(AccessibilityElement::topWindowInfo({1600, 100})->id, underBanner);
    EXPECT_EQ(AccessibilityElement::topWindowInfo({1600, 100})->onScreen, true);
    EXPECT_EQ(AccessibilityElement::topWindowInfo({3100, 1000}), std::nullopt);
}

TEST_F(WindowQueriesTest, TheWindowListFallbackUsesTheGivenPointNotThePointer) {
    // The window at the point hides its role, so only the window list finds it.
    simulator.setAttribute(AXUIElement::window(notes, front), "AXRole", "AXGroup");
    mouseAt({150, 150});
    const auto found = AccessibilityElement::windowElement(Point{1000, 800});
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->wrappedElement(), AXUIElement::window(notes, front));
    EXPECT_EQ(found->cachedWindowId, front);
}

TEST_F(WindowQueriesTest, OnlyTheWindowListLookupFillsTheCachedNumber) {
    const auto found = AccessibilityElement::windowElementFromWindowList({150, 150});
    EXPECT_EQ(found->cachedWindowId, back);
    const auto listed = AccessibilityElement::windows(safari);
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed[0]->cachedWindowId, std::nullopt);
}

TEST_F(WindowQueriesTest, FindsWindowsByNumberOnlyWhenFramesMatchExactly) {
    EXPECT_EQ(numberOf(AccessibilityElement::window(safari, second)), second);
    EXPECT_EQ(numberOf(AccessibilityElement::window(second)), second);
    EXPECT_EQ(AccessibilityElement::window(notes, second), nullptr);
    simulator.setAttribute(AXUIElement::window(safari, second), "AXPosition",
                           AXValue(Point{2000.5, 100}));
    EXPECT_EQ(AccessibilityElement::window(safari, second), nullptr);
    EXPECT_EQ(AccessibilityElement::window(second + 100), nullptr);
}

TEST_F(WindowQueriesTest, ListsEveryApplicationsWindowsOnce) {
    EXPECT_EQ(AccessibilityElement::allWindows().size(), 6u);
    EXPECT_EQ(AccessibilityElement::allNormalWindows().size(), 6u);
    const auto byApplication = AccessibilityElement::windowsByApplication();
    EXPECT_EQ(byApplication.at(safari).size(), 3u);
    EXPECT_EQ(byApplication.at(notes).size(), 2u);
    EXPECT_TRUE(byApplication.at(dock).empty()) << "the Dock shows no windows to accessibility";
    EXPECT_EQ(AccessibilityElement::allApplicationWindows().size(), 6u);
}

TEST_F(WindowQueriesTest, TheFrontmostWindowIsTheFocusedOneOfTheFrontApplication) {
    desktop.activateApplication(safari);
    EXPECT_EQ(AccessibilityElement::frontmostApplication()->pid(), safari);
    EXPECT_EQ(numberOf(AccessibilityElement::frontmostWindow()), underBanner);
    simulator.setAttribute(AXUIElement::application(safari), "AXFocusedWindow", AXError::noValue);
    EXPECT_EQ(numberOf(AccessibilityElement::frontmostWindow()), underBanner)
        << "the first of its windows";
}

TEST_F(WindowQueriesTest, QuitApplicationsSilentOnesAndNoPermissionGiveNothing) {
    simulator.setResponding(notes, false);
    EXPECT_TRUE(AccessibilityElement::windows(notes).empty());
    EXPECT_FALSE(AccessibilityElement::windowsByApplication().contains(notes));
    desktop.removeApplication(safari);
    EXPECT_TRUE(AccessibilityElement::windows(safari).empty());
    platform::PermissionSwitches::setAccessibilityTrusted(false);
    mouseAt({500, 400});
    EXPECT_EQ(AccessibilityElement::windowUnderMouse(), nullptr);
    EXPECT_TRUE(AccessibilityElement::allWindows().empty());
}

TEST_F(WindowQueriesTest, WithoutDisplaysNothingIsUnderTheMouse) {
    desktop.resetForTesting();
    EXPECT_EQ(AccessibilityElement::windowUnderMouse(), nullptr);
    EXPECT_EQ(AccessibilityElement::windowElement(), nullptr);
    EXPECT_EQ(AccessibilityElement::frontmostWindow(), nullptr);
}

}  // namespace
}  // namespace zelvana::accessibility::test
