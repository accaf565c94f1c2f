#include "gestures/CursorFreeze.hpp"

#include "platform/core/MainThread.hpp"
#include "platform/input/Cursor.hpp"

namespace zelvana::gestures {

void CursorFreeze::freeze(std::optional<platform::Point> position) {
    platform::assertMainThread();
    stillPosition_ = position ? *position : platform::pointerLocation();
    if (!eventMonitor_) {
        eventMonitor_ = std::make_unique<input::eventmonitor::PassiveEventMonitor>(
            watchedEvents, [this](const std::optional<platform::Event>&) { holdStill(); });
        eventMonitor_->start();
    }
    frozen_ = true;
}

void CursorFreeze::unfreeze() {
    platform::assertMainThread();
    frozen_ = false;
    stillPosition_.reset();
    // Destroying the monitor removes both of its monitors.
    eventMonitor_.reset();
}

void CursorFreeze::holdStill() const {
    if (stillPosition_) platform::warpMouseCursorPosition(*stillPosition_);
}

}  // namespace zelvana::gestures
