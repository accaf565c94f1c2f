#include "KeyboardShortcuts/KeyboardShortcuts.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KeyboardShortcuts/CarbonKeyboardShortcuts.hpp"
#include "KeyboardShortcuts/tests/ShortcutsTestSupport.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/foundation/NotificationCenter.hpp"

namespace zelvana::keyboardshortcuts::test {
namespace {

using platform::PropertyValue;

class KeyboardShortcutsTest : public ShortcutsTest {
protected:
    KeyboardShortcutsTest() {
        changes = platform::NotificationCenter::defaultCenter().addObserver(
            kShortcutByNameDidChange, [this](const platform::Notification& notification) {
                auto found = notification.userInfo.find("name");
                ASSERT_NE(found, notification.userInfo.end());
                changed.push_back(std::any_cast<Name>(found->second).rawValue());
            });
    }

    Action log(const std::string& text) {
        return [this, text] { calls.push_back(text); };
    }
    static void press(const Shortcut& shortcut, ModifierFlags extra = {}) {
        keyboard().press(static_cast<std::uint16_t>(shortcut.carbonKeyCode()),
                         shortcut.modifiers() | extra);
    }
    // The defaults as another launch reads them from disk.
    static void relaunch() {
        resetAll();
        platform::UserDefaults::setStandardSuiteName("com.quorrim.Zelvana.ShortcutsTest");
    }
    std::vector<std::string> takeCalls() { return std::exchange(calls, {}); }

    const Shortcut commandOptionSpace{Key::space, kCommand | kOption};
    const Shortcut commandSpace{Key::space, kCommand};
    const Shortcut commandShiftSpace{Key::space, kCommand | kShift};
    std::vector<std::string> calls;
    std::vector<std::string> changed;
    std::vector<platform::Subscription> actions;
    platform::Subscription changes;
};

TEST_F(KeyboardShortcutsTest, ShortcutsRoundTripThroughTheDefaults) {
    const Name show("show");
    setShortcut(commandOptionSpace, show);
    EXPECT_EQ(defaults().object("KeyboardShortcuts_show"),
              PropertyValue(R"({"carbonKeyCode":49,"carbonModifiers":2304})"));
    EXPECT_EQ(getShortcut(show), commandOptionSpace);
    EXPECT_EQ(Name("show").currentShortcut(), commandOptionSpace);
    EXPECT_TRUE(systemHolds(commandOptionSpace));
    EXPECT_EQ(changed, std::vector<std::string>{"show"});

    show.setCurrentShortcut(std::nullopt);
    EXPECT_FALSE(defaults().object("KeyboardShortcuts_show"));
    EXPECT_FALSE(systemHolds(commandOptionSpace));
    setShortcut(std::nullopt, show);
    EXPECT_EQ(changed, (std::vector<std::string>{"show", "show"}));
}

TEST_F(KeyboardShortcutsTest, ARemovedDefaultStaysRemoved) {
    const Name withDefault("toggle", commandSpace);
    EXPECT_EQ(getShortcut(withDefault), commandSpace);
    EXPECT_TRUE(systemHolds(commandSpace));
    EXPECT_EQ(changed, std::vector<std::string>{"toggle"});

    setShortcut(std::nullopt, withDefault);
    EXPECT_EQ(defaults().object("KeyboardShortcuts_toggle"), PropertyValue(false));
    relaunch();
    const Name again("toggle", commandSpace);
    EXPECT_FALSE(getShortcut(again));
    EXPECT_EQ(defaults().object("KeyboardShortcuts_toggle"), PropertyValue(false));
    EXPECT_FALSE(systemHolds(commandSpace));

    const Name plain("plain");
    setShortcut(commandShiftSpace, plain);
    setShortcut(std::nullopt, plain);
    EXPECT_FALSE(defaults().object("KeyboardShortcuts_plain"));
    EXPECT_EQ(getShortcut(Name("plain", commandShiftSpace)), commandShiftSpace);

    resetToDefaults(again, Name("plain"));
    EXPECT_EQ(getShortcut(again), commandSpace);
    EXPECT_FALSE(defaults().object("KeyboardShortcuts_plain"));
}

TEST_F(KeyboardShortcutsTest, UnreadableStoredValuesReadAsNoneAndAreKept) {
    const std::vector<PropertyValue> stored{"not json",
                                            R"({"carbonKeyCode":49})",
                                            R"({"carbonKeyCode":"49","carbonModifiers":256})",
                                            R"({"carbonKeyCode":49,"carbonModifiers":1.5})",
                                            49,
                                            1.5,
                                            false,
                                            PropertyValue(platform::PropertyDictionary{
                                                {"carbonKeyCode", 49}, {"carbonModifiers", 256}})};
    for (const auto& value : stored) {
        defaults().set("KeyboardShortcuts_odd", value);
        const Name odd("odd", commandSpace);
        actions.push_back(onKeyDown(odd, log("odd")));
        enable(odd);
        setShortcut(std::nullopt, odd);
        EXPECT_FALSE(getShortcut(odd));
        EXPECT_EQ(defaults().object("KeyboardShortcuts_odd"), value);
        EXPECT_TRUE(activeShortcuts().empty());
        EXPECT_TRUE(changed.empty());
        removeAllActions();
    }
    setShortcut(commandSpace, Name("odd"));
    EXPECT_EQ(getShortcut(Name("odd")), commandSpace);
}

TEST_F(KeyboardShortcutsTest, AStoredShortcutFiresWhereverTheUserIs) {
    defaults().set("KeyboardShortcuts_show", commandOptionSpace.toJSON());
    const Name show("show");
    actions.push_back(onKeyDown(show, log("down")));
    actions.push_back(onKeyUp(show, log("up")));

    press(commandOptionSpace);
    press(commandOptionSpace, kCapsLock);
    platform::Application::shared().activate(true);
    press(commandOptionSpace);
    press(commandOptionSpace, kCapsLock);
    EXPECT_EQ(takeCalls(),
              (std::vector<std::string>{"down", "up", "down", "up", "down", "up", "down", "up"}));

    press(commandSpace);
    press(Shortcut(Key::space, kCommand | kOption | kShift));
    press(Shortcut(Key::space, kOption | kControl));
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(platform::Application::shared().deliveredEvents().size(), 6u);
}

TEST_F(KeyboardShortcutsTest, NamesOnOneCombinationShareItsHotKey) {
    const Name first("first");
    const Name second("second");
    setShortcut(commandSpace, first);
    setShortcut(commandSpace, second);
    actions.push_back(onKeyDown(first, log("first 1")));
    actions.push_back(onKeyDown(second, log("second")));
    actions.push_back(onKeyDown(first, log("first 2")));
    EXPECT_EQ(center().registeredHotKeys().size(), 1u);
    press(commandSpace);
    EXPECT_EQ(takeCalls(), (std::vector<std::string>{"first 1", "first 2", "second"}));

    // Moving one name keeps the hot key that the other still holds.
    setShortcut(commandShiftSpace, first);
    press(commandSpace);
    press(commandShiftSpace);
    EXPECT_EQ(takeCalls(), (std::vector<std::string>{"second", "first 1", "first 2"}));

    disable(second);
    EXPECT_FALSE(systemHolds(commandSpace));
    EXPECT_EQ(getShortcut(second), commandSpace);
    press(commandSpace);
    EXPECT_TRUE(calls.empty());
    enable(second);
    press(commandSpace);
    EXPECT_EQ(takeCalls(), std::vector<std::string>{"second"});
    EXPECT_EQ(changed.size(), 3u);
}

TEST_F(KeyboardShortcutsTest, ARemovedActionNeverRunsAgainEvenWithinThePressThatRemovedIt) {
    const Name first("first");
    const Name second("second");
    setShortcut(commandSpace, first);
    setShortcut(commandSpace, second);
    onKeyDown(first, log("dropped")).cancel();
    platform::Subscription next;
    actions.push_back(onKeyDown(first, [&] {
        calls.push_back("ends next");
        next.cancel();
    }));
    next = onKeyDown(first, log("next"));
    actions.push_back(onKeyDown(first, [&] {
        calls.push_back("removes all");
        removeAllActions();
    }));
    actions.push_back(onKeyDown(second, log("second")));
    press(commandSpace);
    EXPECT_EQ(takeCalls(), (std::vector<std::string>{"ends next", "removes all"}));
}

TEST_F(KeyboardShortcutsTest, ADisabledNameNeitherRunsNorTakesTheSharedHotKey) {
    const Name show("show");
    const Name cycleReverse("cycleReverse");
    // Repetition mode derived command-shift-space for reversing; then the user
    // recorded that very combination for "show".
    setShortcut(commandSpace, show);
    setShortcut(commandShiftSpace, cycleReverse);
    enable(cycleReverse);
    setShortcut(commandShiftSpace, show);
    disable(cycleReverse);
    EXPECT_FALSE(systemHolds(commandSpace));

    for (int launch = 0; launch < 3; ++launch) {
        relaunch();
        const Name show("show");
        const Name cycleReverse("cycleReverse");
        actions.push_back(onKeyDown(show, log("show down")));
        actions.push_back(onKeyUp(show, log("show up")));
        actions.push_back(onKeyDown(cycleReverse, log("reverse")));
        disable(cycleReverse);
        press(commandShiftSpace);
        EXPECT_EQ(takeCalls(), (std::vector<std::string>{"show down", "show up"}))
            << "launch " << launch;
    }
}

TEST_F(KeyboardShortcutsTest, PausingAndSwitchingOffStopTheActions) {
    const Name show("show");
    setShortcut(commandSpace, show);
    actions.push_back(onKeyDown(show, log("down")));
    platform::Application::shared().activate(true);

    setHandlingPaused(true);
    press(commandSpace);
    EXPECT_TRUE(calls.empty());
    // Still taken by the hot key: the application never sees it.
    EXPECT_TRUE(platform::Application::shared().deliveredEvents().empty());
    setHandlingPaused(false);
    press(commandSpace);
    EXPECT_EQ(takeCalls(), std::vector<std::string>{"down"});

    setHotKeysEnabled(false);
    EXPECT_FALSE(systemHolds(commandSpace));
    press(commandSpace);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(platform::Application::shared().deliveredEvents().size(), 2u);
    setHotKeysEnabled(true);
    press(commandSpace);
    EXPECT_EQ(takeCalls(), std::vector<std::string>{"down"});
    EXPECT_EQ(activeShortcuts(), std::vector<Shortcut>{commandSpace});
}

class MenuTrackingTest : public KeyboardShortcutsTest, public ::testing::WithParamInterface<int> {};

TEST_P(MenuTrackingTest, ARegisteredCombinationRunsWhileOtherKeysReachTheMenu) {
    platform::SystemVersion::setMajorVersion(GetParam());
    const Name show("show");
    setShortcut(commandSpace, show);
    actions.push_back(onKeyDown(show, log("down")));
    actions.push_back(onKeyUp(show, log("up")));
    const auto id = namedHotKeys().hotKeyIds();

    platform::Menu menu("Status");
    menu.beginTracking();
    EXPECT_TRUE(isMenuTracking());
    EXPECT_FALSE(systemHolds(commandSpace));
    keyboard().press(static_cast<std::uint16_t>(Key::a.rawValue));
    press(commandSpace, kCapsLock);
    keyboard().keyDown(static_cast<std::uint16_t>(Key::b.rawValue), kShift);
    EXPECT_EQ(takeCalls(), (std::vector<std::string>{"down", "up"}));
    std::vector<std::pair<std::uint16_t, platform::EventType>> received;
    for (const auto& event : menu.receivedEvents())
        received.emplace_back(event.keyCode, event.type);
    EXPECT_EQ(received, (std::vector<std::pair<std::uint16_t, platform::EventType>>{
                            {0, platform::EventType::keyDown},
                            {0, platform::EventType::keyUp},
                            {11, platform::EventType::keyDown}}));

    menu.endTracking();
    EXPECT_FALSE(isMenuTracking());
    EXPECT_TRUE(systemHolds(commandSpace));
    EXPECT_EQ(namedHotKeys().hotKeyIds(), id);
    press(commandSpace);
    EXPECT_EQ(takeCalls(), (std::vector<std::string>{"down", "up"}));
}

INSTANTIATE_TEST_SUITE_P(SystemVersions, MenuTrackingTest, ::testing::Values(13, 14));

TEST_F(KeyboardShortcutsTest, SequencesBufferTheirNamesEvents) {
    const Name show("show");
    setShortcut(commandSpace, show);
    auto all = keyEvents(show);
    auto ups = keyEvents(EventType::keyUp, show);
    clock.runPending();
    press(commandSpace);
    EXPECT_EQ(all.next(), EventType::keyDown);
    EXPECT_EQ(all.next(), EventType::keyUp);
    EXPECT_FALSE(all.next());
    EXPECT_EQ(ups.next(), EventType::keyUp);
    EXPECT_FALSE(ups.next());

    std::vector<EventType> pushed;
    ups.onEvent([&](EventType type) { pushed.push_back(type); });
    actions.push_back(onKeyDown(show, log("down")));
    removeAllActions();
    EXPECT_TRUE(systemHolds(commandSpace));
    press(commandSpace);
    EXPECT_EQ(pushed, std::vector<EventType>{EventType::keyUp});
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(all.next(), EventType::keyDown);
    EXPECT_EQ(all.next(), EventType::keyUp);

    all.finish();
    ups.finish();
    clock.runPending();
    press(commandSpace);
    EXPECT_FALSE(all.next());
    EXPECT_EQ(pushed.size(), 1u);
    removeAllActions();
    EXPECT_FALSE(systemHolds(commandSpace));
}

TEST_F(KeyboardShortcutsTest, BoundMenuItemsFollowTheirName) {
    const Name show("show");
    const Name other("other");
    setShortcut(Shortcut(Key::a, kCommand | kShift), show);
    auto item = std::make_shared<platform::MenuItem>("Show", "show:", "x");
    setShortcut(item, show);
    EXPECT_EQ(item->keyEquivalent(), "a");
    EXPECT_EQ(item->keyEquivalentModifierMask(), kCommand | kShift);
    EXPECT_FALSE(item->allowsAutomaticKeyEquivalentLocalization());

    setShortcut(Shortcut(Key::f1, kOption), show);
    setShortcut(commandSpace, other);
    clock.runPending();
    EXPECT_EQ(item->keyEquivalent(), "\uF704");
    EXPECT_EQ(item->keyEquivalentModifierMask(), kOption);

    setShortcut(std::nullopt, show);
    clock.runPending();
    EXPECT_EQ(item->keyEquivalent(), "");
    EXPECT_TRUE(item->keyEquivalentModifierMask().isEmpty());
    EXPECT_TRUE(item->allowsAutomaticKeyEquivalentLocalization());

    const auto observers = platform::NotificationCenter::defaultCenter().observerCount();
    setShortcut(item, other);
    EXPECT_EQ(item->keyEquivalent(), " ");
    EXPECT_EQ(platform::NotificationCenter::defaultCenter().observerCount(), observers)
        << "the observer for the earlier name went first";
    setShortcut(item, std::nullopt);
    setShortcut(commandShiftSpace, other);
    clock.runPending();
    EXPECT_EQ(item->keyEquivalent(), "");
}

TEST_F(KeyboardShortcutsTest, DestroyedBoundMenuItemsLeaveNoObserverBehind) {
    const Name show("show");
    setShortcut(Shortcut(Key::a, kCommand), show);
    auto& center = platform::NotificationCenter::defaultCenter();
    auto kept = std::make_shared<platform::MenuItem>("Kept", "kept:", "");
    setShortcut(kept, show);
    const auto observers = center.observerCount();
    for (int i = 0; i < 2000; ++i) {
        setShortcut(std::make_shared<platform::MenuItem>("Gone", "gone:", ""), show);
    }
    EXPECT_EQ(center.observerCount(), observers);

    setShortcut(Shortcut(Key::b, kCommand), show);
    clock.runPending();
    EXPECT_EQ(kept->keyEquivalent(), "b");
}

}  // namespace
}  // namespace zelvana::keyboardshortcuts::test
