#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/dispatch/Clock.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/dispatch/RunLoop.hpp"

namespace zelvana::platform {
namespace {

TEST(VirtualClockTest, RunsDelayedWorkInDeadlineOrderFifoAmongEqualDeadlines) {
    VirtualClock clock;
    std::vector<std::string> ran;
    std::vector<TimeInterval> seenAt;
    const TimeInterval start = clock.uptime();
    auto record = [&](std::string name) {
        return [&, name] {
            ran.push_back(name);
            seenAt.push_back(clock.uptime() - start);
        };
    };
    mainQueue().asyncAfter(0.3, record("c"));
    mainQueue().asyncAfter(0.1, record("a1"));
    mainQueue().asyncAfter(0.1, record("a2"));
    mainQueue().asyncAfter(0.2, record("b"));
    mainQueue().asyncAfter(5.0, record("late"));

    clock.advance(300);
    EXPECT_EQ(ran, (std::vector<std::string>{"a1", "a2", "b", "c"}));
    ASSERT_EQ(seenAt.size(), 4u);
    EXPECT_DOUBLE_EQ(seenAt[0], 0.1);  // each runs with the clock at its own deadline
    EXPECT_DOUBLE_EQ(seenAt[2], 0.2);
    EXPECT_DOUBLE_EQ(seenAt[3], 0.3);
    EXPECT_DOUBLE_EQ(clock.uptime() - start, 0.3);

    clock.advance(10000);
    EXPECT_EQ(ran.back(), "late");
}

TEST(VirtualClockTest, WorkQueuedByWorkRunsWhenItFallsDueWithinTheSameAdvance) {
    VirtualClock clock;
    std::vector<int> ran;
    mainQueue().asyncAfter(0.1, [&] {
        ran.push_back(1);
        mainQueue().async([&] { ran.push_back(2); });
        mainQueue().asyncAfter(0.1, [&] { ran.push_back(3); });
    });
    clock.advance(150);
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
    clock.advance(50);
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
}

TEST(VirtualClockTest, WallTimeAndCancellationFollowTheClock) {
    VirtualClock clock(1000.0);
    EXPECT_DOUBLE_EQ(platform::clock().now(), 1000.0);
    bool ran = false;
    auto item = mainQueue().asyncAfter(1.0, [&] { ran = true; });
    item->cancel();
    clock.advance(2000);
    EXPECT_FALSE(ran);
    EXPECT_DOUBLE_EQ(platform::clock().now(), 1002.0);
}

TEST(VirtualClockTest, RealClockReturnsWhenTheVirtualOneIsGoneAndAReaderStillHoldingItReadsOn) {
    const Clock* fetched = nullptr;
    {
        VirtualClock clock(1000);
        fetched = &platform::clock();
        EXPECT_TRUE(fetched->isVirtual());
    }
    EXPECT_FALSE(platform::clock().isVirtual());
    // A worker stamping a log line as a test ends: it must not read freed memory.
    EXPECT_DOUBLE_EQ(fetched->now(), 1000.0);
    // Wall time is seconds since 2001: after 2020 that is well over 6e8.
    EXPECT_GT(platform::clock().now(), 6e8);
}

TEST(SerialQueueTest, RunsWorkInOrderOnItsOwnThreadWithItsLabel) {
    SerialQueue queue("test-queue");
    std::vector<int> ran;
    std::optional<std::string> label;
    bool onMain = true;
    for (int i = 0; i < 100; ++i) queue.async([&ran, i] { ran.push_back(i); });
    queue.sync([&] {
        label = DispatchQueue::currentLabel();
        onMain = isMainThread();
    });
    ASSERT_EQ(ran.size(), 100u);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(ran[i], i);
    EXPECT_EQ(label, "test-queue");
    EXPECT_FALSE(onMain);
    EXPECT_TRUE(isMainThread());
    EXPECT_FALSE(DispatchQueue::currentLabel().has_value());
}

TEST(SerialQueueTest, SyncFromItsOwnQueueRunsInlineInsteadOfDeadlocking) {
    SerialQueue queue("reentrant");
    std::vector<std::string> steps;
    queue.sync([&] {
        steps.push_back("outer");
        queue.sync([&] { steps.push_back("inner"); });
        steps.push_back("after");
    });
    EXPECT_EQ(steps, (std::vector<std::string>{"outer", "inner", "after"}));
}

TEST(SerialQueueTest, AQueueReleasedByItsOwnWorkShutsDownCleanly) {
    auto queue = std::make_shared<SerialQueue>("self-releasing");
    std::atomic<bool> released{false};
    queue->async([&queue, &released] {
        queue.reset();  // the last owner lets go from inside the queue's own work
        released = true;
    });
    while (!released) std::this_thread::yield();
    drainAllQueues();
    EXPECT_EQ(queue, nullptr);
}

TEST(SerialQueueTest, DrainAllQueuesWaitsForWorkQueuedOnEveryQueue) {
    SerialQueue first("first");
    SerialQueue second("second");
    std::atomic<int> count{0};
    for (int i = 0; i < 50; ++i) {
        first.async([&] {
            ++count;
            second.async([&] { ++count; });
        });
    }
    globalQueue().async([&] { ++count; });
    drainAllQueues();
    EXPECT_EQ(count.load(), 101);
}

TEST(SerialQueueTest, DelayedWorkIsTimedByTheVirtualClock) {
    VirtualClock clock;
    SerialQueue queue("delayed");
    std::atomic<bool> ran{false};
    queue.asyncAfter(1.0, [&] { ran = true; });
    clock.advance(999);
    queue.drain();
    EXPECT_FALSE(ran);
    clock.advance(1);
    queue.drain();
    EXPECT_TRUE(ran);
}

TEST(MainQueueTest, SyncFromAnotherThreadRunsOnTheRunningMainLoop) {
    bool ranOnMain = false;
    std::thread other([&] {
        mainQueue().sync([&] { ranOnMain = isMainThread(); });
        RunLoop::main().stop();
    });
    RunLoop::main().runUntil([] { return false; }, 10.0);
    other.join();
    EXPECT_TRUE(ranOnMain);
}

TEST(MainQueueTest, DelayedWorkAddedFromAnotherThreadWakesAWaitingRun) {
    // The run waits for the whole mode timeout unless new delayed work wakes it.
    std::thread other;
    mainQueue().async([&] {
        other = std::thread([] { mainQueue().asyncAfter(0.01, [] { RunLoop::main().stop(); }); });
    });
    const auto start = std::chrono::steady_clock::now();
    const auto result = RunLoop::main().runInMode(kCFRunLoopDefaultMode, 5.0, false);
    const std::chrono::duration<double> waited = std::chrono::steady_clock::now() - start;
    other.join();
    EXPECT_EQ(result, RunLoop::RunResult::stopped);
    EXPECT_LT(waited.count(), 2.0);
}

TEST(TimerTest, RepeatsUntilInvalidatedAndOneShotsFireOnce) {
    VirtualClock clock;
    int repeating = 0;
    int once = 0;
    const auto every = Timer::scheduled(1.0, Repeats::yes, [&](Timer& timer) {
        if (++repeating == 3) timer.invalidate();
    });
    const auto single = Timer::scheduled(0.5, Repeats::no, [&](Timer&) { ++once; });
    clock.advance(10000);
    EXPECT_EQ(repeating, 3);
    EXPECT_EQ(once, 1);
}

TEST(TimerTest, ARepeatingTimerWithoutAnIntervalStillLetsTimePass) {
    VirtualClock clock;
    int fired = 0;
    const auto timer = Timer::scheduled(0, Repeats::yes, [&](Timer&) { ++fired; });
    clock.advance(1);     // would never return if every firing were due at once
    EXPECT_GE(fired, 9);  // ten tenth-milliseconds, give or take rounding
    EXPECT_LE(fired, 10);
}

TEST(TimerTest, DroppingTheTokenStopsTheTimerAndReleasingKeepsIt) {
    VirtualClock clock;
    int dropped = 0, kept = 0;
    {
        const auto token = Timer::scheduled(1.0, Repeats::yes, [&](Timer&) { ++dropped; });
    }
    Timer::scheduled(1.0, Repeats::no, [&](Timer&) { ++kept; }).release();
    clock.advance(5000);
    EXPECT_EQ(dropped, 0);
    EXPECT_EQ(kept, 1);
}

}  // namespace
}  // namespace zelvana::platform
