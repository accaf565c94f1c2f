#include <gtest/gtest.h>

#include "GridPanel/GridPanelWindowController.hpp"
#include "Zelvana/Driver/CommandInput.hpp"
#include "Zelvana/GlobalDefaults.hpp"
#include "Zelvana/tests/HubFixture.hpp"
#include "platform/appkit/EventMonitors.hpp"
#include "platform/simulator/Mouse.hpp"
#include "platform/system/Permissions.hpp"

namespace zelvana::driver::test {
namespace {

using platform::EventType;
using platform::Modifier;

// The real hub on the simulated desktop, driven through the command lines.
class SimulatedUserTest : public core::test::HubFixture {
protected:
    void run(std::initializer_list<const char*> lines) {
        for (const char* line : lines) input.handleTerminalLine(line);
    }
    // What a global monitor sees (our application is not active).
    void watchEvents() {
        monitor = platform::Event::addGlobalMonitor(
            platform::EventMask::any,
            [this](const platform::Event& event) { seen.push_back(event); });
    }

    std::vector<std::string> errors;
    CommandInput input{[] {}, [](const std::string&) {},
                       [this](const std::string& line) { errors.push_back(line); }};
    std::vector<platform::Event> seen;
    platform::Subscription monitor;
};

struct Seen {
    EventType type;
    std::uint16_t keyCode;
    std::uint64_t flags;
    bool operator==(const Seen&) const = default;
};

std::vector<Seen> keys(const std::vector<platform::Event>& events) {
    std::vector<Seen> result;
    for (const auto& event : events) {
        result.push_back({event.type, event.keyCode, event.modifierFlags.rawValue()});
    }
    return result;
}

TEST_F(SimulatedUserTest, AChordHoldsItsModifiersAroundItsKeyAsAKeyboardDoes) {
    watchEvents();
    run({"press ctrl+opt+right"});
    const std::uint64_t ctrl = 0x40000, both = 0xC0000;
    EXPECT_EQ(keys(seen), (std::vector<Seen>{{EventType::flagsChanged, 59, ctrl},
                                             {EventType::flagsChanged, 58, both},
                                             {EventType::keyDown, 124, both},
                                             {EventType::keyUp, 124, both},
                                             {EventType::flagsChanged, 58, ctrl},
                                             {EventType::flagsChanged, 59, 0}}));
    seen.clear();
    run({"down cmd", "press cmd+a", "up cmd", "press capslock", "press b"});
    const std::uint64_t cmd = 0x100000, caps = 0x10000;
    EXPECT_EQ(keys(seen), (std::vector<Seen>{{EventType::flagsChanged, 55, cmd},
                                             {EventType::keyDown, 0, cmd},
                                             {EventType::keyUp, 0, cmd},
                                             {EventType::flagsChanged, 55, 0},
                                             {EventType::flagsChanged, 57, caps},
                                             {EventType::keyDown, 11, caps},
                                             {EventType::keyUp, 11, caps}}))
        << "an earlier down stays held; caps lock stays on";
    EXPECT_TRUE(errors.empty());
}

TEST_F(SimulatedUserTest, TypingShiftsForCapitalsComposesAccentsAndRefusesWhatNoKeyTypes) {
    watchEvents();
    run({"type Hi!"});
    const std::uint64_t shift = 0x20000;
    EXPECT_EQ(keys(seen), (std::vector<Seen>{{EventType::flagsChanged, 56, shift},
                                             {EventType::keyDown, 4, shift},
                                             {EventType::keyUp, 4, shift},
                                             {EventType::flagsChanged, 56, 0},
                                             {EventType::keyDown, 34, 0},
                                             {EventType::keyUp, 34, 0},
                                             {EventType::flagsChanged, 56, shift},
                                             {EventType::keyDown, 18, shift},
                                             {EventType::keyUp, 18, shift},
                                             {EventType::flagsChanged, 56, 0}}));
    EXPECT_EQ(seen[1].characters, "H");
    seen.clear();
    run({"type ab\xE6\xBC\xA2", "up a", "up cmd+a"});
    EXPECT_TRUE(seen.empty()) << "nothing typed, nothing released";
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(
        errors[0],
        "terminal line 2: no key types \"\xE6\xBC\xA2\" on the com.apple.keylayout.US layout");
    EXPECT_EQ(errors[1], "terminal line 3: not every key of the chord is down");

    seen.clear();
    run({"type \xC3\xA9"});  // é: the dead key opt+e, then e
    const std::uint64_t opt = 0x80000;
    EXPECT_EQ(keys(seen), (std::vector<Seen>{{EventType::flagsChanged, 58, opt},
                                             {EventType::keyDown, 14, opt},
                                             {EventType::keyUp, 14, opt},
                                             {EventType::flagsChanged, 58, 0},
                                             {EventType::keyDown, 14, 0},
                                             {EventType::keyUp, 14, 0}}));
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen[1].characters, "");
    EXPECT_EQ(seen[4].characters, "\xC3\xA9");
}

TEST_F(SimulatedUserTest, TheShowShortcutOpensStepsAndSwitchesOnRelease) {
    start();
    setShow(spaceKey, Modifier::command);
    run({"down cmd", "press space"});
    clock.runPending();
    EXPECT_TRUE(panelOpen());
    run({"press space", "up cmd"});
    clock.advance(settleTime);
    EXPECT_EQ(shown(), spaces()[1]);
    EXPECT_FALSE(panelOpen());
}

TEST_F(SimulatedUserTest, SwipesAndRestToOneReachTheHubsGestures) {
    core::GlobalDefaults::gesture().setValue(2);  // four-finger swipe
    start(3);
    run({"swipe 4 right"});
    run({"swipe 4 right"});
    EXPECT_EQ(errors, std::vector<std::string>{"terminal line 2: the fingers are still moving"});
    clock.advance(200 + settleTime);
    EXPECT_EQ(shown(), spaces()[1]);
    run({"swipe 3 right"});
    clock.advance(200 + settleTime);
    EXPECT_EQ(shown(), spaces()[1]) << "three fingers are not the chosen gesture";

    hub->gestureDidChange(6);  // three fingers rest to one, then steer
    run({"rest 3"});
    clock.advance(200);
    EXPECT_TRUE(panelOpen());
    run({"steer right", "lift"});
    clock.advance(settleTime);
    EXPECT_EQ(shown(), spaces()[2]);
    run({"lift", "steer left"});
    EXPECT_EQ(errors.size(), 3u);
}

TEST_F(SimulatedUserTest, ThePointerStaysOnTheDisplaysAndDragsWithTheButtonHeld) {
    addDisplay(1);
    watchEvents();
    run({"click 1920 10", "drag 10 10 2500 10", "move -1 0"});
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(errors, (std::vector<std::string>{"terminal line 1: (1920, 10) is off every display",
                                                "terminal line 2: (2500, 10) is off every display",
                                                "terminal line 3: (-1, 0) is off every display"}));
    run({"drag 10 10 110 50"});
    std::vector<EventType> types;
    for (const auto& event : seen) types.push_back(event.type);
    EXPECT_EQ(types,
              (std::vector<EventType>{EventType::mouseMoved, EventType::leftMouseDown,
                                      EventType::leftMouseDragged, EventType::leftMouseDragged,
                                      EventType::leftMouseDragged, EventType::leftMouseDragged,
                                      EventType::leftMouseUp}));
    EXPECT_EQ(seen[2].location, (platform::Point{35, 20}));
    EXPECT_EQ(platform::Mouse::shared().location(), (platform::Point{110, 50}));

    seen.clear();
    errors.clear();
    run({"mouse up", "mouse down 10 10", "move 30 40", "click 5 5", "drag 1 1 2 2", "mouse up"});
    types.clear();
    for (const auto& event : seen) types.push_back(event.type);
    EXPECT_EQ(types, (std::vector<EventType>{EventType::mouseMoved, EventType::leftMouseDown,
                                             EventType::leftMouseDragged, EventType::leftMouseUp}))
        << "a held button turns a move into a drag";
    EXPECT_EQ(errors.size(), 3u) << "no release without a press, no click or drag while held";
}

TEST_F(SimulatedUserTest, PermissionsFollowThePersonsSwitch) {
    using platform::Permissions;
    run({"permission accessibility off", "permission input-monitoring off"});
    EXPECT_FALSE(Permissions::isAccessibilityTrusted());
    EXPECT_EQ(Permissions::inputMonitoringAccess(), Permissions::Access::denied);
    run({"permission input-monitoring on"});
    EXPECT_EQ(Permissions::inputMonitoringAccess(), Permissions::Access::granted);
}

}  // namespace
}  // namespace zelvana::driver::test
