#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <set>

#include "platform/dispatch/Queue.hpp"

namespace zelvana::platform {

// Marks a queue's worker as blocked on the main thread while it lives, so a
// drain run by the main thread does not wait for it.
class MainWaitScope {
public:
    MainWaitScope();
    ~MainWaitScope();
    MainWaitScope(const MainWaitScope&) = delete;
    MainWaitScope& operator=(const MainWaitScope&) = delete;
};

// The main thread's queue: ready work plus delayed work keyed by a deadline on
// the clock's uptime. Internal to the dispatch library; the run loop and the
// virtual clock drive it.
class MainQueue final : public DispatchQueue {
public:
    static MainQueue& shared();

    void async(Task task) override;
    void sync(const Task& task) override;
    std::shared_ptr<WorkItem> asyncAfter(TimeInterval delay, Task task) override;

    // Runs the ready work and the delayed work that is due, until none is left.
    int runPending();
    // Runs the work ready now and the delayed work due now, but not what that
    // work queues: it waits for the next pass, as on a run loop's turn.
    int runReady();
    std::optional<TimeInterval> nextDeadline() const;
    // Blocks until work is ready, `wakeUp` is called or `timeout` seconds pass.
    void waitForWork(TimeInterval timeout);
    void wakeUp();

private:
    MainQueue() : DispatchQueue("com.apple.main-thread") {}
    struct Delayed {
        TimeInterval deadline;
        std::uint64_t sequence;
        std::shared_ptr<WorkItem> item;
        bool operator<(const Delayed& other) const {
            return deadline != other.deadline ? deadline < other.deadline
                                              : sequence < other.sequence;
        }
    };
    void moveDueWork();

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::shared_ptr<WorkItem>> ready_;
    std::set<Delayed> delayed_;
    std::uint64_t nextSequence_ = 0;
    // Bumped by each new delayed item, so a wait timed for a later deadline
    // ends and is timed again.
    std::uint64_t delayedGeneration_ = 0;
    bool woken_ = false;
};

}  // namespace zelvana::platform
