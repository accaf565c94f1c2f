#include "platform/input/EventTap.hpp"

#include <gtest/gtest.h>

#include <future>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/appkit/Application.hpp"
#include "platform/appkit/EventMonitors.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/input/HotKeyCenter.hpp"
#include "platform/input/KeyboardLayout.hpp"
#include "platform/input/SymbolicHotKeys.hpp"
#include "platform/simulator/Keyboard.hpp"
#include "platform/simulator/PermissionSwitches.hpp"
#include "platform/system/Permissions.hpp"

namespace zelvana::platform {
namespace {

constexpr std::uint16_t kKeyA = 0;
constexpr std::uint16_t kKeyB = 11;
constexpr CGEventMask kKeys = EventMask::keyDown | EventMask::keyUp;

void resetAll() {
    Application::shared().resetForTesting();
    EventMonitors::resetForTesting();
    RunLoop::main().resetForTesting();
    HotKeyCenter::shared().resetForTesting();
    SymbolicHotKeys::shared().resetForTesting();
    KeyboardLayout::resetForTesting();
    Keyboard::shared().resetForTesting();
    EventTap::resetForTesting();
    PermissionSwitches::resetForTesting();
}

std::string describe(CGEventType type, const Event& event) {
    if (type == kCGEventTapDisabledByTimeout) return "timeout";
    if (type == kCGEventTapDisabledByUserInput) return "user input";
    const char* kind = type == 10 ? "down" : type == 11 ? "up" : "flags";
    return std::string(kind) + " " + std::to_string(event.keyCode);
}

// A thread whose own loop serves a tap's source until the end.
class TapThread {
public:
    explicit TapThread(const std::shared_ptr<EventTap>& tap) {
        std::promise<std::shared_ptr<RunLoop>> published;
        thread_ = std::thread([&published, source = tap->runLoopSource(), this] {
            auto& loop = RunLoop::current();
            loop.addSource(source, kCFRunLoopDefaultMode);
            published.set_value(loop.retained());
            loop.runUntil([this] { return quit_.load(); }, -1);
        });
        loop = published.get_future().get();
    }
    ~TapThread() {
        quit_ = true;
        loop->stop();
        thread_.join();
    }
    std::shared_ptr<RunLoop> loop;

private:
    std::atomic<bool> quit_{false};
    std::thread thread_;
};

class EventTapTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetAll();
        monitor = Event::addGlobalMonitor(EventMask::any, [this](const Event& e) {
            calls.push_back("global " + describe(static_cast<CGEventType>(e.type), e));
        });
    }
    Subscription monitor;
    void TearDown() override { resetAll(); }

    // A tap served by the main loop, recording what it sees under `name`.
    std::shared_ptr<EventTap> mainTap(const std::string& name, EventTapOptions options,
                                      CGEventMask mask = kKeys,
                                      EventTapPlacement placement = EventTapPlacement::headInsert,
                                      EventTapLocation location = EventTapLocation::session) {
        auto tap = EventTap::create(location, placement, options, mask,
                                    [this, name](EventTapProxy, CGEventType type, const Event& e) {
                                        calls.push_back(name + " " + describe(type, e));
                                        return std::optional<Event>(e);
                                    });
        RunLoop::main().addSource(tap->runLoopSource(), kCFRunLoopCommonModes);
        return tap;
    }

    std::vector<std::string> calls;
};

TEST_F(EventTapTest, PermissionsDecideWhichTapsCanBeMade) {
    const auto make = [](EventTapOptions options) {
        return EventTap::create(
            EventTapLocation::session, EventTapPlacement::headInsert, options, kKeys,
            [](EventTapProxy, CGEventType, const Event& e) { return std::optional<Event>(e); });
    };
    EXPECT_TRUE(make(EventTapOptions::defaultTap));
    EXPECT_FALSE(EventTap::create(EventTapLocation::session, EventTapPlacement::headInsert,
                                  EventTapOptions::listenOnly, kKeys, nullptr));

    PermissionSwitches::setAccessibilityTrusted(false);
    EXPECT_FALSE(make(EventTapOptions::defaultTap));
    EXPECT_TRUE(make(EventTapOptions::listenOnly));  // input monitoring suffices to listen

    PermissionSwitches::setInputMonitoringAccess(Permissions::Access::unknown);
    EXPECT_FALSE(make(EventTapOptions::listenOnly));
    PermissionSwitches::setInputMonitoringAccess(Permissions::Access::denied);
    EXPECT_FALSE(make(EventTapOptions::listenOnly));

    PermissionSwitches::setAccessibilityTrusted(true);
    EXPECT_TRUE(make(EventTapOptions::listenOnly));
}

TEST_F(EventTapTest, TakingAPermissionAwayDisablesTheTapsItAllowedAndTellsThem) {
    auto active = mainTap("active", EventTapOptions::defaultTap);
    auto listen = mainTap("listen", EventTapOptions::listenOnly);
    PermissionSwitches::setAccessibilityTrusted(false);
    EXPECT_EQ(calls, std::vector<std::string>{"active user input"});
    EXPECT_FALSE(active->isEnabled());
    EXPECT_TRUE(listen->isEnabled()) << "input monitoring still lets it listen";

    calls.clear();
    active->enable(true);  // without the permission it sees nothing all the same
    Keyboard::shared().keyDown(kKeyA);
    EXPECT_EQ(calls, (std::vector<std::string>{"listen down 0", "global down 0"}));

    calls.clear();
    PermissionSwitches::setInputMonitoringAccess(Permissions::Access::denied);
    EXPECT_EQ(calls, (std::vector<std::string>{"active user input", "listen user input"}));

    // Granting again re-enables nothing: that is the owner's part.
    calls.clear();
    PermissionSwitches::setAccessibilityTrusted(true);
    Keyboard::shared().keyDown(kKeyB);
    EXPECT_EQ(calls, std::vector<std::string>{"global down 11"});
}

TEST_F(EventTapTest, KeysReachTapsBeforeMonitorsAndActiveTapsMayReplaceOrSwallowThem) {
    auto listener = mainTap("listen", EventTapOptions::listenOnly);
    Keyboard::shared().press(kKeyA);
    EXPECT_EQ(calls, (std::vector<std::string>{"listen down 0", "global down 0", "listen up 0",
                                               "global up 0"}));

    // A listen-only tap's answer changes nothing.
    calls.clear();
    auto swallowingListener = EventTap::create(
        EventTapLocation::session, EventTapPlacement::headInsert, EventTapOptions::listenOnly,
        kKeys, [](EventTapProxy, CGEventType, const Event&) { return std::optional<Event>(); });
    RunLoop::main().addSource(swallowingListener->runLoopSource(), kCFRunLoopDefaultMode);
    Keyboard::shared().keyDown(kKeyA);
    EXPECT_EQ(calls, (std::vector<std::string>{"listen down 0", "global down 0"}));

    // An active tap turns A into B and swallows the release.
    calls.clear();
    auto active = EventTap::create(EventTapLocation::session, EventTapPlacement::headInsert,
                                   EventTapOptions::defaultTap, kKeys,
                                   [](EventTapProxy, CGEventType type, const Event& e) {
                                       if (type == 11) return std::optional<Event>();
                                       Event replaced = e;
                                       replaced.keyCode = kKeyB;
                                       return std::optional<Event>(replaced);
                                   });
    RunLoop::main().addSource(active->runLoopSource(), kCFRunLoopDefaultMode);
    Keyboard::shared().keyUp(kKeyA);
    Keyboard::shared().keyDown(kKeyA);
    // The listener, inserted earlier, comes after the newer active tap.
    EXPECT_EQ(calls, (std::vector<std::string>{"listen down 11", "global down 11"}));

    // A registered hot key is taken before any tap.
    calls.clear();
    auto* target = eventDispatcherTarget();
    registerEventHotKey(kKeyB, cmdKey, {fourCharCode("TEST"), 1}, target);
    Keyboard::shared().press(kKeyB, Event::command);
    EXPECT_TRUE(calls.empty());
}

TEST_F(EventTapTest, TapsSeeOnlyWhatTheyAskForWhileEnabledAndServed) {
    auto keys = mainTap("keys", EventTapOptions::listenOnly, EventMask::keyDown);
    auto flags = mainTap("flags", EventTapOptions::listenOnly, EventMask::flagsChanged);
    Keyboard::shared().press(kKeyA);
    Keyboard::shared().flagsChanged(Event::shift);
    EXPECT_EQ(calls, (std::vector<std::string>{"keys down 0", "global down 0", "global up 0",
                                               "flags flags 0", "global flags 0"}));

    calls.clear();
    keys->enable(false);
    EXPECT_FALSE(keys->isEnabled());
    RunLoop::main().removeSource(flags->runLoopSource(), kCFRunLoopCommonModes);
    Keyboard::shared().keyDown(kKeyA);
    Keyboard::shared().flagsChanged({});
    EXPECT_EQ(calls, (std::vector<std::string>{"global down 0", "global flags 0"}));

    calls.clear();
    keys->enable(true);
    keys->invalidate();
    EXPECT_FALSE(keys->isValid());
    EXPECT_TRUE(EventTap::taps().size() == 1 && EventTap::taps().front() == flags);
    Keyboard::shared().keyDown(kKeyB);
    EXPECT_EQ(calls, (std::vector<std::string>{"global down 11"}));
}

#if !defined(NDEBUG) || defined(ZELVANA_CHECKS)
TEST_F(EventTapTest, AThrowingCallbackStopsTheProgramNamingItsTap) {
    auto tap = EventTap::create(
        EventTapLocation::session, EventTapPlacement::headInsert, EventTapOptions::listenOnly,
        EventMask::keyDown, [](EventTapProxy, CGEventType, const Event&) -> std::optional<Event> {
            throw std::runtime_error("bad tap");
        });
    RunLoop::main().addSource(tap->runLoopSource(), kCFRunLoopCommonModes);
    EXPECT_DEATH(Keyboard::shared().press(kKeyA), "event tap for mask 0x400 threw: bad tap");
}
#endif

TEST_F(EventTapTest, TapsAreAskedByLocationThenHeadInsertedNewestFirstThenAppended) {
    auto appendedFirst = mainTap("appended1", EventTapOptions::listenOnly, EventMask::keyDown,
                                 EventTapPlacement::tailAppend);
    auto headFirst = mainTap("head1", EventTapOptions::listenOnly, EventMask::keyDown);
    auto appendedSecond = mainTap("appended2", EventTapOptions::listenOnly, EventMask::keyDown,
                                  EventTapPlacement::tailAppend);
    auto headSecond = mainTap("head2", EventTapOptions::listenOnly, EventMask::keyDown);
    auto hid = mainTap("hid", EventTapOptions::listenOnly, EventMask::keyDown,
                       EventTapPlacement::tailAppend, EventTapLocation::hid);
    Keyboard::shared().keyDown(kKeyA);
    EXPECT_EQ(calls,
              (std::vector<std::string>{"hid down 0", "head2 down 0", "head1 down 0",
                                        "appended1 down 0", "appended2 down 0", "global down 0"}));
}

TEST_F(EventTapTest, TheSystemDisablesATapAndTellsItsCallback) {
    auto tap = EventTap::create(
        EventTapLocation::session, EventTapPlacement::headInsert, EventTapOptions::listenOnly,
        kKeys, [this](EventTapProxy proxy, CGEventType type, const Event& e) {
            calls.push_back(describe(type, e) + (proxy->isEnabled() ? " enabled" : ""));
            if (type == kCGEventTapDisabledByUserInput) proxy->enable(true);
            return std::optional<Event>(e);
        });
    RunLoop::main().addSource(tap->runLoopSource(), kCFRunLoopDefaultMode);
    tap->disableBySystem(kCGEventTapDisabledByTimeout);
    EXPECT_FALSE(tap->isEnabled());
    tap->disableBySystem(kCGEventTapDisabledByUserInput);
    EXPECT_TRUE(tap->isEnabled());
    EXPECT_EQ(calls, (std::vector<std::string>{"timeout", "user input"}));

    // The notifications are not events the application knows.
    EXPECT_FALSE(eventWithCGEvent(kCGEventTapDisabledByTimeout, Event{}));
    EXPECT_FALSE(eventWithCGEvent(kCGEventTapDisabledByUserInput, Event{}));
    const Event key = Event::keyEvent(EventType::keyUp, kKeyA, {}, "a", "a");
    EXPECT_EQ(eventWithCGEvent(11, key), key);
}

TEST_F(EventTapTest, ATapOnAnotherThreadAnswersFromThereOrIsDisabledWhenItTakesTooLong) {
    std::promise<void> toldOfTimeout;
    std::vector<std::thread::id> threads;
    std::vector<std::string> seen;
    auto tap = EventTap::create(
        EventTapLocation::session, EventTapPlacement::headInsert, EventTapOptions::defaultTap,
        kKeys, [&](EventTapProxy, CGEventType type, const Event& e) -> std::optional<Event> {
            threads.push_back(std::this_thread::get_id());
            seen.push_back(describe(type, e));
            if (type == kCGEventTapDisabledByTimeout) toldOfTimeout.set_value();
            if (type == 11) return std::nullopt;
            return e;
        });
    TapThread thread(tap);
    Keyboard::shared().press(kKeyA);
    EXPECT_EQ(calls, (std::vector<std::string>{"global down 0"}));
    ASSERT_EQ(threads.size(), 2u);
    EXPECT_NE(threads.front(), std::this_thread::get_id());

    // The tap's thread is kept busy: no answer comes in time, so the event
    // goes on without the tap, which is disabled and told once it is free.
    std::promise<void> busy;
    std::promise<void> release;
    auto blocker = RunLoopSource::create(-1, [&] {
        busy.set_value();
        release.get_future().wait();
    });
    thread.loop->addSource(blocker, kCFRunLoopDefaultMode);
    blocker->signal();
    busy.get_future().wait();
    EventTap::setReplyTimeout(0);
    Keyboard::shared().keyDown(kKeyB);
    EXPECT_FALSE(tap->isEnabled());
    EXPECT_EQ(calls, (std::vector<std::string>{"global down 0", "global down 11"}));
    release.set_value();
    toldOfTimeout.get_future().wait();
    EXPECT_EQ(seen, (std::vector<std::string>{"down 0", "up 0", "timeout"}));
    thread.loop->removeSource(tap->runLoopSource(), kCFRunLoopDefaultMode);
}

}  // namespace
}  // namespace zelvana::platform
