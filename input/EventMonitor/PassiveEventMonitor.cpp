#include "input/EventMonitor/PassiveEventMonitor.hpp"

namespace zelvana::input::eventmonitor {

PassiveEventMonitor::PassiveEventMonitor(platform::EventTypeMask mask, Handler handler)
    : mask_(mask), handler_(std::make_shared<Handler>(std::move(handler))) {}

bool PassiveEventMonitor::isRunning() const {
    return globalMonitor_.isActive() || localMonitor_.isActive();
}

void PassiveEventMonitor::start() {
    std::weak_ptr<Handler> weak = handler_;
    if (!globalMonitor_.isActive()) {
        globalMonitor_ = platform::Event::addGlobalMonitor(mask_, [weak](const platform::Event& e) {
            if (auto handler = weak.lock(); handler && *handler) (*handler)(e);
        });
    }
    if (!localMonitor_.isActive()) {
        localMonitor_ = platform::Event::addLocalMonitor(
            mask_, [weak](const platform::Event& e) -> std::optional<platform::Event> {
                if (auto handler = weak.lock(); handler && *handler) (*handler)(e);
                return e;
            });
    }
}

void PassiveEventMonitor::stop() {
    globalMonitor_.cancel();
    localMonitor_.cancel();
}

}  // namespace zelvana::input::eventmonitor
