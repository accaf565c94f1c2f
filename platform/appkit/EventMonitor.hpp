#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/appkit/Event.hpp"

namespace zelvana::platform {

// The token of one installed monitor. The system keeps it until the monitor
// is removed, so a caller may hold it weakly and find it gone afterwards.
// Made only through Event::addLocalMonitor and Event::addGlobalMonitor.
class EventMonitor {
public:
    enum class Scope { local, global };

    EventMonitor(Scope scope, EventTypeMask mask, Event::LocalHandler local,
                 Event::GlobalHandler global);
    EventMonitor(const EventMonitor&) = delete;
    EventMonitor& operator=(const EventMonitor&) = delete;

    Scope scope() const { return scope_; }
    EventTypeMask mask() const { return mask_; }
    bool isInstalled() const { return installed_; }

    // The process's monitors, in the order they were added.
    static const std::vector<std::shared_ptr<EventMonitor>>& installed();
    // Runs the local monitors that match, each seeing what the one before
    // returned; nothing when one of them swallowed the event.
    static std::optional<Event> dispatchLocal(Event event);
    // Shows a copy of an event for another application to the global monitors.
    static void dispatchGlobal(const Event& event);
    // While set, adding a monitor fails (returns null), as when the system
    // refuses one.
    static void setRefusesMonitorsForTesting(bool refuses);
    // Removes every monitor and clears the refusal.
    static void resetForTesting();

private:
    friend struct Event;
    static std::shared_ptr<EventMonitor> install(std::shared_ptr<EventMonitor> monitor);
    static void uninstall(const std::shared_ptr<EventMonitor>& monitor);

    Scope scope_;
    EventTypeMask mask_;
    Event::LocalHandler local_;
    Event::GlobalHandler global_;
    bool installed_ = false;
};

}  // namespace zelvana::platform
