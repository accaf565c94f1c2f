#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/input/HotKeyCenter.hpp"

namespace zelvana::platform {
namespace {

constexpr EventTypeSpec kPressed{kEventClassKeyboard, kEventHotKeyPressed};
constexpr EventTypeSpec kReleased{kEventClassKeyboard, kEventHotKeyReleased};

class HotKeyCenterTest : public ::testing::Test {
protected:
    void SetUp() override { HotKeyCenter::shared().resetForTesting(); }
    void TearDown() override { HotKeyCenter::shared().resetForTesting(); }

    // A handler that records its name and answers with `status`.
    EventHandler answering(const std::string& name, OSStatus status) {
        return [this, name, status](EventHandlerCallRef, EventRef) {
            calls.push_back(name);
            return status;
        };
    }

    std::vector<std::string> calls;
};

TEST_F(HotKeyCenterTest, RegistrationRefusesTakenAndChosenCombinations) {
    EventTargetRef target = eventDispatcherTarget();
    ASSERT_NE(target, nullptr);
    const EventHotKeyID id{fourCharCode("VQTB"), 1};

    const auto first = registerEventHotKey(0, cmdKey, id, target);
    EXPECT_EQ(first.status, noErr);
    ASSERT_TRUE(first.hotKey);
    EXPECT_EQ(registerEventHotKey(0, cmdKey, id, target).status, eventHotKeyExistsErr);
    EXPECT_EQ(registerEventHotKey(0, shiftKey, id, nullptr).status, paramErr);

    auto& center = HotKeyCenter::shared();
    center.refuseHotKey(1, cmdKey);
    center.refuseHotKey(2, cmdKey, eventInternalErr);
    const auto refused = registerEventHotKey(1, cmdKey, id, target);
    EXPECT_EQ(refused.status, eventHotKeyExistsErr);
    EXPECT_FALSE(refused.hotKey);
    EXPECT_EQ(registerEventHotKey(2, cmdKey, id, target).status, eventInternalErr);
    center.allowHotKey(1, cmdKey);
    const auto second = registerEventHotKey(1, cmdKey, {fourCharCode("QDLN"), 9}, target);
    ASSERT_EQ(second.status, noErr);

    const auto keys = center.registeredHotKeys();
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[1].keyCode, 1u);
    EXPECT_EQ(keys[1].id.id, 9u);
    EXPECT_EQ(center.hotKeyFor(0, cmdKey)->ref, *first.hotKey);
    EXPECT_FALSE(center.hotKeyFor(0, cmdKey | shiftKey));

    EXPECT_EQ(unregisterEventHotKey(*first.hotKey), noErr);
    EXPECT_EQ(unregisterEventHotKey(*first.hotKey), eventHotKeyInvalidErr);
    EXPECT_FALSE(center.hotKey(*first.hotKey));
    EXPECT_EQ(registerEventHotKey(0, cmdKey, id, target).status, noErr);  // free again
}

TEST_F(HotKeyCenterTest, HandlerChainsRunNewestFirstAndPassOnWhatIsNotHandled) {
    EventTargetRef target = eventDispatcherTarget();
    auto older = installEventHandler(target, answering("older", noErr), {kPressed});
    const auto newer =
        installEventHandler(target, answering("newer", eventNotHandledErr), {kPressed, kReleased});
    ASSERT_TRUE(older.handler && newer.handler);
    EXPECT_EQ(HotKeyCenter::shared().handlers(target),
              (std::vector<EventHandlerRef>{*newer.handler, *older.handler}));

    const auto pressed = CarbonEvent::hotKeyEvent(kEventHotKeyPressed, {});
    const auto released = CarbonEvent::hotKeyEvent(kEventHotKeyReleased, {});
    EXPECT_EQ(sendEventToEventTarget(&pressed, target), noErr);
    EXPECT_EQ(sendEventToEventTarget(&released, target), eventNotHandledErr);
    EXPECT_EQ(calls, (std::vector<std::string>{"newer", "older", "newer"}));

    calls.clear();
    EXPECT_EQ(removeEventTypesFromHandler(*older.handler, {kPressed}), noErr);
    EXPECT_EQ(sendEventToEventTarget(&pressed, target), eventNotHandledErr);
    EXPECT_EQ(calls, (std::vector<std::string>{"newer"}));
    EXPECT_EQ(addEventTypesToHandler(*older.handler, {kPressed, kPressed}), noErr);
    EXPECT_EQ(HotKeyCenter::shared().eventTypes(*older.handler).size(), 1u);

    // A handler may ask the rest of the chain first, or remove a later one.
    calls.clear();
    const auto asking =
        installEventHandler(target,
                            [&](EventHandlerCallRef next, EventRef event) {
                                const OSStatus rest = callNextEventHandler(next, event);
                                calls.push_back("asking saw " + std::to_string(rest));
                                older.removal.cancel();
                                return rest;
                            },
                            {kPressed});
    EXPECT_EQ(sendEventToEventTarget(&pressed, target), noErr);
    EXPECT_EQ(calls, (std::vector<std::string>{"newer", "older", "asking saw 0"}));
    calls.clear();
    EXPECT_EQ(sendEventToEventTarget(&pressed, target), eventNotHandledErr);
    EXPECT_EQ(calls, (std::vector<std::string>{"newer", "asking saw -9874"}));
    EXPECT_FALSE(HotKeyCenter::shared().isInstalled(*older.handler));
    EXPECT_EQ(addEventTypesToHandler(*older.handler, {kPressed}), paramErr);
    EXPECT_TRUE(asking.handler.has_value());
}

TEST_F(HotKeyCenterTest, TestsCanTakeTheTargetAwayOrMakeInstallationFail) {
    auto& center = HotKeyCenter::shared();
    center.setDispatcherTargetAvailable(false);
    EXPECT_EQ(eventDispatcherTarget(), nullptr);
    EXPECT_EQ(installEventHandler(nullptr, answering("h", noErr)).status, paramErr);
    center.setDispatcherTargetAvailable(true);

    center.setInstallFailure(eventInternalErr);
    const auto failed = installEventHandler(eventDispatcherTarget(), answering("h", noErr));
    EXPECT_EQ(failed.status, eventInternalErr);
    EXPECT_FALSE(failed.handler || failed.removal.isActive());
    EXPECT_TRUE(center.handlers(eventDispatcherTarget()).empty());
    center.setInstallFailure(std::nullopt);
    EXPECT_EQ(installEventHandler(eventDispatcherTarget(), answering("h", noErr)).status, noErr);
}

}  // namespace
}  // namespace zelvana::platform
