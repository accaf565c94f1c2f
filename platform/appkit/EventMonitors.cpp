#include "platform/appkit/EventMonitors.hpp"
#include "platform/core/MainThread.hpp"

#include <memory>
#include <vector>

namespace zelvana::platform {

namespace {

struct Monitor {
    bool local;
    EventTypeMask mask;
    Event::LocalHandler onLocal;
    Event::GlobalHandler onGlobal;
    bool removed = false;
};

struct Registry {
    std::vector<std::shared_ptr<Monitor>> monitors;
    bool refuses = false;
};

Registry& registry() {
    static auto* instance = new Registry();  // tokens may outlive statics
    return *instance;
}

void uninstall(const std::shared_ptr<Monitor>& monitor) {
    monitor->removed = true;
    std::erase(registry().monitors, monitor);
}

}  // namespace

Subscription EventMonitors::install(Scope scope, EventTypeMask mask, Event::LocalHandler local,
                                    Event::GlobalHandler global) {
    if (registry().refuses) return {};
    auto monitor = std::make_shared<Monitor>(
        Monitor{scope == Scope::local, mask, std::move(local), std::move(global)});
    registry().monitors.push_back(monitor);
    return Subscription([weak = std::weak_ptr<Monitor>(monitor)] {
        if (auto monitor = weak.lock()) uninstall(monitor);
    });
}

std::size_t EventMonitors::installedCount() {
    platform::assertMainThread();
    return registry().monitors.size();
}

std::optional<Event> EventMonitors::dispatchLocal(Event event) {
    platform::assertMainThread();
    // A copy, so handlers may add and remove monitors; one removed on the
    // way is not called.
    const auto monitors = registry().monitors;
    for (const auto& monitor : monitors) {
        if (monitor->removed || !monitor->local) continue;
        if (!event.matches(monitor->mask) || !monitor->onLocal) continue;
        auto result = monitor->onLocal(event);
        if (!result) return std::nullopt;
        event = std::move(*result);
    }
    return event;
}

void EventMonitors::dispatchGlobal(const Event& event) {
    platform::assertMainThread();
    const auto monitors = registry().monitors;
    for (const auto& monitor : monitors) {
        if (monitor->removed || monitor->local) continue;
        if (event.matches(monitor->mask) && monitor->onGlobal) monitor->onGlobal(event);
    }
}

void EventMonitors::setRefusesMonitorsForTesting(bool refuses) {
    platform::assertMainThread();
    registry().refuses = refuses;
}

void EventMonitors::resetForTesting() {
    platform::assertMainThread();
    for (const auto& monitor : registry().monitors) monitor->removed = true;
    registry().monitors.clear();
    registry().refuses = false;
}

}  // namespace zelvana::platform
