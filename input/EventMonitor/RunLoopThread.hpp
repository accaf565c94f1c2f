#pragma once

#include <memory>

#include "platform/dispatch/RunLoop.hpp"

namespace zelvana::input::eventmonitor {

// A thread that runs its own run loop in one mode until cancelled; sources
// added to that loop are served on it. Cancelling stops and wakes the loop;
// destroying the object cancels the thread and waits for it to end.
class RunLoopThread {
public:
    explicit RunLoopThread(platform::RunLoopMode mode);
    ~RunLoopThread();
    RunLoopThread(const RunLoopThread&) = delete;
    RunLoopThread& operator=(const RunLoopThread&) = delete;

    const platform::RunLoopMode& mode() const;
    // Kept for the scheduler; 33 is user-interactive. Linux threads here all
    // run alike.
    void setQualityOfService(int qualityOfService);
    int qualityOfService() const;

    // Starts the thread and returns once its run loop exists. Once only.
    void start();
    // Asks the thread to end after the work under way.
    void cancel();
    bool isCancelled() const;
    // Waits for the thread to end. From the thread itself it returns at once
    // and the thread ends on its own, at the latest when the process exits
    // and before static destruction.
    void join();
    bool isFinished() const;
    // The thread's loop; null before start.
    platform::RunLoop* runLoop() const;

private:
    struct Shared;
    static void main(const std::shared_ptr<Shared>& shared);

    std::shared_ptr<Shared> shared_;
};

}  // namespace zelvana::input::eventmonitor
