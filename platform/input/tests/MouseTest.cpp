#include "platform/simulator/Mouse.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "platform/appkit/Application.hpp"
#include "platform/appkit/EventMonitors.hpp"
#include "platform/dispatch/Clock.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/input/EventTap.hpp"
#include "platform/simulator/Keyboard.hpp"

namespace zelvana::platform {
namespace {

class MouseTest : public ::testing::Test {
protected:
    MouseTest() { resetAll(); }
    ~MouseTest() override { resetAll(); }
    static void resetAll() {
        Mouse::shared().resetForTesting();
        Keyboard::shared().resetForTesting();
        EventMonitors::resetForTesting();
        EventTap::resetForTesting();
        Application::shared().resetForTesting();
        RunLoop::main().resetForTesting();
    }

    Mouse& mouse = Mouse::shared();
    VirtualClock clock;
};

TEST_F(MouseTest, MovesReachTheFrontmostApplicationsMonitorsAndWarpsAreRecorded) {
    std::vector<EventType> global;
    std::vector<EventType> local;
    const auto globalMonitor =
        Event::addGlobalMonitor(EventMask::any, [&](const Event& e) { global.push_back(e.type); });
    const auto localMonitor = Event::addLocalMonitor(EventMask::any, [&](const Event& e) {
        local.push_back(e.type);
        return std::optional<Event>(e);
    });

    mouse.moveTo({100, 200});
    mouse.press(EventType::leftMouseDown);
    EXPECT_EQ(mouse.location(), (Point{100, 200}));
    EXPECT_EQ(global, (std::vector<EventType>{EventType::mouseMoved, EventType::leftMouseDown}));

    Application::shared().activate(true);
    mouse.moveTo({120, 200});
    clock.runPending();
    EXPECT_EQ(local, std::vector<EventType>{EventType::mouseMoved});
    EXPECT_EQ(global.size(), 2u);

    mouse.warpCursorPosition({10, 20});
    EXPECT_EQ(mouse.location(), (Point{10, 20}));
    mouse.associateMouseAndCursorPosition(false);
    mouse.moveTo({500, 500});  // the event goes out, the pointer stays
    EXPECT_EQ(mouse.location(), (Point{10, 20}));
    EXPECT_EQ(mouse.warps(), std::vector<Point>{(Point{10, 20})});
}

TEST_F(MouseTest, MouseEventsCarryTheModifierKeysThatAreHeld) {
    std::vector<ModifierFlags> global;
    const auto monitor = Event::addGlobalMonitor(
        EventMask::any, [&](const Event& e) { global.push_back(e.modifierFlags); });
    mouse.moveTo({1, 1});
    Keyboard::shared().flagsChanged(Event::control | Event::option);
    mouse.moveTo({2, 2});
    mouse.press(EventType::leftMouseDown);
    Keyboard::shared().flagsChanged({});
    mouse.moveTo({3, 3});
    // The flags change itself reaches the monitor too.
    const ModifierFlags none, held = Event::control | Event::option;
    EXPECT_EQ(global, (std::vector<ModifierFlags>{none, held, held, held, none, none}));
}

}  // namespace
}  // namespace zelvana::platform
