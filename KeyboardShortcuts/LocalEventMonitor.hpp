#pragma once

#include <functional>
#include <optional>

#include "platform/appkit/Event.hpp"
#include "platform/core/Subscription.hpp"

namespace zelvana::keyboardshortcuts {

// An application-local monitor that lives at most as long as this object:
// stop it or drop the object to end the interception, also from inside the
// callback. Main thread.
class LocalEventMonitor {
public:
    // Returns the event to deliver (the same or another), or none to swallow it.
    using Callback = std::function<std::optional<platform::Event>(const platform::Event&)>;

    LocalEventMonitor(platform::EventTypeMask events, Callback callback);
    LocalEventMonitor(const LocalEventMonitor&) = delete;
    LocalEventMonitor& operator=(const LocalEventMonitor&) = delete;

    // Installs the monitor (once); returns this object so that a caller can
    // make, start and keep it in one expression.
    LocalEventMonitor& start();
    // Removes the monitor; nothing when it is not installed.
    void stop();
    // False before start and when the system refused the monitor.
    bool isInstalled() const { return monitor_.isActive(); }

private:
    platform::EventTypeMask events_;
    Callback callback_;
    platform::Subscription monitor_;
};

}  // namespace zelvana::keyboardshortcuts
