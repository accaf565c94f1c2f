#include <gtest/gtest.h>

#include <future>
#include <string>
#include <thread>
#include <vector>

#include "platform/dispatch/Clock.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/dispatch/RunLoop.hpp"

namespace zelvana::platform {
namespace {

class RunLoopTest : public ::testing::Test {
protected:
    void SetUp() override { RunLoop::main().resetForTesting(); }
    void TearDown() override { RunLoop::main().resetForTesting(); }

    // An observer that writes "<name>:<activity>" into `calls`.
    std::shared_ptr<RunLoopObserver> recorder(
        const std::string& name, RunLoopActivities activities = kCFRunLoopAllActivities,
        bool repeats = true, int order = 0) {
        return RunLoopObserver::create(
            activities, repeats, order, [this, name](RunLoopObserver&, RunLoopActivity activity) {
                calls.push_back(name + ":" + std::to_string(static_cast<unsigned>(activity)));
            });
    }

    VirtualClock clock;
    RunLoop& loop = RunLoop::main();
    std::vector<std::string> calls;
    std::vector<Subscription> observers;
};

TEST_F(RunLoopTest, ObserversHearOnlyTheModesTheyWereAddedTo) {
    observers.push_back(loop.addObserver(recorder("tracking"), kEventTrackingRunLoopMode));
    observers.push_back(loop.addObserver(recorder("default", RunLoopActivity::beforeSources),
                                         kCFRunLoopDefaultMode));
    observers.push_back(loop.addObserver(
        recorder("common", RunLoopActivity::entry | RunLoopActivity::exit), kCFRunLoopCommonModes));

    EXPECT_FALSE(loop.currentMode().has_value());
    loop.enterMode(kEventTrackingRunLoopMode);
    EXPECT_EQ(loop.currentMode(), kEventTrackingRunLoopMode);
    loop.turn();
    loop.exitMode();
    EXPECT_FALSE(loop.currentMode().has_value());
    EXPECT_EQ(calls, (std::vector<std::string>{"tracking:1", "common:1", "tracking:2", "tracking:4",
                                               "tracking:128", "common:128"}));

    // A mode of one's own is not common until it is made so.
    calls.clear();
    loop.enterMode("Custom");
    loop.exitMode();
    EXPECT_TRUE(calls.empty());
    loop.addCommonMode("Custom");
    loop.enterMode("Custom");
    loop.exitMode();
    EXPECT_EQ(calls, (std::vector<std::string>{"common:1", "common:128"}));

    // Not running: a turn is taken in the default mode.
    calls.clear();
    loop.turn();
    EXPECT_EQ(calls, (std::vector<std::string>{"default:4"}));
}

TEST_F(RunLoopTest, ObserversRunByOrderAndMayRemoveThemselvesOrFireOnce) {
    auto late = recorder("late", RunLoopActivity::beforeSources, true, 5);
    auto once = recorder("once", RunLoopActivity::beforeSources, false, 1);
    Subscription leavingToken;
    auto leaving = RunLoopObserver::create(RunLoopActivity::beforeSources, true, 0,
                                           [&](RunLoopObserver&, RunLoopActivity) {
                                               calls.push_back("leaving");
                                               leavingToken.cancel();
                                           });
    observers.push_back(loop.addObserver(late, kCFRunLoopDefaultMode));
    observers.push_back(loop.addObserver(once, kCFRunLoopDefaultMode));
    leavingToken = loop.addObserver(leaving, kCFRunLoopDefaultMode);
    observers.push_back(loop.addObserver(leaving, kCFRunLoopDefaultMode));  // kept once
    EXPECT_TRUE(loop.containsObserver(leaving, kCFRunLoopDefaultMode));

    loop.turn();
    loop.turn();
    EXPECT_EQ(calls, (std::vector<std::string>{"leaving", "once:4", "late:4", "late:4"}));
    EXPECT_FALSE(loop.containsObserver(leaving, kCFRunLoopDefaultMode));
    EXPECT_FALSE(once->isValid());

    late->invalidate();
    loop.turn();
    EXPECT_EQ(calls.size(), 4u);
}

TEST_F(RunLoopTest, SignalledSourcesFireInTheirModesAfterTheObservers) {
    observers.push_back(loop.addObserver(recorder("observer", RunLoopActivity::beforeSources),
                                         kCFRunLoopCommonModes));
    auto tracking = RunLoopSource::create(0, [&] { calls.push_back("tracking source"); });
    std::shared_ptr<RunLoopSource> second;
    auto first = RunLoopSource::create(0, [&] {
        calls.push_back("first");
        second->signal();  // inside the turn: handled by it, not by a turn of its own
    });
    second = RunLoopSource::create(0, [&] { calls.push_back("second"); });
    loop.addSource(tracking, kEventTrackingRunLoopMode);
    loop.addSource(first, kCFRunLoopDefaultMode);
    loop.addSource(second, kCFRunLoopDefaultMode);

    // Idle, the loop turns at once in the default mode: the tracking source
    // waits; a source signalled by another fires in the same turn.
    tracking->signal();
    EXPECT_EQ(calls, (std::vector<std::string>{"observer:4"}));
    first->signal();
    EXPECT_EQ(calls, (std::vector<std::string>{"observer:4", "observer:4", "first", "second"}));
    EXPECT_TRUE(tracking->isSignalled());

    calls.clear();
    loop.enterMode(kEventTrackingRunLoopMode);
    EXPECT_EQ(calls, (std::vector<std::string>{"observer:4", "tracking source"}));
    loop.exitMode();

    calls.clear();
    loop.removeSource(first, kCFRunLoopDefaultMode);
    first->signal();
    EXPECT_EQ(calls, (std::vector<std::string>{"observer:4"}));
    EXPECT_FALSE(loop.containsSource(first, kCFRunLoopDefaultMode));
}

TEST_F(RunLoopTest, RunInModeNestsReportsWhyItReturnedAndNeverWaitsOnTheVirtualClock) {
    EXPECT_EQ(loop.runInMode("Empty", 10, false), RunLoop::RunResult::finished);

    std::vector<std::string> modes;
    auto observer = RunLoopObserver::create(
        RunLoopActivity::beforeSources, true, 0, [&](RunLoopObserver&, RunLoopActivity) {
            modes.push_back(loop.currentMode().value_or("none"));
        });
    observers.push_back(loop.addObserver(observer, kCFRunLoopCommonModes));
    loop.enterMode("Outer");
    bool queued = false;
    mainQueue().async([&] { queued = true; });
    EXPECT_EQ(loop.runInMode(kEventTrackingRunLoopMode, 60, false), RunLoop::RunResult::timedOut);
    EXPECT_TRUE(queued);  // a common mode serves the main queue
    EXPECT_EQ(loop.currentMode(), "Outer");
    ASSERT_FALSE(modes.empty());
    EXPECT_EQ(modes.front(), kEventTrackingRunLoopMode);
    loop.exitMode();

    auto source = RunLoopSource::create(0, [] {});
    loop.addSource(source, "Private");
    mainQueue().async([&] { source->signal(); });
    bool queuedInPrivate = false;
    mainQueue().async([&] { queuedInPrivate = true; });
    // Not a common mode: the main queue waits, so the source is never signalled.
    EXPECT_EQ(loop.runInMode("Private", 1, true), RunLoop::RunResult::timedOut);
    EXPECT_FALSE(queuedInPrivate);
    clock.runPending();
    EXPECT_TRUE(queuedInPrivate);
    EXPECT_EQ(loop.runInMode("Private", 1, true), RunLoop::RunResult::handledSource);

    auto stopper = RunLoopSource::create(0, [&] { loop.stop(); });
    loop.addSource(stopper, "Private");
    stopper->signal();
    EXPECT_EQ(loop.runInMode("Private", 1, false), RunLoop::RunResult::stopped);
}

}  // namespace
}  // namespace zelvana::platform

namespace zelvana::platform {
namespace {

// A thread that publishes its own loop, then runs what the test hands it.
class LoopThread {
public:
    LoopThread() {
        thread_ = std::thread([this] {
            loop_.set_value(RunLoop::current().retained());
            auto job = job_.get_future().get();
            if (job) job();
        });
        loop = loop_.get_future().get();
    }
    ~LoopThread() {
        if (!handedJob_) job_.set_value(nullptr);
        thread_.join();
    }
    // Runs `job` on the thread; its result arrives in the returned future.
    template <typename Job>
    auto run(Job job) {
        auto task = std::make_shared<std::packaged_task<decltype(job())()>>(std::move(job));
        auto result = task->get_future();
        handedJob_ = true;
        job_.set_value([task] { (*task)(); });
        return result;
    }

    std::shared_ptr<RunLoop> loop;

private:
    std::promise<std::shared_ptr<RunLoop>> loop_;
    std::promise<std::function<void()>> job_;
    bool handedJob_ = false;
    std::thread thread_;
};

TEST(RunLoopThreadTest, EachThreadHasItsOwnLoopThatServesOnlyItsSources) {
    EXPECT_TRUE(RunLoop::current().isMain());
    LoopThread first;
    LoopThread second;
    EXPECT_FALSE(first.loop->isMain());
    EXPECT_NE(first.loop, second.loop);

    std::promise<std::thread::id> firedOn;
    auto source = RunLoopSource::create(0, [&] { firedOn.set_value(std::this_thread::get_id()); });
    first.loop->addSource(source, kCFRunLoopDefaultMode);
    EXPECT_TRUE(first.loop->containsSource(source, kCFRunLoopDefaultMode));
    EXPECT_FALSE(RunLoop::main().containsSource(source, kCFRunLoopDefaultMode));
    EXPECT_EQ(source->runLoops(), std::vector<std::shared_ptr<RunLoop>>{first.loop});

    // The same thread asks again and gets the same loop; the run ends after
    // the source fired there.
    auto result = first.run([&] {
        EXPECT_EQ(&RunLoop::current(), first.loop.get());
        return RunLoop::current().runInMode(kCFRunLoopDefaultMode, RunLoop::distantFuture, true);
    });
    source->signal();
    const auto firingThread = firedOn.get_future().get();
    EXPECT_EQ(result.get(), RunLoop::RunResult::handledSource);
    EXPECT_NE(firingThread, std::this_thread::get_id());

    first.loop->removeSource(source, kCFRunLoopDefaultMode);
    EXPECT_TRUE(source->runLoops().empty());
}

TEST(RunLoopThreadTest, RunsEndWhenStoppedOrLeftWithoutSourcesAndAStopIsNeverLost) {
    using Result = RunLoop::RunResult;
    LoopThread thread;
    auto source = RunLoopSource::create(0, [] {});
    thread.loop->addSource(source, kCFRunLoopDefaultMode);
    // A stop sent before the run starts still ends it.
    thread.loop->stop();
    std::promise<void> waiting;
    auto results = thread.run([&] {
        auto& own = RunLoop::current();
        std::vector<Result> results;
        results.push_back(own.runInMode(kCFRunLoopDefaultMode, RunLoop::distantFuture, false));
        results.push_back(own.runInMode(kCFRunLoopDefaultMode, 0, false));
        // Stopped from the main thread while it waits, whenever the stop lands.
        waiting.set_value();
        results.push_back(own.runInMode(kCFRunLoopDefaultMode, RunLoop::distantFuture, false));
        // No source: nothing to wait for.
        own.removeSource(source, kCFRunLoopDefaultMode);
        results.push_back(own.runInMode(kCFRunLoopDefaultMode, 10, false));
        return results;
    });
    waiting.get_future().wait();
    thread.loop->stop();
    EXPECT_EQ(results.get(), (std::vector<Result>{Result::stopped, Result::timedOut,
                                                  Result::stopped, Result::finished}));
    EXPECT_FALSE(thread.loop->isRunning());
}

TEST(RunLoopThreadTest, RemovingTheLastSourceWakesAWaitingRun) {
    LoopThread thread;
    auto& loop = *thread.loop;
    auto source = RunLoopSource::create(0, [] {});
    loop.addSource(source, kCFRunLoopDefaultMode);
    std::promise<void> entered;
    auto observer =
        RunLoopObserver::create(RunLoopActivity::entry, false, 0,
                                [&](RunLoopObserver&, RunLoopActivity) { entered.set_value(); });
    const auto token = loop.addObserver(observer, kCFRunLoopDefaultMode);
    auto result = thread.run(
        [&] { return loop.runInMode(kCFRunLoopDefaultMode, RunLoop::distantFuture, false); });
    entered.get_future().wait();
    EXPECT_TRUE(loop.isRunning());
    EXPECT_EQ(loop.currentMode(), kCFRunLoopDefaultMode);
    loop.removeSource(source, kCFRunLoopDefaultMode);
    EXPECT_EQ(result.get(), RunLoop::RunResult::finished);
}

TEST(RunLoopThreadTest, SourcesOfThreadLoopsDoNotTurnTheMainLoop) {
    RunLoop::main().resetForTesting();
    int mainTurns = 0;
    auto observer =
        RunLoopObserver::create(RunLoopActivity::beforeSources, true, 0,
                                [&](RunLoopObserver&, RunLoopActivity) { ++mainTurns; });
    const auto token = RunLoop::main().addObserver(observer, kCFRunLoopDefaultMode);
    LoopThread thread;
    auto source = RunLoopSource::create(0, [] {});
    thread.loop->addSource(source, kCFRunLoopDefaultMode);
    source->signal();
    EXPECT_EQ(mainTurns, 0);
    EXPECT_EQ(thread.run([] { return RunLoop::current().runPending(); }).get(), 1);

    // Held by no loop, a signal turns the idle main loop as before.
    thread.loop->removeSource(source, kCFRunLoopDefaultMode);
    source->signal();
    EXPECT_EQ(mainTurns, 1);
    RunLoop::main().resetForTesting();
}

}  // namespace
}  // namespace zelvana::platform
