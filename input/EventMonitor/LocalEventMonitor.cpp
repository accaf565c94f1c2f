#include "input/EventMonitor/LocalEventMonitor.hpp"

namespace zelvana::input::eventmonitor {

LocalEventMonitor::LocalEventMonitor(platform::EventTypeMask mask, Handler handler)
    : mask_(mask), handler_(std::move(handler)) {}

void LocalEventMonitor::start() {
    if (monitor_.isActive()) return;
    monitor_ = platform::Event::addLocalMonitor(
        mask_,
        [handler = handler_](const platform::Event& event) -> std::optional<platform::Event> {
            return handler ? handler(event) : std::optional<platform::Event>(event);
        });
}

void LocalEventMonitor::stop() {
    monitor_.cancel();
}

}  // namespace zelvana::input::eventmonitor
