#include "platform/dispatch/Queue.hpp"

#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/dispatch/MainQueue.hpp"

namespace zelvana::platform {

namespace {

thread_local const DispatchQueue* tCurrentQueue = nullptr;
struct Workers;
thread_local Workers* tCurrentWorkers = nullptr;

// A pool of workers that run queued tasks one at a time each. Serial queues
// use one worker, the global queue several.
struct Workers : std::enable_shared_from_this<Workers> {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Task> tasks;
    int running = 0;
    // Running tasks blocked in a synchronous call to the main queue.
    int waitingOnMain = 0;
    bool stopping = false;
    std::vector<std::thread> threads;
    std::vector<std::thread::id> ids;

    bool isWorkerThread() {
        std::lock_guard lock(mutex);
        return std::find(ids.begin(), ids.end(), std::this_thread::get_id()) != ids.end();
    }

    void push(Task task) {
        // The task may release the queue's last owner before we notify.
        const auto keepAlive = shared_from_this();
        {
            std::lock_guard lock(mutex);
            tasks.push_back(std::move(task));
        }
        changed.notify_all();
    }

    // Waits until the queue is empty and nothing runs.
    void waitUntilIdle() {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return tasks.empty() && running == 0; });
    }

    // Waits until nothing runs and nothing is queued, except for tasks that
    // wait for the main thread, and the work queued behind them when no
    // worker is left to take it: the main thread is the caller, so waiting
    // for those would never end.
    void waitUntilSettled() {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] {
            const bool allWaitOnMain = waitingOnMain == static_cast<int>(threads.size());
            return running == waitingOnMain && (tasks.empty() || allWaitOnMain);
        });
    }

    void setWaitingOnMain(bool waiting) {
        {
            std::lock_guard lock(mutex);
            waitingOnMain += waiting ? 1 : -1;
        }
        changed.notify_all();
    }

    void start(const DispatchQueue* queue, int count) {
        std::lock_guard lock(mutex);
        for (int i = 0; i < count; ++i) {
            // A worker keeps its pool alive: a queue released by its own work
            // detaches the thread, which still finishes on this state.
            threads.emplace_back([self = shared_from_this(), queue] { self->loop(queue); });
            ids.push_back(threads.back().get_id());
        }
    }

    void loop(const DispatchQueue* queue) {
        tCurrentQueue = queue;
        tCurrentWorkers = this;
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return stopping || !tasks.empty(); });
            if (tasks.empty()) return;  // stopping, and everything queued has run
            Task task = std::move(tasks.front());
            tasks.pop_front();
            ++running;
            lock.unlock();
            task();
            lock.lock();
            --running;
            changed.notify_all();
        }
    }

    void stopAndJoin() {
        {
            std::lock_guard lock(mutex);
            stopping = true;
        }
        changed.notify_all();
        for (auto& thread : threads) {
            if (thread.get_id() == std::this_thread::get_id()) {
                thread.detach();  // a queue released from its own work
            } else {
                thread.join();
            }
        }
    }
};

// Live serial queues, so termination can drain them all.
struct Registry {
    std::mutex mutex;
    std::vector<std::weak_ptr<Workers>> queues;

    static Registry& shared() {
        static Registry* instance = new Registry();
        return *instance;
    }

    void add(const std::shared_ptr<Workers>& workers) {
        std::lock_guard lock(mutex);
        std::erase_if(queues, [](const auto& weak) { return weak.expired(); });
        queues.push_back(workers);
    }

    std::vector<std::shared_ptr<Workers>> live() {
        std::lock_guard lock(mutex);
        std::vector<std::shared_ptr<Workers>> result;
        for (const auto& weak : queues) {
            if (auto strong = weak.lock()) result.push_back(std::move(strong));
        }
        return result;
    }
};

void runWaiting(Workers& workers, const DispatchQueue* queue, const Task& task) {
    if (tCurrentQueue == queue || workers.isWorkerThread()) {
        task();  // waiting on ourselves would never end
        return;
    }
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    workers.push([&] {
        task();
        std::lock_guard lock(mutex);
        done = true;
        finished.notify_all();
    });
    std::unique_lock lock(mutex);
    finished.wait(lock, [&] { return done; });
}

// Delayed work is timed on the main queue, so the virtual clock drives it too.
// A queue released before the delay ends drops the work.
std::shared_ptr<WorkItem> afterOnMain(const std::shared_ptr<Workers>& target, TimeInterval delay,
                                      Task task) {
    auto item = std::make_shared<WorkItem>(std::move(task));
    MainQueue::shared().asyncAfter(delay, [weak = std::weak_ptr(target), item] {
        if (auto workers = weak.lock()) workers->push([item] { item->perform(); });
    });
    return item;
}

class GlobalQueue final : public DispatchQueue {
public:
    GlobalQueue() : DispatchQueue("com.apple.root.default-qos") {
        workers_->start(this, 4);
        Registry::shared().add(workers_);
    }
    void async(Task task) override { workers_->push(std::move(task)); }
    void sync(const Task& task) override { runWaiting(*workers_, this, task); }
    std::shared_ptr<WorkItem> asyncAfter(TimeInterval delay, Task task) override {
        return afterOnMain(workers_, delay, std::move(task));
    }

private:
    std::shared_ptr<Workers> workers_ = std::make_shared<Workers>();
};

}  // namespace

void WorkItem::perform() {
    if (!cancelled_) task_();
}

bool DispatchQueue::isCurrent() const {
    if (this == &MainQueue::shared()) return isMainThread();
    return tCurrentQueue == this;
}

std::optional<std::string> DispatchQueue::currentLabel() {
    if (tCurrentQueue) return tCurrentQueue->label();
    return std::nullopt;
}

DispatchQueue::CurrentScope::CurrentScope(const DispatchQueue* queue) : previous_(tCurrentQueue) {
    tCurrentQueue = queue;
}

DispatchQueue::CurrentScope::~CurrentScope() {
    tCurrentQueue = previous_;
}

struct SerialQueue::State {
    std::shared_ptr<Workers> workers = std::make_shared<Workers>();
};

SerialQueue::SerialQueue(std::string label)
    : DispatchQueue(std::move(label)), state_(std::make_shared<State>()) {
    state_->workers->start(this, 1);
    Registry::shared().add(state_->workers);
}

SerialQueue::~SerialQueue() {
    state_->workers->stopAndJoin();
}

void SerialQueue::async(Task task) {
    state_->workers->push(std::move(task));
}

void SerialQueue::sync(const Task& task) {
    runWaiting(*state_->workers, this, task);
}

std::shared_ptr<WorkItem> SerialQueue::asyncAfter(TimeInterval delay, Task task) {
    return afterOnMain(state_->workers, delay, std::move(task));
}

void SerialQueue::drain() {
    if (isCurrent()) return;
    state_->workers->waitUntilIdle();
}

DispatchQueue& mainQueue() {
    return MainQueue::shared();
}

DispatchQueue& globalQueue() {
    static GlobalQueue* instance = new GlobalQueue();
    return *instance;
}

MainWaitScope::MainWaitScope() {
    if (tCurrentWorkers) tCurrentWorkers->setWaitingOnMain(true);
}

MainWaitScope::~MainWaitScope() {
    if (tCurrentWorkers) tCurrentWorkers->setWaitingOnMain(false);
}

bool isMainThread() {
    return ::gettid() == ::getpid();
}

void drainAllQueues() {
    // Work on one queue may queue more on another: a second pass catches it.
    for (int pass = 0; pass < 2; ++pass) {
        for (const auto& workers : Registry::shared().live()) {
            if (!workers->isWorkerThread()) workers->waitUntilSettled();
        }
    }
}

}  // namespace zelvana::platform
