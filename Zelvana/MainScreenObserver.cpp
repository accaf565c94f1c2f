#include "Zelvana/MainScreenObserver.hpp"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>

#include "Zelvana/AppNotifications.hpp"
#include "platform/appkit/Screen.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/core/Weak.hpp"
#include "platform/dispatch/Queue.hpp"

namespace zelvana::core {

// Shared with the polling thread, which ends before it goes; the checks the
// thread queues reach it through a weak reference, as they may come later.
struct MainScreenObserver::Poll {
    std::mutex mutex;
    std::condition_variable wake;
    bool stopRequested = false;
    std::atomic<int> runningThreads{0};
    // One queued check at a time, however slow the main queue is.
    std::atomic<bool> checkQueued{false};
    // Main thread only: which run of the thread a queued check belongs to,
    // and the main screen last seen.
    int generation = 0;
    std::optional<platform::Screen> previousMainScreen;
    platform::WeakFactory<Poll> weak{this};

    // `self` is taken on the main thread, where the checks use it.
    void run(std::chrono::milliseconds interval, int runGeneration, platform::WeakRef<Poll> self) {
        std::unique_lock lock(mutex);
        while (!wake.wait_for(lock, interval, [this] { return stopRequested; })) {
            queueCheck(runGeneration, self);
        }
        --runningThreads;
    }

    void queueCheck(int runGeneration, const platform::WeakRef<Poll>& self) {
        if (checkQueued.exchange(true)) return;
        platform::mainQueue().async([self, runGeneration] {
            Poll* poll = self.get();
            if (!poll) return;
            poll->checkQueued = false;
            if (poll->generation == runGeneration) poll->check();
        });
    }

    void check() {
        const auto main = platform::Screen::main();
        if (!main || (previousMainScreen && *previousMainScreen == *main)) return;
        previousMainScreen = main;
        postAppNotification(AppNotification::mainScreenChanged);
    }
};

MainScreenObserver::MainScreenObserver(std::chrono::milliseconds interval)
    : interval_(interval), poll_(std::make_unique<Poll>()) {}

MainScreenObserver::~MainScreenObserver() {
    stop();
}

void MainScreenObserver::start() {
    platform::assertMainThread();
    if (isPolling()) return;
    {
        std::lock_guard lock(poll_->mutex);
        poll_->stopRequested = false;
    }
    ++poll_->runningThreads;
    ++threadsStarted_;
    thread_ =
        std::thread(&Poll::run, poll_.get(), interval_, ++poll_->generation, poll_->weak.ref());
}

void MainScreenObserver::stop() {
    platform::assertMainThread();
    if (!isPolling()) return;
    {
        std::lock_guard lock(poll_->mutex);
        poll_->stopRequested = true;
    }
    poll_->wake.notify_all();
    thread_.join();
    ++poll_->generation;
}

void MainScreenObserver::checkMainScreen() {
    platform::assertMainThread();
    poll_->check();
}

int MainScreenObserver::runningThreads() const {
    return poll_->runningThreads;
}

}  // namespace zelvana::core
