#include "platform/simulator/SpaceSwitches.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

void SpaceSwitches::request(DisplayID display, SpaceID space, SpaceID shown) {
    platform::assertMainThread();
    if (destination(display).value_or(shown) == space) return;
    queue_.push_back(Switch{display, space});
    if (queue_.size() == 1) startNext();
}

std::optional<SpaceID> SpaceSwitches::destination(DisplayID display) const {
    for (auto it = queue_.rbegin(); it != queue_.rend(); ++it) {
        if (it->display == display) return it->space;
    }
    return std::nullopt;
}

void SpaceSwitches::cancelAll() {
    platform::assertMainThread();
    if (running_) running_->cancel();
    running_.reset();
    queue_.clear();
}

void SpaceSwitches::startNext() {
    running_ = mainQueue().asyncAfter(duration_, [weak = weak_.ref()] {
        if (auto* self = weak.get()) self->finishFront();
    });
}

void SpaceSwitches::finishFront() {
    running_.reset();
    if (queue_.empty()) return;
    const Switch done = queue_.front();
    queue_.pop_front();
    if (!queue_.empty()) startNext();
    finished_(done.display, done.space);
}

}  // namespace zelvana::platform
