#include "gestures/CursorFreeze.hpp"

#include "platform/core/MainThread.hpp"
#include "platform/input/Mouse.hpp"

namespace zelvana::gestures {

void CursorFreeze::freeze(std::optional<platform::Point> position) {
    platform::assertMainThread();
    stillPosition_ = position ? *position : platform::Mouse::shared().location();
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
    if (stillPosition_) platform::Mouse::shared().warpCursorPosition(*stillPosition_);
}

}  // namespace zelvana::gestures
