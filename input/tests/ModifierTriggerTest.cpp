#include "input/ModifierTrigger.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "input/Directional.hpp"
#include "input/tests/InputTestSupport.hpp"

namespace zelvana::input::test {
namespace {

std::string name(Cardinal direction) {
    const char* names[] = {"u", "d", "l", "r"};
    return names[rawValue(direction) - 1];
}

class Recorder final : public ModifierTriggerDelegate {
public:
    void modifiersDidPress() override { calls.push_back("press"); }
    void modifiersDidRelease() override { calls.push_back("release"); }
    void mouseDidMove() override { calls.push_back("move"); }
    void arrowDidPress(Cardinal direction) override { calls.push_back("down " + name(direction)); }
    void arrowDidRelease(Cardinal direction) override { calls.push_back("up " + name(direction)); }
    std::vector<std::string> calls;
};

class ModifierTriggerTest : public InputTest {
protected:
    using Arrows = ModifierTrigger::Arrows;
    using Mouse = ModifierTrigger::Mouse;
    std::unique_ptr<ModifierTrigger> make(platform::ModifierFlags flags, Arrows arrows,
                                          Mouse mouse) {
        return std::make_unique<ModifierTrigger>(flags, arrows, mouse, &delegate);
    }
    // The Carbon modifiers of the system's hot keys, one per key in order.
    static std::vector<std::uint32_t> hotKeyModifiers() {
        std::vector<std::uint32_t> modifiers;
        for (const auto& hotKey : center().registeredHotKeys())
            modifiers.push_back(hotKey.modifiers);
        return modifiers;
    }
    static std::vector<std::uint32_t> hotKeyCodes() {
        std::vector<std::uint32_t> codes;
        for (const auto& hotKey : center().registeredHotKeys()) codes.push_back(hotKey.keyCode);
        return codes;
    }

    Recorder delegate;
    static constexpr platform::ModifierFlags kControlOption = kControl | kOption;
};

TEST(DirectionTest, RawValuesAndKeyTables) {
    EXPECT_EQ(cardinalFromRawValue(4), Cardinal::r);
    EXPECT_EQ(cardinalFromRawValue(1), Cardinal::u);
    EXPECT_FALSE(cardinalFromRawValue(0));
    EXPECT_FALSE(cardinalFromRawValue(5));
    EXPECT_EQ(directionalFromRawValue(8), Directional::dr);
    EXPECT_EQ(directionalFromRawValue(5), Directional::ul);
    EXPECT_FALSE(directionalFromRawValue(0));
    EXPECT_FALSE(directionalFromRawValue(9));

    EXPECT_EQ(arrowKeyCodes(), (std::vector<std::uint16_t>{123, 124, 126, 125}));
    EXPECT_EQ(vimKeyCodes(), (std::vector<std::uint16_t>{4, 37, 40, 38}));
    std::vector<std::string> arrows;
    std::vector<std::string> vim;
    for (const auto code : keyCodes(Keyset::arrows)) arrows.push_back(name(*keyDirection(code)));
    for (const auto code : keyCodes(Keyset::vim)) vim.push_back(name(*keyDirection(code)));
    EXPECT_EQ(arrows, (std::vector<std::string>{"l", "r", "u", "d"}));
    EXPECT_EQ(vim, arrows);
    EXPECT_FALSE(keyDirection(0));
    EXPECT_FALSE(keyDirection(127));
}

TEST_F(ModifierTriggerTest, ArrowsPressedWithTheCombinationAnywhereAreReported) {
    auto trigger = make(kControlOption, Arrows::on, Mouse::off);
    EXPECT_EQ(hotKeyCodes(), (std::vector<std::uint32_t>{123, 124, 126, 125}));
    EXPECT_EQ(hotKeyModifiers(), std::vector<std::uint32_t>(4, 0x1800));
    EXPECT_EQ(installedMonitors(), 0u);  // no mouse listening: no monitor runs

    keyboard().press(kUpArrow, kControlOption);
    keyboard().press(kLeftArrow, kControlOption | kCapsLock);  // caps lock does not matter
    keyboard().keyDown(kDownArrow, kControlOption);
    keyboard().keyUp(kDownArrow, kControl);                  // the release follows its press
    keyboard().press(kRightArrow, kControlOption | kShift);  // another combination
    EXPECT_EQ(delegate.calls,
              (std::vector<std::string>{"down u", "up u", "down l", "up l", "down d", "up d"}));

    // Every write takes effect at once; the delegate can be replaced or removed.
    Recorder other;
    trigger->setDelegate(&other);
    keyboard().press(kRightArrow, kControlOption);
    trigger->setDelegate(nullptr);
    keyboard().press(kRightArrow, kControlOption);
    EXPECT_EQ(other.calls, (std::vector<std::string>{"down r", "up r"}));

    trigger->setModifierFlags(kCommand);
    EXPECT_EQ(hotKeyModifiers(), std::vector<std::uint32_t>(4, 0x100));
    trigger->setHasActiveArrows(false);
    EXPECT_TRUE(center().registeredHotKeys().empty());
    EXPECT_TRUE(triggerHotKeys().hotKeyIds().empty());
    trigger->setHasActiveArrows(true);
    EXPECT_EQ(center().registeredHotKeys().size(), 4u);
    trigger->setModifierFlags({});
    EXPECT_TRUE(center().registeredHotKeys().empty());

    // A refused key leaves the others registered; a destroyed trigger gives
    // its keys back.
    center().refuseHotKey(kUpArrow, platform::controlKey);
    trigger->setModifierFlags(kControl);
    EXPECT_EQ(hotKeyCodes(), (std::vector<std::uint32_t>{123, 124, 125}));
    trigger.reset();
    EXPECT_TRUE(center().registeredHotKeys().empty());
}

TEST_F(ModifierTriggerTest, FlagsWithoutAHotKeyModifierTakeNoBareArrows) {
    // Caps lock alone (a hand-edited setting) or function alone would make
    // hot keys of the bare arrows.
    auto trigger = make(kCapsLock, Arrows::on, Mouse::off);
    EXPECT_TRUE(center().registeredHotKeys().empty());
    trigger->setModifierFlags(kFunction | kCapsLock);
    EXPECT_TRUE(center().registeredHotKeys().empty());
    keyboard().press(kLeftArrow);
    EXPECT_TRUE(delegate.calls.empty());

    // Caps lock beside real modifiers is dropped from the hot keys.
    trigger->setModifierFlags(kControlOption | kCapsLock);
    EXPECT_EQ(hotKeyModifiers(), std::vector<std::uint32_t>(4, 0x1800));
}

TEST_F(ModifierTriggerTest, HeldMeansExactlyTheCombinationWithCapsLockOnOrOff) {
    ModAndMouseListener listener;
    listener.setConfiguredFlags(kControlOption);
    const auto held = [&](platform::ModifierFlags flags) {
        return listener.isHeld(flagsEvent(flags));
    };
    EXPECT_TRUE(held(kControlOption));
    EXPECT_TRUE(held(kControlOption | kCapsLock));
    EXPECT_TRUE(held(kControlOption | platform::ModifierFlags::fromRaw(
                                          0x1234)));  // device-dependent bits do not count
    EXPECT_FALSE(held(kControlOption | kShift));
    EXPECT_FALSE(held(kControlOption | kFunction));
    EXPECT_FALSE(held(kControl));
    EXPECT_FALSE(held({}));
    EXPECT_FALSE(held(kCapsLock));

    // Caps lock in the setting itself must then be on.
    listener.setConfiguredFlags(kControlOption | kCapsLock);
    EXPECT_TRUE(held(kControlOption | kCapsLock));
    EXPECT_FALSE(held(kControlOption));

    // A single modifier; and nothing configured never holds.
    listener.setConfiguredFlags(kCommand);
    EXPECT_TRUE(held(kCommand));
    EXPECT_FALSE(held(kCommand | kOption));
    listener.setConfiguredFlags({});
    EXPECT_FALSE(held({}));
    EXPECT_FALSE(held(kCommand));
}

TEST_F(ModifierTriggerTest, WithMouseListeningTheCombinationAndMovesAreReported) {
    auto trigger = make(kControlOption, Arrows::off, Mouse::on);
    const auto& listener = trigger->modAndMouseListener();
    EXPECT_TRUE(listener.modifierMonitor().isRunning());
    EXPECT_FALSE(listener.mouseMonitor().isRunning());

    platform::EventMonitors::dispatchGlobal(mouseMovedEvent(kControlOption));  // not listened yet
    keyboard().flagsChanged(kControl);
    keyboard().flagsChanged(kControlOption);
    EXPECT_TRUE(listener.mouseMonitor().isRunning());
    platform::EventMonitors::dispatchGlobal(mouseMovedEvent(kControlOption));
    keyboard().flagsChanged(kControlOption | kCapsLock);  // still held: a press again
    keyboard().flagsChanged(kControlOption | kShift);
    EXPECT_FALSE(listener.mouseMonitor().isRunning());
    EXPECT_EQ(delegate.calls,
              (std::vector<std::string>{"release", "press", "move", "press", "release"}));

    // A move that finds the combination let go stops listening, untold.
    delegate.calls.clear();
    keyboard().flagsChanged(kControlOption);
    platform::EventMonitors::dispatchGlobal(mouseMovedEvent(kControl));
    EXPECT_FALSE(listener.mouseMonitor().isRunning());
    platform::EventMonitors::dispatchGlobal(mouseMovedEvent(kControlOption));
    EXPECT_EQ(delegate.calls, std::vector<std::string>{"press"});

    // Our own application's flag changes are seen too, and go on.
    delegate.calls.clear();
    platform::Application::shared().activate(true);
    keyboard().flagsChanged({});
    clock.runPending();
    EXPECT_EQ(delegate.calls, std::vector<std::string>{"release"});
    EXPECT_EQ(platform::Application::shared().deliveredEvents().size(), 1u);
}

TEST_F(ModifierTriggerTest, MonitoringFollowsTheSettingsWithoutReportingARelease) {
    auto trigger = make({}, Arrows::on, Mouse::on);
    const auto& listener = trigger->modAndMouseListener();
    EXPECT_FALSE(listener.modifierMonitor().isRunning());
    EXPECT_TRUE(center().registeredHotKeys().empty());

    trigger->setModifierFlags(kCommand);
    EXPECT_TRUE(listener.modifierMonitor().isRunning());
    keyboard().flagsChanged(kCommand);
    EXPECT_TRUE(listener.mouseMonitor().isRunning());

    // A new combination keeps the monitors; the next change reports.
    trigger->setModifierFlags(kCommand | kShift);
    trigger->setModifierFlags(kCommand | kShift);
    EXPECT_EQ(installedMonitors(), 4u);
    EXPECT_TRUE(listener.mouseMonitor().isRunning());
    keyboard().flagsChanged(kCommand | kShift);
    EXPECT_EQ(delegate.calls, (std::vector<std::string>{"press", "press"}));

    // Off, or no flags: both monitors stop, nothing is reported.
    trigger->setHasActiveMouseListening(false);
    EXPECT_EQ(installedMonitors(), 0u);
    trigger->setHasActiveMouseListening(true);
    EXPECT_EQ(installedMonitors(), 2u);
    keyboard().flagsChanged(kCommand | kShift);
    trigger->setModifierFlags({});
    EXPECT_EQ(installedMonitors(), 0u);
    EXPECT_EQ(delegate.calls, (std::vector<std::string>{"press", "press", "press"}));

    trigger->setModifierFlags(kCommand);
    trigger.reset();
    EXPECT_EQ(installedMonitors(), 0u);
}

}  // namespace
}  // namespace zelvana::input::test
