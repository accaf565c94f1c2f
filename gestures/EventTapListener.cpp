#include "gestures/EventTapListener.hpp"

#include "platform/core/MainThread.hpp"
#include "platform/dispatch/Queue.hpp"

namespace zelvana::gestures {

using input::eventmonitor::ServedEventTap;
using input::eventmonitor::TapCallbacks;

EventTapListener::EventTapListener(platform::CGEventMask mask, Served served, Filterer filterer,
                                   Handler handler, Lost lost)
    : mask_(mask),
      servedBy_(served),
      callbacks_(std::make_shared<const TapCallbacks>(
          TapCallbacks{std::move(filterer), std::move(handler)})),
      lost_(std::move(lost)) {}

EventTapListener::~EventTapListener() {
    stop();
}

void EventTapListener::start() {
    platform::assertMainThread();
    stop();
    served_ = ServedEventTap::make(
        mask_, platform::EventTapOptions::listenOnly, servedBy_,
        [callbacks = std::weak_ptr<const TapCallbacks>(callbacks_), weak = weak_.ref()](
            platform::EventTapProxy, platform::CGEventType type, const platform::Event& event) {
            if (!input::eventmonitor::isTapDisabledNotification(type)) {
                return input::eventmonitor::forwardTappedEvent(type, event, callbacks);
            }
            // The tap and its thread belong to the main thread: a tap served by
            // a thread of its own has the main queue rebuild it.
            if (platform::isMainThread()) {
                if (auto* listener = weak.get()) listener->restartWhenDisabled();
            } else {
                platform::mainQueue().async([weak] {
                    if (auto* listener = weak.get()) listener->restartWhenDisabled();
                });
            }
            return std::optional<platform::Event>(event);
        });
}

void EventTapListener::restartWhenDisabled() {
    stop();
    start();
    if (!isRunning() && lost_) lost_();
}

void EventTapListener::stop() {
    platform::assertMainThread();
    // Taken out first, so a callback that stops the listener again finds
    // nothing to do.
    auto served = std::move(served_);
}

}  // namespace zelvana::gestures
