#include "platform/dispatch/Clock.hpp"

#include <atomic>
#include <chrono>
#include <mutex>
#include <vector>

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

// What a virtual clock reads. Like the real clock, it outlives every reader:
// a worker that fetched the process clock just before a test's clock ended
// may still read it, so a clock's time goes back to a pool, never freed.
class VirtualClock::Time final : public Clock {
public:
    static Time* take(TimeInterval start) {
        auto& pool = freed();
        std::lock_guard lock(pool.mutex);
        if (pool.times.empty()) pool.times.push_back(new Time());
        Time* time = pool.times.back();
        pool.times.pop_back();
        time->wallStart.store(start);
        time->elapsed.store(0);
        return time;
    }
    static void giveBack(Time* time) {
        auto& pool = freed();
        std::lock_guard lock(pool.mutex);
        pool.times.push_back(time);
    }

    TimeInterval now() const override { return wallStart.load() + elapsed.load(); }
    TimeInterval uptime() const override { return elapsed.load(); }
    bool isVirtual() const override { return true; }

    std::atomic<TimeInterval> wallStart{0};
    std::atomic<TimeInterval> elapsed{0};

private:
    struct Pool {
        std::mutex mutex;
        std::vector<Time*> times;
    };
    static Pool& freed() {
        static auto* pool = new Pool();
        return *pool;
    }
};

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

VirtualClock::VirtualClock(TimeInterval start) : time_(Time::take(start)) {
    installedClock().store(time_, std::memory_order_release);
}

VirtualClock::~VirtualClock() {
    Clock* expected = time_;
    installedClock().compare_exchange_strong(expected, nullptr);
    Time::giveBack(time_);
}

TimeInterval VirtualClock::now() const {
    return time_->now();
}

TimeInterval VirtualClock::uptime() const {
    return time_->uptime();
}

void VirtualClock::runPending() {
    MainQueue::shared().runPending();
}

void VirtualClock::advance(double ms) {
    auto& queue = MainQueue::shared();
    auto& elapsed = time_->elapsed;
    const TimeInterval target = elapsed.load() + ms / 1000.0;
    queue.runPending();
    while (auto deadline = queue.nextDeadline()) {
        if (*deadline > target) break;
        if (*deadline > elapsed.load()) elapsed.store(*deadline);
        queue.runPending();
    }
    elapsed.store(target);
    queue.runPending();
}

}  // namespace zelvana::platform
