#pragma once

namespace zelvana::input::eventmonitor {

// A way of watching input events system-wide that can be started and
// stopped. Started and stopped on the main thread.
class EventMonitor {
public:
    virtual ~EventMonitor() = default;
    virtual bool isRunning() const = 0;
    virtual void start() = 0;
    virtual void stop() = 0;
};

}  // namespace zelvana::input::eventmonitor
