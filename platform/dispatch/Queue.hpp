#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/dispatch/Clock.hpp"

namespace zelvana::platform {

using Task = std::function<void()>;

// Queued work that can be cancelled before it runs.
class WorkItem {
public:
    explicit WorkItem(Task task) : task_(std::move(task)) {}
    void cancel() { cancelled_ = true; }
    bool isCancelled() const { return cancelled_; }
    void perform();

private:
    Task task_;
    std::atomic<bool> cancelled_{false};
};

class DispatchQueue {
public:
    virtual ~DispatchQueue() = default;
    const std::string& label() const { return label_; }

    virtual void async(Task task) = 0;
    // Runs the task on the queue and waits for it. Called from the queue's
    // own thread it runs inline, so a queue never waits on itself.
    virtual void sync(const Task& task) = 0;
    // Runs `task` after `delay` seconds of the process clock.
    virtual std::shared_ptr<WorkItem> asyncAfter(TimeInterval delay, Task task) = 0;
    // True when the calling thread is running this queue's work.
    bool isCurrent() const;

    // The label of the queue whose work the calling thread runs, if any.
    static std::optional<std::string> currentLabel();

protected:
    explicit DispatchQueue(std::string label) : label_(std::move(label)) {}
    // Marks the calling thread as running this queue's work for its lifetime.
    class CurrentScope {
    public:
        explicit CurrentScope(const DispatchQueue* queue);
        ~CurrentScope();
        CurrentScope(const CurrentScope&) = delete;
        CurrentScope& operator=(const CurrentScope&) = delete;

    private:
        const DispatchQueue* previous_;
    };

private:
    std::string label_;
};

// A queue with a worker thread of its own; work runs one item at a time, in
// the order it was queued. Destruction runs what is queued, then joins.
class SerialQueue final : public DispatchQueue {
public:
    explicit SerialQueue(std::string label);
    ~SerialQueue() override;
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    void async(Task task) override;
    void sync(const Task& task) override;
    std::shared_ptr<WorkItem> asyncAfter(TimeInterval delay, Task task) override;
    // Waits until everything queued so far has run.
    void drain();

private:
    struct State;
    std::shared_ptr<State> state_;
};

// The queue of the main thread: windows, menus and delegates live here.
DispatchQueue& mainQueue();
// A shared concurrent queue for background work.
DispatchQueue& globalQueue();
bool isMainThread();

// Waits until every serial queue and the global queue have run what was
// queued on them; called when the process terminates so no work is lost.
// Work blocked in a synchronous call to the main queue, and what is queued
// behind it, is not waited for: the caller may be that main thread.
void drainAllQueues();

}  // namespace zelvana::platform
