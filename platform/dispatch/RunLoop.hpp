#pragma once

#include <functional>
#include <memory>

#include "platform/dispatch/Queue.hpp"

namespace zelvana::platform {

// The main thread's loop: it runs the main queue's work and its timers until
// stopped. With the virtual clock, tests drive it through VirtualClock instead.
class RunLoop {
public:
    static RunLoop& main();

    // Runs until `stop` is called (from any thread or from inside the loop).
    void run();
    // Runs until `done` returns true or `timeout` seconds of the clock passed;
    // returns whether `done` became true.
    bool runUntil(const std::function<bool()>& done, TimeInterval timeout);
    void stop();
    // Runs the work that is ready now (and due timers) without waiting.
    // Returns the number of items run.
    int runPending();
    bool isRunning() const;

private:
    RunLoop() = default;
};

// A repeating or one-shot timer on the main queue, timed by the process clock.
class Timer {
public:
    static std::shared_ptr<Timer> scheduled(TimeInterval interval, bool repeats,
                                            std::function<void(Timer&)> block);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    void invalidate();
    bool isValid() const { return valid_; }
    TimeInterval interval() const { return interval_; }
    // Fires now, out of schedule; a one-shot timer is then invalid.
    void fire();

private:
    Timer(TimeInterval interval, bool repeats, std::function<void(Timer&)> block);
    void schedule();

    TimeInterval interval_;
    bool repeats_;
    bool valid_ = true;
    std::function<void(Timer&)> block_;
    std::shared_ptr<WorkItem> pending_;
    std::weak_ptr<Timer> self_;
};

}  // namespace zelvana::platform
