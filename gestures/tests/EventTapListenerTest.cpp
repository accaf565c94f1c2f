#include "gestures/EventTapListener.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "gestures/tests/GestureTestSupport.hpp"
#include "input/EventMonitor/PassiveEventMonitor.hpp"
#include "platform/simulator/Keyboard.hpp"
#include "platform/simulator/PermissionSwitches.hpp"

namespace zelvana::gestures::test {
namespace {

using platform::Event;
using platform::EventTap;

class EventTapListenerTest : public GestureTest {
protected:
    using Served = EventTapListener::Served;
    EventTapListener::Handler recorder() {
        return [this](const Event& event) { handled.push_back(event.allTouches().size()); };
    }
    void sendTwoFingers() {
        touchDown(2);
        pad.sendFrame();
        pad.liftAll();
        pad.sendFrame();
    }

    std::vector<std::size_t> handled;
};

TEST_F(EventTapListenerTest, AMainLoopTapQueuesEachEventForTheHandlerAndNeverLeaksATap) {
    EventTapListener listener(platform::EventMask::gesture, Served::onMain, nullptr, recorder());
    EXPECT_FALSE(listener.isRunning());
    listener.stop();  // nothing to stop
    listener.start();
    const auto replaced = listener.tap();
    listener.start();
    ASSERT_EQ(EventTap::taps().size(), 1u);
    EXPECT_FALSE(replaced->isValid());
    const auto tap = listener.tap();
    EXPECT_TRUE(tap->isListenOnly());
    EXPECT_EQ(tap->location(), platform::EventTapLocation::session);
    EXPECT_TRUE(platform::RunLoop::main().containsSource(tap->runLoopSource(),
                                                         platform::kCFRunLoopCommonModes));
    sendTwoFingers();
    EXPECT_TRUE(handled.empty()) << "queued, one turn later";
    clock.runPending();
    EXPECT_EQ(handled, (std::vector<std::size_t>{2, 2}));

    listener.stop();
    EXPECT_FALSE(tap->isEnabled());
    EXPECT_FALSE(platform::RunLoop::main().containsSource(tap->runLoopSource(),
                                                          platform::kCFRunLoopCommonModes));
    EXPECT_TRUE(EventTap::taps().empty());
}

TEST_F(EventTapListenerTest, ADisabledTapIsReplacedAndCaptureGoesOn) {
    EventTapListener listener(platform::EventMask::gesture, Served::onMain, nullptr, recorder());
    listener.start();
    const auto first = listener.tap();
    first->disableBySystem(platform::kCGEventTapDisabledByTimeout);
    ASSERT_TRUE(listener.isRunning());
    EXPECT_NE(listener.tap(), first);
    EXPECT_EQ(EventTap::taps().size(), 1u);
    sendTwoFingers();
    clock.runPending();
    EXPECT_EQ(handled.size(), 2u);
}

TEST_F(EventTapListenerTest, ATapOnItsOwnThreadIsReplacedOnTheMainQueue) {
    EventTapListener listener(platform::EventMask::gesture, Served::onOwnThread, nullptr,
                              recorder());
    listener.start();
    const auto first = listener.tap();
    first->disableBySystem(platform::kCGEventTapDisabledByUserInput);
    // The tap's thread only asks; the main queue rebuilds. Bounded, no sleeping.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (listener.tap() == first && std::chrono::steady_clock::now() < deadline) {
        clock.runPending();
        std::this_thread::yield();
    }
    ASSERT_NE(listener.tap(), first);
    EXPECT_TRUE(listener.isRunning());
    EXPECT_EQ(EventTap::taps().size(), 1u);
    listener.stop();
}

TEST_F(EventTapListenerTest, EventsThatCannotBeWrappedAndTheFiltererNeverSwallow) {
    std::atomic<int> filtered{0};
    EventTapListener listener(
        platform::EventMask::gesture, Served::onOwnThread,
        [&](const Event&) {
            ++filtered;
            return true;
        },
        recorder());
    listener.start();
    ASSERT_TRUE(listener.thread());
    EXPECT_EQ(listener.thread()->qualityOfService(), 33);
    Event mislabelled;
    mislabelled.type = platform::EventType::keyDown;
    EXPECT_TRUE(EventTap::post(29, mislabelled));
    touchDown(1);
    EXPECT_TRUE(pad.sendFrame()) << "a listen-only tap cannot swallow";
    clock.runPending();
    EXPECT_EQ(filtered, 1);
    EXPECT_EQ(handled, std::vector<std::size_t>{1});
    listener.stop();
    EXPECT_FALSE(listener.thread());
}

TEST_F(EventTapListenerTest, WithoutPermissionThereIsNoTapAndStoppingIsHarmless) {
    platform::PermissionSwitches::setAccessibilityTrusted(false);
    platform::PermissionSwitches::setInputMonitoringAccess(platform::Permissions::Access::denied);
    EventTapListener listener(platform::EventMask::gesture, Served::onMain, nullptr, recorder());
    listener.start();
    EXPECT_FALSE(listener.isRunning());
    listener.stop();
    sendTwoFingers();
    clock.runPending();
    EXPECT_TRUE(handled.empty());
}

TEST_F(EventTapListenerTest, ATapLostWithItsPermissionIsReportedOnce) {
    int lost = 0;
    EventTapListener listener(platform::EventMask::gesture, Served::onMain, nullptr, recorder(),
                              [&] { ++lost; });
    listener.start();
    platform::PermissionSwitches::setAccessibilityTrusted(false);
    EXPECT_TRUE(listener.isRunning()) << "input monitoring still allows listening";
    platform::PermissionSwitches::setInputMonitoringAccess(platform::Permissions::Access::denied);
    EXPECT_FALSE(listener.isRunning());
    EXPECT_EQ(lost, 1);
    sendTwoFingers();
    clock.runPending();
    EXPECT_TRUE(handled.empty());
}

TEST_F(EventTapListenerTest, TheFlagsMonitorHearsOurOwnAndOtherApplicationsChanges) {
    std::vector<platform::ModifierFlags> flags;
    input::eventmonitor::PassiveEventMonitor monitor(platform::EventMask::flagsChanged,
                                                     [&](const std::optional<Event>& event) {
                                                         if (event)
                                                             flags.push_back(event->modifierFlags);
                                                     });
    monitor.start();
    monitor.start();
    EXPECT_EQ(platform::EventMonitors::installedCount(), 2u);
    auto& keyboard = platform::Keyboard::shared();
    keyboard.flagsChanged(Event::command);
    platform::Application::shared().activate(true);
    keyboard.flagsChanged(Event::option);
    clock.runPending();
    EXPECT_EQ(flags, (std::vector<platform::ModifierFlags>{Event::command, Event::option}));
    monitor.stop();
    EXPECT_FALSE(monitor.isRunning());
    keyboard.flagsChanged({});
    clock.runPending();
    EXPECT_EQ(flags.size(), 2u);
    keyboard.resetForTesting();
}

}  // namespace
}  // namespace zelvana::gestures::test
