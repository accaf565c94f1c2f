#include "gestures/EventTapListener.hpp"

#include "platform/dispatch/Queue.hpp"

namespace zelvana::gestures {

namespace {

constexpr int kUserInteractive = 33;

bool isDisabledNotification(platform::CGEventType type) {
    return type == platform::kCGEventTapDisabledByTimeout ||
           type == platform::kCGEventTapDisabledByUserInput;
}

}  // namespace

EventTapListener::EventTapListener(platform::CGEventMask mask, bool onMain, Filterer filterer,
                                   Handler handler)
    : mask_(mask),
      onMain_(onMain),
      callbacks_(
          std::make_shared<Callbacks>(Callbacks{std::move(filterer), std::move(handler), this})) {}

EventTapListener::~EventTapListener() {
    stop();
}

void EventTapListener::start() {
    stop();
    tap_ = platform::EventTap::create(
        platform::EventTapLocation::session, platform::EventTapPlacement::headInsert,
        platform::EventTapOptions::listenOnly, mask_,
        [userInfo = std::weak_ptr<Callbacks>(callbacks_)](
            platform::EventTapProxy, platform::CGEventType type, const platform::Event& event) {
            return tapCallback(type, event, userInfo);
        });
    if (!tap_) return;
    if (onMain_) {
        platform::RunLoop::main().addSource(tap_->runLoopSource(), platform::kCFRunLoopCommonModes);
    } else {
        serveOnThread();
    }
}

void EventTapListener::serveOnThread() {
    thread_ = std::make_unique<input::eventmonitor::RunLoopThread>(platform::kCFRunLoopDefaultMode);
    thread_->setQualityOfService(kUserInteractive);
    thread_->start();
    thread_->runLoop()->addSource(tap_->runLoopSource(), platform::kCFRunLoopDefaultMode);
}

void EventTapListener::stop() {
    if (!tap_) return;
    // Taken out first, so a callback that stops the listener again finds
    // nothing to do.
    auto tap = std::move(tap_);
    auto thread = std::move(thread_);
    tap->enable(false);
    if (thread) {
        thread->runLoop()->removeSource(tap->runLoopSource(), platform::kCFRunLoopDefaultMode);
        thread->cancel();
    } else {
        platform::RunLoop::main().removeSource(tap->runLoopSource(),
                                               platform::kCFRunLoopCommonModes);
    }
    tap->invalidate();
}

std::optional<platform::Event> EventTapListener::tapCallback(
    platform::CGEventType type, const platform::Event& event,
    const std::weak_ptr<Callbacks>& userInfo) {
    const auto callbacks = userInfo.lock();
    if (!callbacks) return event;
    if (isDisabledNotification(type)) {
        // The listener's tap and thread belong to the main thread: a tap served
        // by a thread of its own asks the main queue to rebuild it.
        const auto restart = [](Callbacks& alive) {
            alive.listener->stop();
            alive.listener->start();
        };
        if (platform::isMainThread()) {
            restart(*callbacks);
        } else {
            platform::mainQueue().async([weak = userInfo, restart] {
                if (auto alive = weak.lock()) restart(*alive);
            });
        }
        return event;
    }
    auto wrapped = platform::eventWithCGEvent(type, event);
    if (!wrapped) return event;
    const bool swallow = callbacks->filterer && callbacks->filterer(*wrapped);
    platform::mainQueue().async([weak = userInfo, wrapped = *wrapped] {
        if (auto alive = weak.lock(); alive && alive->handler) alive->handler(wrapped);
    });
    if (swallow) return std::nullopt;
    return event;
}

}  // namespace zelvana::gestures
