#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KeyboardShortcuts/CarbonKeyboardShortcuts.hpp"
#include "input/ArrowHotKeys.hpp"
#include "input/tests/InputTestSupport.hpp"

namespace zelvana::input::test {
namespace {

using platform::CarbonEvent;
using platform::EventHotKeyID;

class CarbonKeyboardShortcutsTest : public InputTest {
protected:
    void add(const Shortcut& shortcut, const std::string& label) {
        records.push_back(triggerHotKeys().registerShortcut(
            keyboardshortcuts::Shortcut::fromCarbon(shortcut.carbonKeyCode(),
                                                    shortcut.carbonModifiers()),
            [this, label](const auto&) { calls.push_back(label + " down"); },
            [this, label](const auto&) { calls.push_back(label + " up"); }));
    }
    void addNamed(const keyboardshortcuts::Shortcut& shortcut, const std::string& label) {
        records.push_back(keyboardshortcuts::namedHotKeys().registerShortcut(
            shortcut, [this, label](const auto&) { calls.push_back(label + " down"); },
            [this, label](const auto&) { calls.push_back(label + " up"); }));
    }
    static platform::OSStatus send(platform::EventKind kind, EventHotKeyID id) {
        const CarbonEvent event = CarbonEvent::hotKeyEvent(kind, id);
        return platform::sendEventToEventTarget(&event, platform::eventDispatcherTarget());
    }

    const Shortcut left{kLeftArrow, kControl | kOption};
    const Shortcut right{kRightArrow, kControl | kOption};
    const keyboardshortcuts::Shortcut space{keyboardshortcuts::Key(49),
                                            platform::Modifier::command};
    static keyboardshortcuts::CarbonKeyboardShortcuts& trigger() { return triggerHotKeys(); }
    static keyboardshortcuts::CarbonKeyboardShortcuts& named() {
        return keyboardshortcuts::namedHotKeys();
    }

    const platform::FourCharCode kTriggerSignature = platform::fourCharCode("QDLN");
    const platform::FourCharCode kNamedSignature = platform::fourCharCode("VQTB");
    std::vector<std::string> calls;
    std::vector<platform::Subscription> records;
};

TEST_F(CarbonKeyboardShortcutsTest, IdsCountFromOneAcrossRefusalsAndTheHandlerStays) {
    center().refuseHotKey(kLeftArrow, platform::controlKey | platform::optionKey);
    add(left, "left");
    EXPECT_TRUE(trigger().hotKeyIds().empty());
    EXPECT_FALSE(trigger().eventHandler());
    add(right, "right");
    EXPECT_EQ(trigger().hotKeyIds(), std::vector<std::int64_t>{2});
    const auto registered = center().registeredHotKeys();
    ASSERT_EQ(registered.size(), 1u);
    EXPECT_EQ(registered.front().id, (EventHotKeyID{kTriggerSignature, 2}));
    EXPECT_EQ(registered.front().modifiers, 0x1800u);

    const auto handler = trigger().eventHandler();
    ASSERT_TRUE(handler);
    EXPECT_EQ(center().eventTypes(*handler).size(), 2u);
    trigger().removeAll();
    trigger().removeAll();
    EXPECT_TRUE(center().registeredHotKeys().empty());
    EXPECT_EQ(trigger().eventHandler(), handler);

    center().allowHotKey(kLeftArrow, platform::controlKey | platform::optionKey);
    add(left, "left");
    keyboard().press(kLeftArrow, kControl | kOption | kCapsLock);
    EXPECT_EQ(calls, (std::vector<std::string>{"left down", "left up"}));
    EXPECT_EQ(trigger().hotKeyIds(), std::vector<std::int64_t>{3});
}

TEST_F(CarbonKeyboardShortcutsTest, TheHandlerAnswersOnlyForItsOwnKnownHotKeys) {
    add(left, "left");
    const auto signature = kTriggerSignature;
    EXPECT_EQ(trigger().handleKeyboardEvent(nullptr, nullptr), platform::eventNotHandledErr);
    EXPECT_EQ(send(platform::kEventHotKeyPressed, {signature, 1}), platform::noErr);
    EXPECT_EQ(send(platform::kEventHotKeyReleased, {signature, 1}), platform::noErr);
    EXPECT_EQ(send(platform::kEventHotKeyPressed, {signature, 7}), platform::eventNotHandledErr);
    EXPECT_EQ(send(platform::kEventHotKeyPressed, {kNamedSignature, 1}),
              platform::eventNotHandledErr);
    EXPECT_EQ(calls, (std::vector<std::string>{"left down", "left up"}));

    // A raw key event carries no hot-key id: its status comes back.
    const CarbonEvent raw = CarbonEvent::rawKeyEvent(platform::kEventRawKeyDown, kLeftArrow, 0);
    EXPECT_EQ(trigger().handleHotKeyEvent(&raw), platform::eventParameterNotFoundErr);
}

// Both registries hand out id 1; each handler must take only its own.
TEST_F(CarbonKeyboardShortcutsTest, BothRegistriesShareIdsAndSeeOnlyTheirOwnEventsInEitherOrder) {
    for (const bool namedFirst : {true, false}) {
        SCOPED_TRACE(namedFirst ? "named registry installed first" : "trigger installed first");
        resetAll();
        calls.clear();
        if (namedFirst) addNamed(space, "named");
        add(left, "trigger");
        if (!namedFirst) addNamed(space, "named");
        ASSERT_EQ(named().hotKeyIds(), std::vector<std::int64_t>{1});
        ASSERT_EQ(trigger().hotKeyIds(), std::vector<std::int64_t>{1});
        ASSERT_EQ(center().handlers(platform::eventDispatcherTarget()).size(), 2u);

        keyboard().press(49, kCommand);
        keyboard().press(kLeftArrow, kControl | kOption);
        EXPECT_EQ(calls, (std::vector<std::string>{"named down", "named up", "trigger down",
                                                   "trigger up"}));
    }
}

// The named layer's switch is not the trigger's: its arrows keep working.
TEST_F(CarbonKeyboardShortcutsTest, SwitchingNamedHotKeysOffLeavesTheTriggersInPlace) {
    addNamed(space, "named");
    keyboardshortcuts::setHotKeysEnabled(false);
    add(left, "trigger");
    add(right, "trigger");
    EXPECT_EQ(center().registeredHotKeys().size(), 2u);
    keyboard().press(49, kCommand);
    keyboard().press(kLeftArrow, kControl | kOption);
    EXPECT_EQ(calls, (std::vector<std::string>{"trigger down", "trigger up"}));
    keyboardshortcuts::setHotKeysEnabled(true);
}

TEST(ShortcutTest, ModifiersKeepOnlyTheFourThatHotKeysUse) {
    const Shortcut fromFlags(kLeftArrow, kControl | kShift | kCapsLock);
    EXPECT_EQ(fromFlags.carbonModifiers(), 0x1200);
    EXPECT_EQ(fromFlags.modifiers(), kControl | kShift);
    EXPECT_EQ(Shortcut(1, kCommand | kOption | kFunction).carbonModifiers(), 0x900);
    const Shortcut fromCarbon = Shortcut::fromCarbon(kLeftArrow, 0x1200 | platform::alphaLock);
    EXPECT_EQ(fromCarbon, fromFlags);
    EXPECT_NE(fromCarbon, Shortcut(kRightArrow, kControl | kShift));
    EXPECT_EQ(std::hash<Shortcut>{}(fromCarbon), std::hash<Shortcut>{}(fromFlags));

    EXPECT_EQ(Shortcut::fromJSON(fromFlags.toJSON()), fromFlags);
    EXPECT_EQ(Shortcut::fromJSON(R"({"carbonModifiers":256,"carbonKeyCode":3})"),
              Shortcut(3, kCommand));
    EXPECT_FALSE(Shortcut::fromJSON(R"({"carbonKeyCode":3})"));
    EXPECT_FALSE(Shortcut::fromJSON(R"({"carbonKeyCode":"3","carbonModifiers":256})"));
    EXPECT_FALSE(Shortcut::fromJSON("not json"));
    // Too large for 64 signed bits: refused, never read as -1.
    EXPECT_FALSE(
        Shortcut::fromJSON(R"({"carbonKeyCode":18446744073709551615,"carbonModifiers":256})"));
    EXPECT_FALSE(
        Shortcut::fromJSON(R"({"carbonKeyCode":3,"carbonModifiers":9223372036854775808})"));
    EXPECT_EQ(Shortcut::fromJSON(R"({"carbonKeyCode":9223372036854775807,"carbonModifiers":0})")
                  ->carbonKeyCode(),
              INT64_MAX);
}

}  // namespace
}  // namespace zelvana::input::test
