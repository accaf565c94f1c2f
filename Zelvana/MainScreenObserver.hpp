#pragma once

#include <chrono>
#include <memory>
#include <thread>

namespace zelvana::core {

// While started, a thread of its own ticks once per interval and asks the
// main queue to check the main screen; a check that finds another main screen
// than the last one seen posts "mainScreenChanged". The screens belong to the
// main thread, so they are read there and never from the polling thread.
// Start, stop and destroy on the main thread.
class MainScreenObserver {
public:
    static constexpr std::chrono::milliseconds defaultInterval{1000};

    explicit MainScreenObserver(std::chrono::milliseconds interval = defaultInterval);
    // Stops polling.
    ~MainScreenObserver();
    MainScreenObserver(const MainScreenObserver&) = delete;
    MainScreenObserver& operator=(const MainScreenObserver&) = delete;

    // Starts the polling thread; while one runs, nothing more happens.
    void start();
    // Ends the polling thread and waits for it; checks it asked for and that
    // have not run yet are dropped.
    void stop();
    bool isPolling() const { return thread_.joinable(); }

    // One check, on the main thread. The main screen last seen survives a
    // stop, so the first check after a restart posts only for a change; the
    // very first check posts.
    void checkMainScreen();

    // Polling threads started so far, and those not yet ended.
    int threadsStarted() const { return threadsStarted_; }
    int runningThreads() const;

private:
    struct Poll;

    std::chrono::milliseconds interval_;
    std::unique_ptr<Poll> poll_;
    std::thread thread_;
    int threadsStarted_ = 0;
};

}  // namespace zelvana::core
