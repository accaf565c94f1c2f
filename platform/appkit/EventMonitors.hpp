#pragma once

#include <cstddef>
#include <optional>

#include "platform/appkit/Event.hpp"

namespace zelvana::platform {

// The system's side of the event monitors that Event::addLocalMonitor and
// Event::addGlobalMonitor install: it shows events to them and has controls
// for tests. Main thread, as AppKit's monitors are.
class EventMonitors {
public:
    EventMonitors() = delete;

    // How many monitors are installed.
    static std::size_t installedCount();
    // Runs the local monitors that match, each seeing what the one before
    // returned; nothing when one of them swallowed the event.
    static std::optional<Event> dispatchLocal(Event event);
    // Shows a copy of an event for another application to the global monitors.
    static void dispatchGlobal(const Event& event);
    // While set, adding a monitor fails (gives an inactive token), as when the
    // system refuses one.
    static void setRefusesMonitorsForTesting(bool refuses);
    // Removes every monitor and clears the refusal.
    static void resetForTesting();

private:
    friend struct Event;
    enum class Scope { local, global };
    static Subscription install(Scope scope, EventTypeMask mask, Event::LocalHandler local,
                                Event::GlobalHandler global);
};

}  // namespace zelvana::platform
