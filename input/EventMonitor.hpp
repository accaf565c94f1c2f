#pragma once

#include <functional>
#include <optional>
#include <utility>

#include "input/EventListener.hpp"
#include "input/EventMonitor/GlobalEventMonitor.hpp"
#include "input/EventMonitor/LocalEventMonitor.hpp"
#include "input/EventMonitor/PassiveEventMonitor.hpp"
#include "platform/appkit/Event.hpp"

namespace zelvana::input {

// The trigger's pair of AppKit monitors, global and local, feeding one
// handler; local events always go on unchanged. Starting installs only what
// is missing; destroying it removes both.
class EventMonitor final : public EventListener {
public:
    using Handler = std::function<void(const std::optional<platform::Event>&)>;

    EventMonitor(platform::EventTypeMask mask, Handler handler) : pair_(mask, std::move(handler)) {}

    void start() override { pair_.start(); }
    void stop() override { pair_.stop(); }
    // True while either monitor is installed.
    bool isRunning() const override { return pair_.isRunning(); }
    platform::EventTypeMask mask() const { return pair_.mask(); }

private:
    eventmonitor::PassiveEventMonitor pair_;
};

// Single monitors, as the event-monitor package has them; the trigger itself
// needs only the pair.
using GlobalEventMonitor = eventmonitor::GlobalEventMonitor;
using LocalEventMonitor = eventmonitor::LocalEventMonitor;

}  // namespace zelvana::input
