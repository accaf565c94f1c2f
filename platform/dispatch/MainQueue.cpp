#include "platform/dispatch/MainQueue.hpp"

#include <chrono>
#include <future>

namespace zelvana::platform {

MainQueue& MainQueue::shared() {
    static MainQueue* instance = new MainQueue();  // lives until exit, queues may outlive statics
    return *instance;
}

void MainQueue::async(Task task) {
    {
        std::lock_guard lock(mutex_);
        ready_.push_back(std::make_shared<WorkItem>(std::move(task)));
    }
    wake_.notify_all();
}

void MainQueue::sync(const Task& task) {
    if (isMainThread()) {
        CurrentScope scope(this);
        task();
        return;
    }
    // Another thread waits until the main loop has run the task.
    std::promise<void> done;
    async([&] {
        task();
        done.set_value();
    });
    const MainWaitScope waiting;
    done.get_future().wait();
}

std::shared_ptr<WorkItem> MainQueue::asyncAfter(TimeInterval delay, Task task) {
    auto item = std::make_shared<WorkItem>(std::move(task));
    {
        std::lock_guard lock(mutex_);
        const TimeInterval deadline = clock().uptime() + (delay > 0 ? delay : 0);
        delayed_.insert(Delayed{deadline, nextSequence_++, item});
        ++delayedGeneration_;
    }
    wake_.notify_all();
    return item;
}

void MainQueue::moveDueWork() {
    const TimeInterval now = clock().uptime();
    while (!delayed_.empty() && delayed_.begin()->deadline <= now) {
        ready_.push_back(delayed_.begin()->item);
        delayed_.erase(delayed_.begin());
    }
}

int MainQueue::runPending() {
    int count = 0;
    CurrentScope scope(this);
    for (;;) {
        std::shared_ptr<WorkItem> item;
        {
            std::lock_guard lock(mutex_);
            moveDueWork();
            if (ready_.empty()) return count;
            item = std::move(ready_.front());
            ready_.pop_front();
        }
        if (!item->isCancelled()) {
            item->perform();
            ++count;
        }
    }
}

int MainQueue::runReady() {
    std::size_t left = 0;
    {
        std::lock_guard lock(mutex_);
        moveDueWork();
        left = ready_.size();
    }
    int count = 0;
    CurrentScope scope(this);
    for (; left > 0; --left) {
        std::shared_ptr<WorkItem> item;
        {
            std::lock_guard lock(mutex_);
            if (ready_.empty()) break;
            item = std::move(ready_.front());
            ready_.pop_front();
        }
        if (!item->isCancelled()) {
            item->perform();
            ++count;
        }
    }
    return count;
}

std::optional<TimeInterval> MainQueue::nextDeadline() const {
    std::lock_guard lock(mutex_);
    for (const auto& delayed : delayed_) {
        if (!delayed.item->isCancelled()) return delayed.deadline;
    }
    return std::nullopt;
}

void MainQueue::waitForWork(TimeInterval timeout) {
    std::unique_lock lock(mutex_);
    if (!delayed_.empty() && !clock().isVirtual()) {
        timeout = std::min(timeout, delayed_.begin()->deadline - clock().uptime());
    }
    if (timeout <= 0) return;
    const std::uint64_t generation = delayedGeneration_;
    wake_.wait_for(lock, std::chrono::duration<double>(timeout),
                   [&] { return woken_ || !ready_.empty() || delayedGeneration_ != generation; });
    woken_ = false;
}

void MainQueue::wakeUp() {
    {
        std::lock_guard lock(mutex_);
        woken_ = true;
    }
    wake_.notify_all();
}

}  // namespace zelvana::platform
