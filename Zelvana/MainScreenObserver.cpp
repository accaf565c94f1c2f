#include "Zelvana/MainScreenObserver.hpp"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>

#include "Zelvana/AppNotifications.hpp"
#include "platform/appkit/Screen.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/Queue.hpp"

namespace zelvana::core {

// Shared with the polling thread and with the checks it queues, which may
// outlive the observer.
struct MainScreenObserver::Poll : std::enable_shared_from_this<Poll> {
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

    void run(std::chrono::milliseconds interval, int runGeneration) {
        std::unique_lock lock(mutex);
        while (!wake.wait_for(lock, interval, [this] { return stopRequested; })) {
            queueCheck(runGeneration);
        }
        --runningThreads;
    }

    void queueCheck(int runGeneration) {
        if (checkQueued.exchange(true)) return;
        platform::mainQueue().async([weak = weak_from_this(), runGeneration] {
            const auto poll = weak.lock();
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
    : interval_(interval), poll_(std::make_shared<Poll>()) {}

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
    thread_ = std::thread(&Poll::run, poll_, interval_, ++poll_->generation);
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
