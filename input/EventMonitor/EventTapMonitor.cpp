#include "input/EventMonitor/EventTapMonitor.hpp"

namespace zelvana::input::eventmonitor {

EventTapMonitor::EventTapMonitor(platform::EventTypeMask mask, Filterer filterer, Handler handler)
    : mask_(mask),
      callbacks_(std::make_shared<const TapCallbacks>(
          TapCallbacks{std::move(filterer), std::move(handler)})) {}

EventTapMonitor::~EventTapMonitor() {
    stop();
}

void EventTapMonitor::start() {
    if (served_) return;
    const auto options = callbacks_->filterer ? platform::EventTapOptions::defaultTap
                                              : platform::EventTapOptions::listenOnly;
    served_ =
        ServedEventTap::make(mask_, options, ServedEventTap::Served::onOwnThread,
                             [callbacks = std::weak_ptr<const TapCallbacks>(callbacks_)](
                                 platform::EventTapProxy proxy, platform::CGEventType type,
                                 const platform::Event& event) -> std::optional<platform::Event> {
                                 if (!isTapDisabledNotification(type))
                                     return forwardTappedEvent(type, event, callbacks);
                                 // Rebuilding here would wait on this very thread: enable in place.
                                 if (proxy && !callbacks.expired()) proxy->enable(true);
                                 return event;
                             });
}

void EventTapMonitor::stop() {
    // Taken out first, so a callback that stops the monitor again finds
    // nothing to do.
    auto served = std::move(served_);
}

}  // namespace zelvana::input::eventmonitor
