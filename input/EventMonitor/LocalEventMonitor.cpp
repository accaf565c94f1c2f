#include "input/EventMonitor/LocalEventMonitor.hpp"

#include "platform/appkit/EventMonitor.hpp"

namespace zelvana::input::eventmonitor {

LocalEventMonitor::LocalEventMonitor(platform::EventTypeMask mask, Handler handler)
    : mask_(mask), handler_(std::move(handler)) {}

LocalEventMonitor::~LocalEventMonitor() {
    stop();
}

void LocalEventMonitor::start() {
    if (monitor_) return;
    monitor_ = platform::Event::addLocalMonitor(
        mask_,
        [handler = handler_](const platform::Event& event) -> std::optional<platform::Event> {
            return handler ? handler(event) : std::optional<platform::Event>(event);
        });
}

void LocalEventMonitor::stop() {
    if (!monitor_) return;
    platform::Event::removeMonitor(monitor_);
    monitor_.reset();
}

}  // namespace zelvana::input::eventmonitor
