#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "input/EventMonitor/PassiveEventMonitor.hpp"
#include "input/ModifierTriggerDelegate.hpp"
#include "platform/appkit/Event.hpp"

namespace zelvana::input {

// Watches the modifier keys: reports when exactly the configured combination
// becomes held (caps lock may be on or off) and when it stops being held,
// and while it is held, pointer movement. Main thread only.
class ModAndMouseListener {
public:
    ModAndMouseListener();
    // Stops both monitors.
    ~ModAndMouseListener();
    ModAndMouseListener(const ModAndMouseListener&) = delete;
    ModAndMouseListener& operator=(const ModAndMouseListener&) = delete;

    // Non-owning: the trigger's delegate, which outlives the trigger that owns this.
    ModifierTriggerDelegate* delegate() const { return delegate_; }
    void setDelegate(ModifierTriggerDelegate* delegate) { delegate_ = delegate; }
    // Platform modifier flags.
    platform::ModifierFlags configuredFlags() const { return configuredFlags_; }
    void setConfiguredFlags(platform::ModifierFlags flags) { configuredFlags_ = flags; }
    bool isActive() const { return isActive_; }
    void setActive(bool active) { isActive_ = active; }

    // Runs the modifier monitor while active with flags configured; otherwise
    // stops both monitors, reporting nothing.
    void restartMonitoring();
    void handleFlagsChanged(const std::optional<platform::Event>& event);
    void handleMouseMoved(const std::optional<platform::Event>& event);
    // Whether the event's device-independent flags are the configured ones,
    // with or without caps lock.
    bool isHeld(const platform::Event& event) const;

    const eventmonitor::EventMonitor& modifierMonitor() const { return *modifierMonitor_; }
    const eventmonitor::EventMonitor& mouseMonitor() const { return *mouseMonitor_; }

private:
    ModifierTriggerDelegate* delegate_ = nullptr;
    platform::ModifierFlags configuredFlags_;
    bool isActive_ = false;
    std::unique_ptr<eventmonitor::PassiveEventMonitor> modifierMonitor_;
    std::unique_ptr<eventmonitor::PassiveEventMonitor> mouseMonitor_;
};

}  // namespace zelvana::input
