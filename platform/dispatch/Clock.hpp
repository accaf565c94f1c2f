#pragma once

#include <atomic>
#include <memory>

namespace zelvana::platform {

// Seconds, as a floating-point count.
using TimeInterval = double;

// Every "now", delay, timeout and timer reads the process clock, so tests can
// replace it with a virtual one and never sleep.
class Clock {
public:
    virtual ~Clock() = default;
    // Wall-clock time: seconds since 2001-01-01 00:00:00 UTC.
    virtual TimeInterval now() const = 0;
    // Monotonic seconds since an arbitrary origin; drives delays and timers.
    virtual TimeInterval uptime() const = 0;
    virtual bool isVirtual() const { return false; }
};

// Seconds between 1970-01-01 and 2001-01-01 (UTC).
inline constexpr TimeInterval kTimeIntervalSince1970ToReferenceDate = 978307200.0;

// The process clock: the real clock unless a virtual one is installed.
Clock& clock();

class RealClock final : public Clock {
public:
    TimeInterval now() const override;
    TimeInterval uptime() const override;
};

// A clock that only moves when told to. While installed, delayed work on the
// main queue runs when `advance` passes its deadline: in deadline order, FIFO
// among equal deadlines, with the clock reading each deadline as it runs.
class VirtualClock final : public Clock {
public:
    // Starts at `start` (wall time, seconds since 2001) and installs itself as
    // the process clock; the destructor puts the real clock back.
    explicit VirtualClock(TimeInterval start = 800000000.0);
    ~VirtualClock() override;
    VirtualClock(const VirtualClock&) = delete;
    VirtualClock& operator=(const VirtualClock&) = delete;

    TimeInterval now() const override;
    TimeInterval uptime() const override;
    bool isVirtual() const override { return true; }

    // Moves time forward by `ms` milliseconds, running the main queue's work
    // that falls due on the way, and any work it queues without delay.
    void advance(double ms);
    // Runs the main queue's ready work without moving time.
    void runPending();

private:
    class Time;
    Time* time_;
};

}  // namespace zelvana::platform
