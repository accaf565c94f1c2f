#pragma once

#include <functional>
#include <memory>

#include "input/EventMonitor/EventMonitor.hpp"
#include "platform/appkit/Event.hpp"
#include "platform/core/Subscription.hpp"

namespace zelvana::input::eventmonitor {

// One AppKit monitor of the events sent to other applications. Destroying it
// removes the monitor.
class GlobalEventMonitor final : public EventMonitor {
public:
    using Handler = std::function<void(const platform::Event&)>;

    GlobalEventMonitor(platform::EventTypeMask mask, Handler handler);
    GlobalEventMonitor(const GlobalEventMonitor&) = delete;
    GlobalEventMonitor& operator=(const GlobalEventMonitor&) = delete;

    bool isRunning() const override { return monitor_.isActive(); }
    // Does nothing while running, so no second monitor is left behind.
    void start() override;
    void stop() override;

private:
    const platform::EventTypeMask mask_;
    const Handler handler_;
    platform::Subscription monitor_;
};

}  // namespace zelvana::input::eventmonitor
