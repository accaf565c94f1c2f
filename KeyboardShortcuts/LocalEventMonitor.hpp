#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "platform/appkit/Event.hpp"

namespace zelvana::platform {
class EventMonitor;
}

namespace zelvana::KeyboardShortcuts {

// An application-local monitor that lives exactly as long as this object:
// there is no stop; drop the object to end the interception.
class LocalEventMonitor {
public:
    // Returns the event to deliver (the same or another), or none to swallow it.
    using Callback = std::function<std::optional<platform::Event>(const platform::Event&)>;

    LocalEventMonitor(platform::EventTypeMask events, Callback callback);
    ~LocalEventMonitor();
    LocalEventMonitor(const LocalEventMonitor&) = delete;
    LocalEventMonitor& operator=(const LocalEventMonitor&) = delete;

    // Installs the monitor (once); returns this object so that a caller can
    // make, start and keep it in one expression.
    LocalEventMonitor& start();
    // False before start, when the system refused the monitor, or when it
    // was removed behind our back.
    bool isInstalled() const;

private:
    platform::EventTypeMask events_;
    Callback callback_;
    // The system owns the token; it may go away first.
    std::weak_ptr<platform::EventMonitor> monitor_;
};

}  // namespace zelvana::KeyboardShortcuts
