#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "platform/appkit/Event.hpp"
#include "platform/core/Subscription.hpp"

namespace zelvana::input::eventmonitor {

// One AppKit monitor of our application's own events, which may replace or
// swallow them. Destroying it removes the monitor.
class LocalEventMonitor {
public:
    // Returns the event to deliver, or nothing to swallow it.
    using Handler =
        std::function<std::optional<platform::Event>(const std::optional<platform::Event>&)>;

    LocalEventMonitor(platform::EventTypeMask mask, Handler handler);
    LocalEventMonitor(const LocalEventMonitor&) = delete;
    LocalEventMonitor& operator=(const LocalEventMonitor&) = delete;

    bool isRunning() const { return monitor_.isActive(); }
    // Does nothing while running, so no second monitor is left behind.
    void start();
    void stop();

private:
    const platform::EventTypeMask mask_;
    const Handler handler_;
    platform::Subscription monitor_;
};

}  // namespace zelvana::input::eventmonitor
