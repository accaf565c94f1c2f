#include "platform/appkit/EventMonitor.hpp"

#include <algorithm>

namespace zelvana::platform {

namespace {

struct Registry {
    std::vector<std::shared_ptr<EventMonitor>> monitors;
    bool refuses = false;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

}  // namespace

EventMonitor::EventMonitor(Scope scope, EventTypeMask mask, Event::LocalHandler local,
                           Event::GlobalHandler global)
    : scope_(scope), mask_(mask), local_(std::move(local)), global_(std::move(global)) {}

const std::vector<std::shared_ptr<EventMonitor>>& EventMonitor::installed() {
    return registry().monitors;
}

std::shared_ptr<EventMonitor> EventMonitor::install(std::shared_ptr<EventMonitor> monitor) {
    if (registry().refuses) return nullptr;
    monitor->installed_ = true;
    registry().monitors.push_back(monitor);
    return monitor;
}

void EventMonitor::uninstall(const std::shared_ptr<EventMonitor>& monitor) {
    if (!monitor) return;
    monitor->installed_ = false;
    auto& monitors = registry().monitors;
    monitors.erase(std::remove(monitors.begin(), monitors.end(), monitor), monitors.end());
}

std::optional<Event> EventMonitor::dispatchLocal(Event event) {
    // A copy, so handlers may add and remove monitors; one removed on the
    // way is not called.
    const auto monitors = registry().monitors;
    for (const auto& monitor : monitors) {
        if (!monitor->installed_ || monitor->scope_ != Scope::local) continue;
        if (!event.matches(monitor->mask_) || !monitor->local_) continue;
        auto result = monitor->local_(event);
        if (!result) return std::nullopt;
        event = std::move(*result);
    }
    return event;
}

void EventMonitor::dispatchGlobal(const Event& event) {
    const auto monitors = registry().monitors;
    for (const auto& monitor : monitors) {
        if (!monitor->installed_ || monitor->scope_ != Scope::global) continue;
        if (event.matches(monitor->mask_) && monitor->global_) monitor->global_(event);
    }
}

void EventMonitor::setRefusesMonitorsForTesting(bool refuses) {
    registry().refuses = refuses;
}

void EventMonitor::resetForTesting() {
    for (const auto& monitor : registry().monitors) monitor->installed_ = false;
    registry().monitors.clear();
    registry().refuses = false;
}

}  // namespace zelvana::platform
