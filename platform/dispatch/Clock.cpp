#include "platform/dispatch/Clock.hpp"

#include <atomic>
#include <chrono>

#include "platform/dispatch/MainQueue.hpp"

namespace zelvana::platform {

namespace {

RealClock& realClock() {
    static RealClock instance;
    return instance;
}

std::atomic<Clock*>& installedClock() {
    static std::atomic<Clock*> installed{nullptr};
    return installed;
}

}  // namespace

Clock& clock() {
    Clock* installed = installedClock().load(std::memory_order_acquire);
    return installed ? *installed : realClock();
}

TimeInterval RealClock::now() const {
    using namespace std::chrono;
    auto since1970 = duration<double>(system_clock::now().time_since_epoch()).count();
    return since1970 - kTimeIntervalSince1970ToReferenceDate;
}

TimeInterval RealClock::uptime() const {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

VirtualClock::VirtualClock(TimeInterval start) : wallStart_(start) {
    installedClock().store(this, std::memory_order_release);
}

VirtualClock::~VirtualClock() {
    Clock* expected = this;
    installedClock().compare_exchange_strong(expected, nullptr);
}

TimeInterval VirtualClock::now() const {
    return wallStart_ + elapsed_.load();
}

TimeInterval VirtualClock::uptime() const {
    return elapsed_.load();
}

void VirtualClock::runPending() {
    MainQueue::shared().runPending();
}

void VirtualClock::advance(double ms) {
    auto& queue = MainQueue::shared();
    const TimeInterval target = elapsed_.load() + ms / 1000.0;
    queue.runPending();
    while (auto deadline = queue.nextDeadline()) {
        if (*deadline > target) break;
        if (*deadline > elapsed_.load()) elapsed_.store(*deadline);
        queue.runPending();
    }
    elapsed_.store(target);
    queue.runPending();
}

}  // namespace zelvana::platform
