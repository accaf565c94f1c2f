#include "platform/dispatch/RunLoop.hpp"

#include <atomic>

#include "platform/dispatch/MainQueue.hpp"

namespace zelvana::platform {

namespace {
std::atomic<bool> gStopRequested{false};
std::atomic<bool> gRunning{false};
}  // namespace

RunLoop& RunLoop::main() {
    static RunLoop instance;
    return instance;
}

void RunLoop::run() {
    runUntil([] { return false; }, -1);
}

bool RunLoop::runUntil(const std::function<bool()>& done, TimeInterval timeout) {
    auto& queue = MainQueue::shared();
    const TimeInterval start = RealClock().uptime();
    gStopRequested = false;
    gRunning = true;
    bool finished = false;
    while (!gStopRequested) {
        queue.runPending();
        if ((finished = done())) break;
        TimeInterval wait = 1.0;
        if (timeout >= 0) {
            const TimeInterval left = start + timeout - RealClock().uptime();
            if (left <= 0) break;
            wait = std::min(wait, left);
        }
        queue.waitForWork(wait);
    }
    gRunning = false;
    gStopRequested = false;
    return finished;
}

void RunLoop::stop() {
    gStopRequested = true;
    MainQueue::shared().wakeUp();
}

int RunLoop::runPending() {
    return MainQueue::shared().runPending();
}

bool RunLoop::isRunning() const {
    return gRunning;
}

std::shared_ptr<Timer> Timer::scheduled(TimeInterval interval, bool repeats,
                                        std::function<void(Timer&)> block) {
    std::shared_ptr<Timer> timer(new Timer(interval, repeats, std::move(block)));
    timer->self_ = timer;
    timer->schedule();
    return timer;
}

Timer::Timer(TimeInterval interval, bool repeats, std::function<void(Timer&)> block)
    : interval_(interval), repeats_(repeats), block_(std::move(block)) {}

Timer::~Timer() {
    if (pending_) pending_->cancel();
}

void Timer::schedule() {
    // The queued work keeps the timer alive while it is scheduled, as a run
    // loop retains its timers.
    pending_ = mainQueue().asyncAfter(interval_, [timer = self_.lock()] {
        timer->pending_.reset();
        if (!timer->valid_) return;
        timer->block_(*timer);
        if (!timer->valid_) return;
        if (timer->repeats_) {
            timer->schedule();
        } else {
            timer->valid_ = false;
        }
    });
}

void Timer::invalidate() {
    valid_ = false;
    if (pending_) {
        pending_->cancel();
        pending_.reset();
    }
}

void Timer::fire() {
    if (!valid_) return;
    block_(*this);
    if (!repeats_) invalidate();
}

}  // namespace zelvana::platform
