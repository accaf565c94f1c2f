#include "input/EventMonitor/EventTapMonitor.hpp"

#include "platform/dispatch/Queue.hpp"

namespace zelvana::input::eventmonitor {

namespace {

constexpr int kUserInteractive = 33;

bool isDisabledNotification(platform::CGEventType type) {
    return type == platform::kCGEventTapDisabledByTimeout ||
           type == platform::kCGEventTapDisabledByUserInput;
}

}  // namespace

EventTapMonitor::EventTapMonitor(platform::EventTypeMask mask, Filterer filterer, Handler handler)
    : mask_(mask), callbacks_(std::make_shared<Callbacks>(Callbacks{filterer, handler})) {}

EventTapMonitor::~EventTapMonitor() {
    stop();
}

void EventTapMonitor::start() {
    if (tap_) return;
    const auto options = callbacks_->filterer ? platform::EventTapOptions::defaultTap
                                              : platform::EventTapOptions::listenOnly;
    auto tap = platform::EventTap::create(
        platform::EventTapLocation::session, platform::EventTapPlacement::headInsert, options,
        mask_,
        [userInfo = std::weak_ptr<Callbacks>(callbacks_)](
            platform::EventTapProxy proxy, platform::CGEventType type,
            const platform::Event& event) { return tapCallback(proxy, type, event, userInfo); });
    if (!tap) return;
    auto thread = std::make_unique<RunLoopThread>(platform::kCFRunLoopDefaultMode);
    thread->setQualityOfService(kUserInteractive);
    thread->start();
    thread->runLoop()->addSource(tap->runLoopSource(), platform::kCFRunLoopDefaultMode);
    tap_ = std::move(tap);
    thread_ = std::move(thread);
}

void EventTapMonitor::stop() {
    if (!tap_) return;
    // Taken out first, so a callback that stops the monitor again finds
    // nothing to do.
    auto tap = std::move(tap_);
    auto thread = std::move(thread_);
    thread->runLoop()->removeSource(tap->runLoopSource(), platform::kCFRunLoopDefaultMode);
    thread->cancel();
    thread->join();
    tap->enable(false);
    tap->invalidate();
}

std::optional<platform::Event> EventTapMonitor::tapCallback(
    platform::EventTapProxy proxy, platform::CGEventType type, const platform::Event& event,
    const std::weak_ptr<Callbacks>& userInfo) {
    const auto callbacks = userInfo.lock();
    if (!callbacks) return event;
    if (isDisabledNotification(type)) {
        // Rebuilding here would wait on this very thread: enable in place.
        if (proxy) proxy->enable(true);
        return event;
    }
    auto nsEvent = platform::eventWithCGEvent(type, event);
    if (!nsEvent) return event;
    const bool swallow = callbacks->filterer && callbacks->filterer(*nsEvent);
    platform::mainQueue().async([weak = userInfo, nsEvent = *nsEvent] {
        if (auto alive = weak.lock(); alive && alive->handler) alive->handler(nsEvent);
    });
    if (swallow) return std::nullopt;
    return event;
}

}  // namespace zelvana::input::eventmonitor
