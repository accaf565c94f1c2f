#include "input/EventMonitor/PassiveEventMonitor.hpp"

#include "platform/appkit/EventMonitor.hpp"

namespace zelvana::input::eventmonitor {

PassiveEventMonitor::PassiveEventMonitor(platform::EventTypeMask mask, Handler handler)
    : mask_(mask), handler_(std::make_shared<Handler>(std::move(handler))) {}

PassiveEventMonitor::~PassiveEventMonitor() {
    stop();
}

bool PassiveEventMonitor::isRunning() const {
    return globalMonitor_ != nullptr || localMonitor_ != nullptr;
}

void PassiveEventMonitor::start() {
    std::weak_ptr<Handler> weak = handler_;
    if (!globalMonitor_) {
        globalMonitor_ = platform::Event::addGlobalMonitor(mask_, [weak](const platform::Event& e) {
            if (auto handler = weak.lock(); handler && *handler) (*handler)(e);
        });
    }
    if (!localMonitor_) {
        localMonitor_ = platform::Event::addLocalMonitor(
            mask_, [weak](const platform::Event& e) -> std::optional<platform::Event> {
                if (auto handler = weak.lock(); handler && *handler) (*handler)(e);
                return e;
            });
    }
}

void PassiveEventMonitor::stop() {
    if (globalMonitor_) {
        platform::Event::removeMonitor(globalMonitor_);
        globalMonitor_.reset();
    }
    if (localMonitor_) {
        platform::Event::removeMonitor(localMonitor_);
        localMonitor_.reset();
    }
}

}  // namespace zelvana::input::eventmonitor
