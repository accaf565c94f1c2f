#include "KeyboardShortcuts/CarbonKeyboardShortcuts.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "KeyboardShortcuts/tests/ShortcutsTestSupport.hpp"

namespace zelvana::keyboardshortcuts::test {
namespace {

using platform::CarbonEvent;
using platform::EventHotKeyID;

class CarbonKeyboardShortcutsTest : public ShortcutsTest {
protected:
    void add(const Shortcut& shortcut, const std::string& label) {
        records[label] = namedHotKeys().registerShortcut(
            shortcut, [this, label](const Shortcut&) { calls.push_back(label + " down"); },
            [this, label](const Shortcut&) { calls.push_back(label + " up"); });
    }
    static void refuse(const Shortcut& shortcut) {
        center().refuseHotKey(static_cast<std::uint32_t>(shortcut.carbonKeyCode()),
                              static_cast<std::uint32_t>(shortcut.carbonModifiers()));
    }
    static std::optional<std::uint32_t> systemId(const Shortcut& shortcut) {
        auto hotKey = center().hotKeyFor(static_cast<std::uint32_t>(shortcut.carbonKeyCode()),
                                         static_cast<std::uint32_t>(shortcut.carbonModifiers()));
        if (!hotKey) return std::nullopt;
        return hotKey->id.id;
    }

    const Shortcut a{Key::a, kCommand | kOption};
    const Shortcut b{Key::b, kCommand | kOption};
    const Shortcut c{Key::c, kCommand | kOption};
    std::vector<std::string> calls;
    std::map<std::string, platform::Subscription> records;
};

TEST_F(CarbonKeyboardShortcutsTest, IdsAreNeverReusedAndRefusalsAreDropped) {
    add(a, "a");
    refuse(b);
    add(b, "b");
    add(c, "c");
    EXPECT_EQ(namedHotKeys().hotKeyIds(), (std::vector<std::int64_t>{1, 3}));
    EXPECT_FALSE(namedHotKeys().isRegistered(b));
    EXPECT_EQ(systemId(c), 3u);
    EXPECT_EQ(center().registeredHotKeys().front().id.signature, platform::fourCharCode("VQTB"));

    const auto target = platform::eventDispatcherTarget();
    ASSERT_EQ(center().handlers(target).size(), 1u);
    EXPECT_EQ(center().eventTypes(center().handlers(target).front()).size(), 2u);

    records.erase("b");
    EXPECT_EQ(namedHotKeys().hotKeyIds(), (std::vector<std::int64_t>{1, 3}));
    records.erase("a");
    EXPECT_EQ(namedHotKeys().hotKeyIds(), std::vector<std::int64_t>{3});
    EXPECT_FALSE(systemId(a));

    // Values the system cannot take still use up an id.
    EXPECT_FALSE(
        namedHotKeys().registerShortcut(Shortcut::fromCarbon(-1, 0), nullptr, nullptr).isActive());
    add(a, "a");
    EXPECT_EQ(systemId(a), 5u);
}

TEST_F(CarbonKeyboardShortcutsTest, FirstRegistrationWhileSwitchedOffIsSuspendedAtOnce) {
    setHotKeysEnabled(false);
    add(a, "a");
    EXPECT_TRUE(namedHotKeys().isRegistered(a));
    EXPECT_FALSE(systemId(a));
    add(b, "b");
    EXPECT_FALSE(systemId(b));

    setHotKeysEnabled(true);
    EXPECT_EQ(systemId(a), 1u);
    EXPECT_EQ(systemId(b), 2u);
    keyboard().press(static_cast<std::uint16_t>(Key::a.rawValue), kCommand | kOption);
    EXPECT_EQ(calls, (std::vector<std::string>{"a down", "a up"}));
}

TEST_F(CarbonKeyboardShortcutsTest, TheOtherRegistrysSignaturePassesThrough) {
    add(a, "a");
    const auto other = platform::fourCharCode("QDLN");
    int otherPresses = 0;
    // Installed later, so it sees every hot-key event first.
    const auto otherRegistry = platform::installEventHandler(
        platform::eventDispatcherTarget(),
        [&](platform::EventHandlerCallRef, platform::EventRef event) {
            EventHotKeyID id;
            event->getParameter(platform::kEventParamDirectObject, platform::typeEventHotKeyID, id);
            if (id.signature != other) return platform::eventNotHandledErr;
            ++otherPresses;
            return platform::noErr;
        },
        {{platform::kEventClassKeyboard, platform::kEventHotKeyPressed},
         {platform::kEventClassKeyboard, platform::kEventHotKeyReleased}});
    platform::registerEventHotKey(static_cast<std::uint32_t>(Key::upArrow.rawValue), 0x800,
                                  {other, 1}, platform::eventDispatcherTarget());

    keyboard().press(static_cast<std::uint16_t>(Key::a.rawValue), kCommand | kOption);
    keyboard().keyDown(static_cast<std::uint16_t>(Key::upArrow.rawValue), kOption);
    EXPECT_EQ(calls, (std::vector<std::string>{"a down", "a up"}));
    EXPECT_EQ(otherPresses, 1);

    const auto theirs = CarbonEvent::hotKeyEvent(platform::kEventHotKeyPressed, {other, 1});
    EXPECT_EQ(namedHotKeys().handleHotKeyEvent(&theirs), platform::eventNotHandledErr);
    const auto unknown = CarbonEvent::hotKeyEvent(platform::kEventHotKeyPressed,
                                                  {platform::fourCharCode("VQTB"), 99});
    EXPECT_EQ(namedHotKeys().handleHotKeyEvent(&unknown), platform::eventNotHandledErr);
    const CarbonEvent bare(platform::kEventClassKeyboard, platform::kEventHotKeyPressed);
    EXPECT_EQ(namedHotKeys().handleHotKeyEvent(&bare), platform::eventParameterNotFoundErr);
    const auto modifiers =
        CarbonEvent::rawKeyEvent(platform::kEventRawKeyModifiersChanged, 0, 0x100);
    EXPECT_EQ(namedHotKeys().handleKeyboardEvent(nullptr, &modifiers),
              platform::eventNotHandledErr);
    EXPECT_EQ(namedHotKeys().handleKeyboardEvent(nullptr, nullptr), platform::eventNotHandledErr);
}

TEST_F(CarbonKeyboardShortcutsTest, RawKeysMatchWithCapsLockAndReportTheirEdge) {
    add(a, "a");
    auto raw = [](platform::EventKind kind, std::uint32_t modifiers) {
        return CarbonEvent::rawKeyEvent(kind, static_cast<std::uint32_t>(Key::a.rawValue),
                                        modifiers);
    };
    const auto down = raw(platform::kEventRawKeyDown, 0x900 | 0x400);
    const auto up = raw(platform::kEventRawKeyUp, 0x900);
    const auto repeat = raw(platform::kEventRawKeyRepeat, 0x900);
    const auto shifted = raw(platform::kEventRawKeyDown, 0xB00);
    EXPECT_EQ(namedHotKeys().handleRawKeyEvent(&down), platform::noErr);
    EXPECT_EQ(namedHotKeys().handleRawKeyEvent(&up), platform::noErr);
    EXPECT_EQ(namedHotKeys().handleRawKeyEvent(&repeat), platform::eventNotHandledErr);
    EXPECT_EQ(namedHotKeys().handleRawKeyEvent(&shifted), platform::eventNotHandledErr);
    EXPECT_EQ(calls, (std::vector<std::string>{"a down", "a up"}));
}

TEST_F(CarbonKeyboardShortcutsTest, RefusedReRegistrationIsRetriedAtTheNextRefresh) {
    add(a, "a");
    add(b, "b");
    setHotKeysEnabled(false);
    EXPECT_FALSE(systemId(a));
    refuse(a);
    setHotKeysEnabled(true);
    EXPECT_FALSE(systemId(a));
    EXPECT_EQ(systemId(b), 2u);
    EXPECT_TRUE(namedHotKeys().isRegistered(a));

    center().allowHotKey(static_cast<std::uint32_t>(a.carbonKeyCode()),
                         static_cast<std::uint32_t>(a.carbonModifiers()));
    setHotKeysEnabled(false);
    setHotKeysEnabled(true);
    EXPECT_EQ(systemId(a), 1u);
    keyboard().press(static_cast<std::uint16_t>(Key::a.rawValue), kCommand | kOption);
    EXPECT_EQ(calls, (std::vector<std::string>{"a down", "a up"}));
}

}  // namespace
}  // namespace zelvana::keyboardshortcuts::test
