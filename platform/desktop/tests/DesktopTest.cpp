#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/appkit/Menu.hpp"
#include "platform/appkit/Panel.hpp"
#include "platform/appkit/Screen.hpp"
#include "platform/desktop/tests/DesktopFixture.hpp"
#include "platform/simulator/Mouse.hpp"
#include "platform/testing/LogCapture.hpp"

namespace zelvana::platform {
namespace {

using Calls = std::vector<std::pair<DisplayID, std::uint32_t>>;

Subscription recordCalls(Calls& calls) {
    return registerDisplayReconfigurationCallback(
        [&calls](DisplayID display, DisplayChangeFlags flags) {
            calls.emplace_back(display, flags.rawValue());
        });
}

// A window that refuses key status and counts what it hears.
struct NonKeyPanel : Panel {
    using Panel::Panel;
    bool canBecomeKeyWindow() const override { return false; }
};

// Becomes key and gives it up at once, as the space anchors do.
struct PassingPanel : Panel {
    using Panel::Panel;
    int becameKey = 0;
    void becomeKeyWindow() override {
        Panel::becomeKeyWindow();
        ++becameKey;
        resignKeyWindow();
    }
};

using DesktopTest = DesktopFixture;

TEST_F(DesktopTest, ScreensListThePrimaryFirstWithTheirNumbersAndVisibleFrames) {
    const auto screens = Screen::screens();
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_EQ(screens[0].frame(), Rect::make(0, 0, 1920, 1080));
    EXPECT_EQ(screens[0].visibleFrame(), Rect::make(0, 0, 1920, 1056));
    EXPECT_EQ(screens[1].localizedName(), "Studio");
    const auto description = screens[1].deviceDescription();
    EXPECT_EQ(*description.at(Screen::screenNumberKey).integerValue(), 2);
    EXPECT_EQ(displayVendorNumber(2), 1552u);
    EXPECT_EQ(displayModelNumber(2), 44u);
    EXPECT_EQ(displaySerialNumber(2), 9u);
    EXPECT_EQ(displaySerialNumber(99), 0u);
    const auto infos = displayInfoDictionaries();
    ASSERT_EQ(infos.size(), 2u);
    EXPECT_EQ(*infos[1].at("DisplayProductID").integerValue(), 44);
    EXPECT_EQ(*infos[1].at("DisplayProductName").find("en_US")->stringValue(), "Studio");

    EXPECT_EQ(Screen::main(), screens[0]);  // nothing focused yet: the primary
    EXPECT_TRUE(desktop.focusDisplay(2));
    EXPECT_EQ(Screen::main(), screens[1]);
    EXPECT_FALSE(desktop.focusDisplay(7));
}

TEST_F(DesktopTest, ADisplayOverlappingAnAttachedOneIsRefusedWithItsReasonLogged) {
    Calls calls;
    auto registration = recordCalls(calls);
    testing::LogCapture log;
    // Display 2 spans 1920-3200 by 0-1024: one pixel into its corner is too much.
    EXPECT_FALSE(desktop.addDisplay(Display::make(3, Rect::make(3199, 1023, 800, 600), "Corner")));
    EXPECT_TRUE(log.hasMessageContaining("Display 3 not added: its frame overlaps display 2's"));
    EXPECT_FALSE(desktop.display(3));
    EXPECT_TRUE(calls.empty());

    EXPECT_FALSE(desktop.addDisplay(*desktop.display(1)));  // attached already, not overlapping
    EXPECT_FALSE(log.hasMessageContaining("overlaps display 1"));
    EXPECT_TRUE(desktop.addDisplay(Display::make(4, Rect::make(3200, 1023, 800, 600), "Beside")));
}

TEST_F(DesktopTest, AddingAndRemovingDisplaysCallsTheCallbacks) {
    Calls calls;
    auto registration = recordCalls(calls);
    auto third = Display::make(3, Rect::make(-1440, 0, 1440, 900), "Side", 610, 1, 2);
    ASSERT_TRUE(desktop.addDisplay(third));
    EXPECT_EQ(calls, (Calls{{3, 1}, {3, 16}}));
    const SpaceID fresh = *desktop.shownSpace(3);
    EXPECT_EQ(desktop.display(3)->spaces, std::vector<SpaceID>{fresh});
    EXPECT_EQ(fresh, 6u);                     // after every existing space
    EXPECT_FALSE(desktop.addDisplay(third));  // already attached

    calls.clear();
    ASSERT_TRUE(desktop.removeDisplay(3));
    EXPECT_EQ(calls, (Calls{{3, 1}, {3, 32}}));
    EXPECT_EQ(Screen::screens().size(), 2u);
    EXPECT_FALSE(desktop.removeDisplay(3));

    calls.clear();
    registration.cancel();
    desktop.removeDisplay(2);
    EXPECT_TRUE(calls.empty());
}

TEST_F(DesktopTest, ACallbackRemovedByAnotherDuringAReconfigurationIsNotCalled) {
    Calls calls;
    Subscription second;
    auto owner = std::make_unique<Calls>();
    Subscription first =
        registerDisplayReconfigurationCallback([&](DisplayID display, DisplayChangeFlags flags) {
            calls.emplace_back(display, flags.rawValue());
            // Ends the next registration and frees what it reports to.
            second.cancel();
            owner.reset();
        });
    second = registerDisplayReconfigurationCallback(
        [&owner](DisplayID display, DisplayChangeFlags flags) {
            owner->emplace_back(display, flags.rawValue());
        });
    ASSERT_TRUE(desktop.removeDisplay(2));
    EXPECT_EQ(calls, (Calls{{2, 1}, {2, 32}}));
}

TEST_F(DesktopTest, ARemovedDisplaysSpacesAndWindowsMoveToTheFirstRemainingDisplay) {
    Window shown(Rect::make(2000, 100, 300, 200));
    shown.orderFront(nullptr);
    switchTo(5);
    Window hidden(Rect::make(3100, 900, 300, 200));  // partly beyond the display
    hidden.orderFront(nullptr);
    DesktopWindow other;
    other.bounds = Rect::make(2020, 56, 100, 100);  // 2020, 924 in AppKit's terms
    other.space = 5;
    const WindowNumber otherNumber = desktop.addWindow(other);

    ASSERT_TRUE(desktop.removeDisplay(2));
    EXPECT_EQ(desktop.display(1)->spaces, (std::vector<SpaceID>{1, 2, 3, 4, 5}));
    EXPECT_EQ(desktop.shownSpace(1), 1u);
    EXPECT_EQ(desktop.spaceOf(shown), 4u);
    EXPECT_EQ(desktop.spaceOf(hidden), 5u);
    EXPECT_FALSE(shown.isOnActiveSpace());
    EXPECT_EQ(shown.frame(), Rect::make(80, 100, 300, 200));
    EXPECT_EQ(hidden.frame(), Rect::make(1180, 880, 300, 200)) << "kept inside the display";
    EXPECT_EQ(shown.screen()->screenNumber(), 1u);
    EXPECT_EQ(desktop.window(otherNumber)->bounds, Rect::make(100, 56, 100, 100));
    switchTo(5);
    EXPECT_TRUE(hidden.isOnActiveSpace());

    // The primary going: the other display takes its spaces.
    ASSERT_TRUE(desktop.addDisplay(Display::make(2, Rect::make(1920, 0, 1280, 1024), "Studio")));
    ASSERT_TRUE(desktop.removeDisplay(1));
    EXPECT_EQ(desktop.display(2)->spaces, (std::vector<SpaceID>{6, 1, 2, 3, 4, 5}));
    EXPECT_EQ(desktop.display(2)->frame, Rect::make(1920, 0, 1280, 1024));
    EXPECT_EQ(hidden.screen()->screenNumber(), 2u);
}

TEST_F(DesktopTest, ASpaceBelongsToTheDisplayListingItThroughEveryChange) {
    const SpaceID added = *desktop.addSpace(2);
    EXPECT_EQ(desktop.displayOfSpace(added), 2u);
    ASSERT_TRUE(desktop.removeSpace(added));
    EXPECT_FALSE(desktop.displayOfSpace(added));
    EXPECT_FALSE(desktop.switchToSpace(added));

    ASSERT_TRUE(desktop.removeDisplay(2));
    EXPECT_EQ(desktop.displayOfSpace(5), 1u);
    auto returning = Display::make(2, Rect::make(1920, 0, 1280, 1024), "Studio");
    returning.spaces = {5};
    EXPECT_FALSE(desktop.addDisplay(returning)) << "space 5 is display 1's now";
    returning.spaces = {7, 8};
    ASSERT_TRUE(desktop.addDisplay(returning));
    EXPECT_EQ(desktop.displayOfSpace(8), 2u);
    switchTo(8);
    EXPECT_EQ(desktop.shownSpace(2), 8u);

    desktop.resetForTesting();
    EXPECT_FALSE(desktop.displayOfSpace(1));
}

TEST_F(DesktopTest, OtherWindowsStayOnTheirDisplayWhenTheFirstDisplayGoes) {
    // The window server counts from the top of the first display: 1080 high.
    DesktopWindow other;
    other.bounds = Rect::make(2020, 156, 400, 300);  // 100 below the top of display 2
    other.space = 4;
    const WindowNumber number = desktop.addWindow(other);
    ASSERT_TRUE(desktop.removeDisplay(1));
    // Now it counts from the top of display 2, and the window is where it was.
    EXPECT_EQ(desktop.boundsFromFrame(desktop.display(2)->frame), Rect::make(1920, 0, 1280, 1024));
    EXPECT_EQ(desktop.window(number)->bounds, Rect::make(2020, 100, 400, 300));
    EXPECT_EQ(desktop.frameFromBounds(desktop.window(number)->bounds),
              Rect::make(2020, 624, 400, 300));
}

TEST_F(DesktopTest, ScreenIsTheDisplayWithMostOfTheFrameAndItsChangesAreObserved) {
    Window window(Rect::make(1800, 100, 400, 300));  // 120 points left, 280 right
    EXPECT_EQ(window.screen()->screenNumber(), 2u);
    std::vector<std::pair<std::optional<Screen>, std::optional<Screen>>> changes;
    auto observation = window.observeScreen([&](const auto& oldScreen, const auto& newScreen) {
        changes.emplace_back(oldScreen, newScreen);
    });

    window.setFrameOrigin({1700, 100});  // 220 left, 180 right
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].first->screenNumber(), 2u);
    EXPECT_EQ(changes[0].second->screenNumber(), 1u);
    window.setFrameOrigin({10, 10});  // same display: no change
    EXPECT_EQ(changes.size(), 1u);

    window.setFrameOrigin({1920 + 100, 0});
    desktop.removeDisplay(2);  // the window is on no display now
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_FALSE(changes[2].second.has_value());
    EXPECT_FALSE(window.screen().has_value());

    observation.cancel();
    window.setFrameOrigin({0, 0});
    EXPECT_EQ(changes.size(), 3u);

    // An observation outliving its window ends quietly.
    auto* shortLived = new Window(Rect::make(0, 0, 10, 10));
    auto orphan = shortLived->observeScreen([](const auto&, const auto&) {});
    delete shortLived;
    orphan.cancel();
}

TEST_F(DesktopTest, AWindowNotOnScreenIsCentredOnTheMainDisplayAndAShownOneOnItsOwn) {
    desktop.focusDisplay(2);
    Window window(Rect::make(100, 100, 400, 300));  // its frame lies on display 1
    window.center();
    const Rect second = Screen::main()->visibleFrame();
    ASSERT_EQ(Screen::main()->screenNumber(), 2u);
    const Rect frame = window.frame();
    EXPECT_EQ(frame.minX() - second.minX(), second.maxX() - frame.maxX());
    EXPECT_TRUE(second.contains(frame));
    EXPECT_GT(frame.minY() - second.minY(), second.maxY() - frame.maxY())
        << "a little above the middle";

    window.setFrameOrigin({100, 100});
    window.orderFront(nullptr);
    window.center();
    EXPECT_EQ(window.screen()->screenNumber(), 1u) << "on screen, it stays on its display";
    EXPECT_EQ(window.frame().minX(), 760);
}

TEST_F(DesktopTest, WindowsGoOntoTheShownSpaceOfTheirDisplayWhenFirstShown) {
    Window left(Rect::make(100, 100, 300, 200));
    Window right(Rect::make(2000, 100, 300, 200));
    EXPECT_FALSE(desktop.spaceOf(left));
    EXPECT_FALSE(left.isOnActiveSpace());
    left.orderFront(nullptr);
    right.setIsVisible(true);
    EXPECT_EQ(desktop.spaceOf(left), 1u);
    EXPECT_EQ(desktop.spaceOf(right), 4u);
    EXPECT_TRUE(left.isOnActiveSpace());

    switchTo(2);
    EXPECT_FALSE(left.isOnActiveSpace());
    EXPECT_TRUE(right.isOnActiveSpace());
    left.orderFront(nullptr);  // ordering a shown window again does not move it
    EXPECT_EQ(desktop.spaceOf(left), 1u);
    left.orderOut(nullptr);
    EXPECT_EQ(desktop.spaceOf(left), 1u);
    left.orderFront(nullptr);  // back from off screen: on the space shown now
    EXPECT_EQ(desktop.spaceOf(left), 2u);
    switchTo(1);

    left.setFrameOrigin({2100, 50});  // dragged onto the other display
    EXPECT_EQ(desktop.spaceOf(left), 4u);

    Window everywhere(Rect::make(0, 0, 50, 50));
    everywhere.setCollectionBehavior(Window::CollectionBehavior::canJoinAllSpaces);
    everywhere.orderFront(nullptr);
    switchTo(3);
    EXPECT_TRUE(everywhere.isOnActiveSpace());
}

TEST_F(DesktopTest, MakeKeyAndOrderFrontSwitchesOnlyForTheActiveApplicationAndMovableWindows) {
    Panel panel(Rect::make(0, 0, 1, 1), Window::Style::nonactivatingPanel, 2, false);
    panel.orderFront(nullptr);
    switchTo(2);
    posts = 0;
    const int switches = desktop.switchCount();

    panel.makeKeyAndOrderFront(nullptr);  // inactive application: no switch
    settle();
    EXPECT_EQ(desktop.shownSpace(1), 2u);
    EXPECT_TRUE(panel.isKeyWindow());

    Application::shared().activate(true);
    panel.setCollectionBehavior(Window::CollectionBehavior::stationary |
                                Window::CollectionBehavior::ignoresCycle);
    panel.makeKeyAndOrderFront(nullptr);  // stationary: no switch
    settle();
    EXPECT_EQ(desktop.shownSpace(1), 2u);

    panel.setCollectionBehavior(Window::CollectionBehavior::ignoresCycle);
    panel.makeKeyAndOrderFront(nullptr);
    settle();
    EXPECT_EQ(desktop.shownSpace(1), 1u);
    EXPECT_EQ(desktop.shownSpace(2), 4u);  // the other display keeps its space
    EXPECT_EQ(desktop.switchCount(), switches + 1);
    EXPECT_EQ(desktop.spaceOf(panel), 1u);
    EXPECT_EQ(posts, 1);

    // A window that cannot become key still switches, but stays unkeyed.
    NonKeyPanel other(Rect::make(1920, 0, 1, 1), Window::Style::borderless, 2, false);
    other.orderFront(nullptr);
    switchTo(5);
    other.makeKeyAndOrderFront(nullptr);
    settle();
    EXPECT_EQ(desktop.shownSpace(2), 4u);
    EXPECT_FALSE(other.isKeyWindow());
    EXPECT_TRUE(panel.isKeyWindow());

    // One that passes key status on switches and ends up not key.
    PassingPanel anchor(Rect::make(0, 0, 1, 1), Window::Style::borderless, 2, false);
    anchor.orderFront(nullptr);
    switchTo(3);
    anchor.makeKeyAndOrderFront(nullptr);
    settle();
    EXPECT_EQ(desktop.shownSpace(1), 1u);
    EXPECT_EQ(anchor.becameKey, 1);
    EXPECT_FALSE(anchor.isKeyWindow());
    EXPECT_FALSE(panel.isKeyWindow());  // it resigned when the anchor took over
    EXPECT_EQ(Window::keyWindow(), nullptr);
}

TEST_F(DesktopTest, ASwitchEndsAfterAQuarterSecondAndOneAskedForMidwayFollowsIt) {
    Application::shared().activate(true);
    Window window(Rect::make(100, 100, 100, 100));
    window.orderFront(nullptr);  // on space 1
    desktop.focusDisplay(2);
    EXPECT_TRUE(desktop.switchToSpace(2));
    clock.advance(249);
    EXPECT_EQ(desktop.shownSpace(1), 1u);
    EXPECT_TRUE(window.isOnActiveSpace()) << "the space left is shown until the end";
    EXPECT_EQ(Screen::main()->screenNumber(), 2u);
    EXPECT_EQ(posts, 0);
    window.makeKeyAndOrderFront(nullptr);  // back to space 1, after this switch
    EXPECT_TRUE(desktop.switchToSpace(1)) << "on its way there already: no third switch";

    clock.advance(1);
    EXPECT_EQ(desktop.shownSpace(1), 2u);
    EXPECT_FALSE(window.isOnActiveSpace());
    EXPECT_EQ(posts, 1);
    clock.advance(249);
    EXPECT_EQ(desktop.shownSpace(1), 2u);
    clock.advance(1);
    EXPECT_EQ(desktop.shownSpace(1), 1u);
    EXPECT_TRUE(window.isOnActiveSpace());
    EXPECT_EQ(posts, 2);
    clock.advance(1000);
    EXPECT_EQ(desktop.switchCount(), 2);
    EXPECT_EQ(posts, 2);

    // The duration is the desktop's to set; the space shown is no switch.
    desktop.setSwitchDuration(0.5);
    EXPECT_TRUE(desktop.switchToSpace(1));
    EXPECT_TRUE(desktop.switchToSpace(3));
    EXPECT_FALSE(desktop.switchToSpace(42));
    clock.advance(499);
    EXPECT_EQ(desktop.shownSpace(1), 1u);
    clock.advance(1);
    EXPECT_EQ(desktop.shownSpace(1), 3u);
    EXPECT_EQ(posts, 3);
}

TEST_F(DesktopTest, RemovingTheShownSpaceShowsTheNextAtOnce) {
    Window window(Rect::make(2000, 100, 100, 100));
    window.orderFront(nullptr);
    ASSERT_TRUE(desktop.removeSpace(4));
    EXPECT_EQ(desktop.shownSpace(2), 5u);
    EXPECT_EQ(desktop.spaceOf(window), 5u);
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(Screen::main()->screenNumber(), 2u);
    EXPECT_FALSE(desktop.removeSpace(5));  // a display keeps one space
}

TEST_F(DesktopTest, AWindowThatMovesToTheActiveSpaceFollowsInsteadOfSwitching) {
    Application::shared().activate(true);
    Window window(Rect::make(100, 100, 100, 100));
    window.setCollectionBehavior(Window::CollectionBehavior::moveToActiveSpace);
    window.orderFront(nullptr);
    switchTo(2);
    window.makeKeyAndOrderFront(nullptr);
    settle();
    EXPECT_EQ(desktop.shownSpace(1), 2u);
    EXPECT_EQ(desktop.spaceOf(window), 2u);
    EXPECT_TRUE(window.isOnActiveSpace());
}

TEST_F(DesktopTest, AWindowOfARemovedDisplaySwitchesTheDisplayItsSpaceWentTo) {
    Application::shared().activate(true);
    Window window(Rect::make(2000, 100, 300, 200));
    window.orderFront(nullptr);
    ASSERT_EQ(desktop.spaceOf(window), 4u);
    ASSERT_TRUE(desktop.removeDisplay(2));
    window.makeKeyAndOrderFront(nullptr);
    settle();
    EXPECT_EQ(desktop.shownSpace(1), 4u);
    EXPECT_TRUE(window.isOnActiveSpace());

    // With the last display gone, its spaces have nowhere to be shown.
    ASSERT_TRUE(desktop.removeDisplay(1));
    const int switches = desktop.switchCount();
    window.makeKeyAndOrderFront(nullptr);
    settle();
    EXPECT_EQ(desktop.switchCount(), switches);
    EXPECT_FALSE(window.isOnActiveSpace());
}

TEST_F(DesktopTest, APressOutsideOurWindowsActivatesTheApplicationThereUnlessAMenuIsOpen) {
    desktop.addApplication({501, "Safari", "com.apple.Safari", "/Applications/Safari.app", ""});
    desktop.addApplication({502, "Notes", "com.apple.Notes", "/Applications/Notes.app", ""});
    desktop.addWindow({0, 502, "List", 0, Rect::make(100, 100, 400, 300)});
    Window ours(Rect::make(1000, 500, 200, 100));
    Application::shared().activate(true);
    ours.makeKeyAndOrderFront(nullptr);
    auto& mouse = Mouse::shared();
    const auto pressAt = [&](Point where) {
        mouse.moveTo(where);
        mouse.press(EventType::leftMouseDown);
        mouse.press(EventType::leftMouseUp);
    };

    pressAt({1100, 520});  // on our window
    EXPECT_TRUE(ours.isKeyWindow());
    pressAt({200, 200});
    EXPECT_EQ(desktop.activeApplication(), 502);
    EXPECT_FALSE(Application::shared().isActive());
    EXPECT_FALSE(ours.isKeyWindow());

    ours.makeKeyWindow();
    Menu menu;
    menu.beginTracking();
    pressAt({1500, 900});
    EXPECT_FALSE(menu.isTracking());
    EXPECT_TRUE(ours.isKeyWindow()) << "the press only closed the menu";
    pressAt({1500, 900});  // the desktop itself
    EXPECT_FALSE(ours.isKeyWindow());
    mouse.resetForTesting();
}

TEST_F(DesktopTest, OtherApplicationsRunByTheirProcessIdentifierWithTheirIcons) {
    desktop.addApplication(
        {501, "Safari", "com.apple.Safari", "/Applications/Safari.app", "compass"});
    desktop.addApplication({502, "Tool", "", "", ""});

    const auto safari = RunningApplication::withProcessIdentifier(501);
    ASSERT_TRUE(safari);
    EXPECT_EQ(safari->bundleIdentifier(), "com.apple.Safari");
    EXPECT_EQ(safari->bundleURL(), std::filesystem::path("/Applications/Safari.app"));
    EXPECT_FALSE(safari->isTerminated());
    const auto tool = RunningApplication::withProcessIdentifier(502);
    ASSERT_TRUE(tool);
    EXPECT_FALSE(tool->bundleIdentifier());
    EXPECT_FALSE(tool->bundleURL());

    auto& workspace = Workspace::shared();
    EXPECT_EQ(workspace.iconForFile("/Applications/Safari.app"),
              workspace.iconForFile("/anywhere/compass"))
        << "drawn from the application's icon name";

    desktop.removeApplication(501);
    EXPECT_TRUE(safari->isTerminated());
    EXPECT_FALSE(RunningApplication::withProcessIdentifier(501));
}

}  // namespace
}  // namespace zelvana::platform
