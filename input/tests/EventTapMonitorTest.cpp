#include "input/EventMonitor/EventTapMonitor.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "input/tests/InputTestSupport.hpp"

namespace zelvana::input::test {
namespace {

using eventmonitor::EventTapMonitor;
using eventmonitor::RunLoopThread;
using platform::Event;
using platform::EventTap;

constexpr platform::EventTypeMask kKeys = platform::EventMask::keyDown | platform::EventMask::keyUp;

class EventTapMonitorTest : public InputTest {
protected:
    EventTapMonitorTest() {
        monitor = Event::addGlobalMonitor(platform::EventMask::any, [this](const Event& e) {
            delivered.push_back(std::to_string(e.keyCode));
        });
    }
    platform::Subscription monitor;

    EventTapMonitor::Handler recorder() {
        return [this](const Event& e) {
            handled.push_back((e.type == platform::EventType::keyDown ? "down " : "up ") +
                              std::to_string(e.keyCode));
        };
    }

    // Keys that reached the frontmost application, and what the handler heard.
    std::vector<std::string> delivered;
    std::vector<std::string> handled;
};

TEST_F(EventTapMonitorTest, AListenOnlyTapPassesEverythingAndTellsTheHandlerOnTheMainQueue) {
    EventTapMonitor monitor(kKeys, nullptr, recorder());
    EXPECT_FALSE(monitor.isRunning());
    monitor.start();
    ASSERT_TRUE(monitor.isRunning());
    EXPECT_TRUE(monitor.tap()->isListenOnly());
    EXPECT_EQ(monitor.tap()->location(), platform::EventTapLocation::session);
    EXPECT_EQ(monitor.thread()->qualityOfService(), 33);

    keyboard().press(1);
    EXPECT_EQ(delivered, (std::vector<std::string>{"1", "1"}));
    EXPECT_TRUE(handled.empty());  // queued, not yet run
    clock.runPending();
    EXPECT_EQ(handled, (std::vector<std::string>{"down 1", "up 1"}));
}

TEST_F(EventTapMonitorTest, AFiltererOnTheTapThreadSwallowsAndTheHandlerStillHears) {
    std::atomic<bool> filteredOffMain{true};
    EventTapMonitor monitor(
        kKeys,
        [&](const Event& e) {
            if (platform::isMainThread()) filteredOffMain = false;
            return e.keyCode == 2;
        },
        recorder());
    monitor.start();
    EXPECT_FALSE(monitor.tap()->isListenOnly());
    keyboard().press(1);
    keyboard().press(2);
    clock.runPending();
    EXPECT_EQ(delivered, (std::vector<std::string>{"1", "1"}));
    EXPECT_EQ(handled, (std::vector<std::string>{"down 1", "up 1", "down 2", "up 2"}));
    EXPECT_TRUE(filteredOffMain);
}

TEST_F(EventTapMonitorTest, StartStopStartEndsEachThreadBeforeMakingTheNext) {
    EventTapMonitor monitor(kKeys, nullptr, recorder());
    monitor.stop();  // stopped: nothing to do
    monitor.start();
    const auto firstTap = monitor.tap();
    const RunLoopThread* firstThread = monitor.thread();
    const auto firstSource = firstTap->runLoopSource();
    EXPECT_EQ(firstSource->runLoops().size(), 1u);

    // A second start leaks no second tap or thread.
    monitor.start();
    EXPECT_EQ(monitor.tap(), firstTap);
    EXPECT_EQ(monitor.thread(), firstThread);
    EXPECT_EQ(EventTap::taps().size(), 1u);

    monitor.stop();
    EXPECT_FALSE(monitor.isRunning());
    EXPECT_EQ(monitor.thread(), nullptr);
    EXPECT_FALSE(firstTap->isEnabled());
    EXPECT_FALSE(firstTap->isValid());
    EXPECT_TRUE(firstSource->runLoops().empty());
    EXPECT_TRUE(EventTap::taps().empty());
    keyboard().press(1);
    monitor.stop();

    monitor.start();
    ASSERT_TRUE(monitor.isRunning());
    EXPECT_NE(monitor.tap(), firstTap);
    EXPECT_TRUE(monitor.thread()->runLoop() != nullptr);
    EXPECT_FALSE(monitor.thread()->isCancelled());
    keyboard().press(2);
    clock.runPending();
    EXPECT_EQ(handled, (std::vector<std::string>{"down 2", "up 2"}));
    EXPECT_EQ(delivered, (std::vector<std::string>{"1", "1", "2", "2"}));
}

TEST_F(EventTapMonitorTest, WithoutPermissionNothingStarts) {
    platform::Permissions::setAccessibilityTrusted(false);
    platform::Permissions::setInputMonitoringAccess(platform::Permissions::Access::denied);
    EventTapMonitor monitor(kKeys, nullptr, recorder());
    monitor.start();
    EXPECT_FALSE(monitor.isRunning());
    EXPECT_EQ(monitor.thread(), nullptr);
    monitor.stop();

    // Listening needs input monitoring only; swallowing needs accessibility.
    platform::Permissions::setInputMonitoringAccess(platform::Permissions::Access::granted);
    EventTapMonitor filtering(
        kKeys, [](const Event&) { return true; }, recorder());
    filtering.start();
    EXPECT_FALSE(filtering.isRunning());
    monitor.start();
    EXPECT_TRUE(monitor.isRunning());
}

TEST_F(EventTapMonitorTest, ATapTheSystemDisablesIsEnabledAgainInPlace) {
    EventTapMonitor monitor(
        kKeys, [](const Event&) { return false; }, recorder());
    monitor.start();
    const auto tap = monitor.tap();
    const RunLoopThread* thread = monitor.thread();

    tap->disableBySystem(platform::kCGEventTapDisabledByTimeout);
    EXPECT_TRUE(tap->isEnabled());
    tap->disableBySystem(platform::kCGEventTapDisabledByUserInput);
    EXPECT_TRUE(tap->isEnabled());
    EXPECT_EQ(monitor.tap(), tap);
    EXPECT_EQ(monitor.thread(), thread);
    EXPECT_TRUE(monitor.isRunning());

    // The notifications are not events: the handler hears only the key.
    keyboard().press(3);
    clock.runPending();
    EXPECT_EQ(handled, (std::vector<std::string>{"down 3", "up 3"}));

    // An event that the application cannot read passes by untold.
    const Event odd = Event::keyEvent(platform::EventType::keyDown, 4, {}, "", "");
    EXPECT_EQ(EventTap::post(platform::CGEventType{11}, odd), odd);
    clock.runPending();
    EXPECT_EQ(handled.size(), 2u);
}

TEST_F(EventTapMonitorTest, DestroyingAMonitorFromItsHandlerOrFiltererIsSafe) {
    std::unique_ptr<EventTapMonitor> fromHandler;
    fromHandler = std::make_unique<EventTapMonitor>(kKeys, nullptr, [&](const Event& e) {
        handled.push_back("handler " + std::to_string(e.keyCode));
        fromHandler.reset();
    });
    fromHandler->start();
    keyboard().press(1);  // two handler calls queued; the second finds it gone
    clock.runPending();
    EXPECT_EQ(handled, std::vector<std::string>{"handler 1"});
    EXPECT_EQ(fromHandler, nullptr);

    std::unique_ptr<EventTapMonitor> fromFilterer;
    fromFilterer = std::make_unique<EventTapMonitor>(
        kKeys,
        [&](const Event&) {
            fromFilterer.reset();
            return true;
        },
        recorder());
    fromFilterer->start();
    keyboard().keyDown(2);
    keyboard().keyDown(5);  // no tap any more
    clock.runPending();
    EXPECT_EQ(fromFilterer, nullptr);
    EXPECT_EQ(delivered, (std::vector<std::string>{"1", "1", "5"}));
    EXPECT_TRUE(EventTap::taps().empty());
}

TEST_F(EventTapMonitorTest, ARunLoopThreadServesItsLoopUntilCancelled) {
    RunLoopThread thread(platform::kCFRunLoopDefaultMode);
    EXPECT_EQ(thread.runLoop(), nullptr);
    thread.start();
    ASSERT_NE(thread.runLoop(), nullptr);
    EXPECT_FALSE(thread.runLoop()->isMain());

    std::promise<std::thread::id> ranOn;
    auto source =
        platform::RunLoopSource::create(0, [&] { ranOn.set_value(std::this_thread::get_id()); });
    thread.runLoop()->addSource(source, platform::kCFRunLoopDefaultMode);
    source->signal();
    EXPECT_NE(ranOn.get_future().get(), std::this_thread::get_id());

    // Cancelled while it waits with a source, or idles without one.
    thread.cancel();
    thread.join();
    EXPECT_TRUE(thread.isFinished());
    RunLoopThread idle(platform::kCFRunLoopDefaultMode);
    idle.start();
    idle.cancel();
    idle.join();
    EXPECT_TRUE(idle.isFinished());
}

// An owner let go on its own thread leaves that thread to finish by itself;
// exit must still wait for it before statics are destroyed under it.
TEST(RunLoopThreadDeathTest, AThreadLetGoByItsOwnerEndsBeforeStaticDestruction) {
    // A fresh process: threads may not start after a plain fork.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    static std::atomic<bool> finished{false};
    EXPECT_EXIT(
        {
            // Made before the thread is let go, so destroyed after exit's wait.
            static const struct Watch {
                ~Watch() {
                    if (!finished) std::_Exit(1);
                }
            } watch;
            auto* owner = new RunLoopThread(platform::kCFRunLoopDefaultMode);
            owner->start();
            std::promise<void> letGo;
            auto source = platform::RunLoopSource::create(0, [&] {
                delete owner;
                letGo.set_value();
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                finished = true;
            });
            owner->runLoop()->addSource(source, platform::kCFRunLoopDefaultMode);
            source->signal();
            letGo.get_future().wait();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace zelvana::input::test
