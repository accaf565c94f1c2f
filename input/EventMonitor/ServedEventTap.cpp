#include "input/EventMonitor/ServedEventTap.hpp"

#include "platform/dispatch/Queue.hpp"

namespace zelvana::input::eventmonitor {

namespace {

constexpr int kUserInteractive = 33;

}  // namespace

bool isTapDisabledNotification(platform::CGEventType type) {
    return type == platform::kCGEventTapDisabledByTimeout ||
           type == platform::kCGEventTapDisabledByUserInput;
}

std::optional<platform::Event> forwardTappedEvent(
    platform::CGEventType type, const platform::Event& event,
    const std::weak_ptr<const TapCallbacks>& callbacks) {
    const auto alive = callbacks.lock();
    if (!alive) return event;
    auto wrapped = platform::eventWithCGEvent(type, event);
    if (!wrapped) return event;
    const bool swallow = alive->filterer && alive->filterer(*wrapped);
    platform::mainQueue().async([callbacks, wrapped = *wrapped] {
        if (auto later = callbacks.lock(); later && later->handler) later->handler(wrapped);
    });
    if (swallow) return std::nullopt;
    return event;
}

std::unique_ptr<ServedEventTap> ServedEventTap::make(platform::CGEventMask mask,
                                                     platform::EventTapOptions options,
                                                     Served served,
                                                     platform::EventTapCallback callback) {
    auto tap = platform::EventTap::create(platform::EventTapLocation::session,
                                          platform::EventTapPlacement::headInsert, options, mask,
                                          std::move(callback));
    if (!tap) return nullptr;
    std::unique_ptr<ServedEventTap> result(new ServedEventTap(std::move(tap)));
    const auto source = result->tap_->runLoopSource();
    if (served == Served::onMain) {
        platform::RunLoop::main().addSource(source, platform::kCFRunLoopCommonModes);
        return result;
    }
    result->thread_ = std::make_unique<RunLoopThread>(platform::kCFRunLoopDefaultMode);
    result->thread_->setQualityOfService(kUserInteractive);
    result->thread_->start();
    result->thread_->runLoop()->addSource(source, platform::kCFRunLoopDefaultMode);
    return result;
}

ServedEventTap::ServedEventTap(std::shared_ptr<platform::EventTap> tap) : tap_(std::move(tap)) {}

ServedEventTap::~ServedEventTap() {
    const auto source = tap_->runLoopSource();
    if (thread_) {
        thread_->runLoop()->removeSource(source, platform::kCFRunLoopDefaultMode);
        thread_->cancel();
        thread_->join();
    } else {
        platform::RunLoop::main().removeSource(source, platform::kCFRunLoopCommonModes);
    }
    tap_->enable(false);
    tap_->invalidate();
}

}  // namespace zelvana::input::eventmonitor
