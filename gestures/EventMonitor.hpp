#pragma once

#include <functional>
#include <optional>
#include <utility>

#include "input/EventMonitor/GlobalEventMonitor.hpp"
#include "input/EventMonitor/LocalEventMonitor.hpp"
#include "input/EventMonitor/PassiveEventMonitor.hpp"
#include "platform/appkit/Event.hpp"

namespace zelvana::gestures {

// A global and a local AppKit monitor for one mask, feeding one handler on
// the main thread; local events go on unchanged. The hub watches modifier
// flags with it. The event-monitor package's pair does the work: starting
// installs only what is missing, so a second start leaves nothing behind,
// and destroying it removes both.
class EventMonitor {
public:
    using Handler = std::function<void(const std::optional<platform::Event>&)>;

    EventMonitor(platform::EventTypeMask mask, Handler handler) : pair_(mask, std::move(handler)) {}

    void start() { pair_.start(); }
    void stop() { pair_.stop(); }
    bool isRunning() const { return pair_.isRunning(); }
    platform::EventTypeMask mask() const { return pair_.mask(); }

private:
    input::eventmonitor::PassiveEventMonitor pair_;
};

// Single monitors, as the event-monitor package has them.
using GlobalEventMonitor = input::eventmonitor::GlobalEventMonitor;
using LocalEventMonitor = input::eventmonitor::LocalEventMonitor;

}  // namespace zelvana::gestures
