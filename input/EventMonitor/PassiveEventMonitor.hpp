#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "input/EventMonitor/EventMonitor.hpp"
#include "platform/appkit/Event.hpp"
#include "platform/core/Subscription.hpp"

namespace zelvana::input::eventmonitor {

// A global and a local AppKit monitor that see the same events and feed one
// handler; local events always go on unchanged. Destroying it removes both.
class PassiveEventMonitor final : public EventMonitor {
public:
    using Handler = std::function<void(const std::optional<platform::Event>&)>;

    PassiveEventMonitor(platform::EventTypeMask mask, Handler handler);
    PassiveEventMonitor(const PassiveEventMonitor&) = delete;
    PassiveEventMonitor& operator=(const PassiveEventMonitor&) = delete;

    // True while either monitor is installed.
    bool isRunning() const override;
    // Installs whichever of the two is missing.
    void start() override;
    void stop() override;

    platform::EventTypeMask mask() const { return mask_; }

private:
    platform::EventTypeMask mask_;
    // Shared with the installed monitors, which hold it weakly so that a
    // monitor gone (even from inside the handler) is no longer called.
    std::shared_ptr<Handler> handler_;
    platform::Subscription globalMonitor_;
    platform::Subscription localMonitor_;
};

}  // namespace zelvana::input::eventmonitor
