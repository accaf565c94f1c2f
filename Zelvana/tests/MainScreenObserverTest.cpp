#include "Zelvana/MainScreenObserver.hpp"

#include <gtest/gtest.h>

#include "Zelvana/AppNotifications.hpp"
#include "Zelvana/tests/ScreenFixture.hpp"
#include "platform/dispatch/RunLoop.hpp"

namespace zelvana::core::test {
namespace {

using namespace std::chrono_literals;

class MainScreenObserverTest : public ScreenFixture {
protected:
    PostCounter posts{AppNotification::mainScreenChanged};
};

TEST_F(MainScreenObserverTest, PostsWhenTheMainScreenIsAnotherThanLastSeen) {
    MainScreenObserver observer;
    observer.checkMainScreen();
    EXPECT_EQ(posts.count, 0) << "no screen at all";

    addDisplay(1);
    addDisplay(2);
    observer.checkMainScreen();
    EXPECT_EQ(posts.count, 1) << "the first check always posts";
    observer.checkMainScreen();
    EXPECT_EQ(posts.count, 1);

    desktop.focusDisplay(2);
    observer.checkMainScreen();
    EXPECT_EQ(posts.count, 2);
    EXPECT_FALSE(posts.last.object.has_value());

    // What was seen survives a stop and a restart.
    observer.start();
    observer.stop();
    observer.checkMainScreen();
    EXPECT_EQ(posts.count, 2);
}

// The only test that waits in real time: a thread of its own has to tick.
TEST_F(MainScreenObserverTest, PollsOnOneThreadAndStopsItBeforeReturning) {
    addDisplay(1);
    MainScreenObserver observer(5ms);
    observer.start();
    observer.start();
    EXPECT_TRUE(observer.isPolling());
    EXPECT_EQ(observer.threadsStarted(), 1);
    EXPECT_EQ(observer.runningThreads(), 1);

    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return posts.count > 0; }, 0.5));
    EXPECT_EQ(posts.count, 1);
    EXPECT_TRUE(posts.onMainThread);

    observer.stop();
    EXPECT_FALSE(observer.isPolling());
    EXPECT_EQ(observer.runningThreads(), 0) << "the thread ended before stop returned";
    observer.stop();

    observer.start();
    EXPECT_EQ(observer.threadsStarted(), 2);
    EXPECT_EQ(observer.runningThreads(), 1);
}

}  // namespace
}  // namespace zelvana::core::test
