#include "Tools/KeyPresser.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "platform/testing/SimulatedInput.hpp"

namespace zelvana::tools {
namespace {

using platform::Event;
using platform::EventType;

using platform::ModifierFlags;

constexpr std::uint64_t kCommand = 1u << 20;
constexpr std::uint64_t kShift = 1u << 17;
constexpr auto kCommandFlags = ModifierFlags::fromRaw(kCommand);
constexpr auto kShiftFlags = ModifierFlags::fromRaw(kShift);

struct Seen {
    EventType type;
    std::uint16_t keyCode;
    std::uint64_t flags;
    bool operator==(const Seen&) const = default;
};

// Our application is inactive, so a global monitor sees every posted key.
class KeyPresserTest : public ::testing::Test {
protected:
    KeyPresserTest() {
        platform::testing::resetSimulatedInput();
        monitor = Event::addGlobalMonitor(
            platform::EventMask::keyDown | platform::EventMask::keyUp |
                platform::EventMask::flagsChanged,
            [this](const Event& event) {
                seen.push_back({event.type, event.keyCode, event.modifierFlags.rawValue()});
            });
    }
    ~KeyPresserTest() override {
        monitor.cancel();
        platform::testing::resetSimulatedInput();
    }

    platform::Subscription monitor;
    std::vector<Seen> seen;
};

TEST_F(KeyPresserTest, AnInstancePostsDownThenUpWithTheGivenFlags) {
    KeyPresser presser;
    presser.press(0, kShiftFlags);
    presser.press(1, ModifierFlags{});
    presser.press(2, kShiftFlags, FlagsOnKeyUp::no);
    EXPECT_EQ(seen, (std::vector<Seen>{{EventType::keyDown, 0, kShift},
                                       {EventType::keyUp, 0, kShift},
                                       {EventType::keyDown, 1, 0},
                                       {EventType::keyUp, 1, 0},
                                       {EventType::keyDown, 2, kShift},
                                       {EventType::keyUp, 2, 0}}));
}

TEST_F(KeyPresserTest, DirectionsChooseTheEventsAndCommandIsKeyCode55) {
    KeyPresser::press({36, kCommandFlags}, kKeyDirectionNone, ForceFlags::no);
    KeyPresser::press({36, kCommandFlags}, KeyDirection::down, ForceFlags::no);
    KeyPresser::press({36, std::nullopt}, KeyDirection::up, ForceFlags::no);
    KeyPresser::pressCommand(kKeyDirectionBoth);
    KeyPresser::releaseCapsLock();
    EXPECT_EQ(seen, (std::vector<Seen>{{EventType::keyDown, 36, kCommand},
                                       {EventType::keyUp, 36, 0},
                                       {EventType::flagsChanged, 55, kCommand},
                                       {EventType::flagsChanged, 55, 0},
                                       {EventType::flagsChanged, 57, 0}}));
}

TEST_F(KeyPresserTest, ForcedZeroFlagsClearWhatTheSourceHolds) {
    KeyPresser::pressCommand(KeyDirection::down);
    KeyPresser::press({0, ModifierFlags{}});
    KeyPresser::press({1, ModifierFlags{}}, kKeyDirectionBoth, ForceFlags::yes);
    KeyPresser::pressCommand(KeyDirection::up);
    EXPECT_EQ(seen, (std::vector<Seen>{{EventType::flagsChanged, 55, kCommand},
                                       {EventType::keyDown, 0, kCommand},
                                       {EventType::keyUp, 0, kCommand},
                                       {EventType::keyDown, 1, 0},
                                       {EventType::keyUp, 1, 0},
                                       {EventType::flagsChanged, 55, 0}}));
}

TEST(KeyDirection, RawValuesAndSetOperations) {
    EXPECT_EQ(KeyDirections(KeyDirection::up).rawValue(), 1);
    EXPECT_EQ(KeyDirections(KeyDirection::down).rawValue(), 2);
    EXPECT_EQ(kKeyDirectionBoth.rawValue(), 3);
    EXPECT_EQ(kKeyDirectionNone.rawValue(), 0);
    EXPECT_EQ(kKeyDirectionBoth.without(KeyDirection::up), KeyDirections(KeyDirection::down));
    EXPECT_EQ(kKeyDirectionBoth ^ KeyDirection::down, KeyDirections(KeyDirection::up));
}

}  // namespace
}  // namespace zelvana::tools
