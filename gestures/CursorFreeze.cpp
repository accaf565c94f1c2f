#include "gestures/CursorFreeze.hpp"

#include "platform/core/MainThread.hpp"
#include "platform/input/Mouse.hpp"

namespace zelvana::gestures {

void CursorFreeze::freeze(std::optional<platform::Point> position) {
    platform::assertMainThread();
    stillPosition_ = position ? *position : platform::Mouse::shared().location();
    if (!globalEventMonitor_) {
        globalEventMonitor_ = std::make_unique<input::eventmonitor::GlobalEventMonitor>(
            watchedEvents, [this](const platform::Event&) { holdStill(); });
        globalEventMonitor_->start();
    }
    if (!localEventMonitor_) {
        localEventMonitor_ = std::make_unique<input::eventmonitor::LocalEventMonitor>(
            watchedEvents, [this](const std::optional<platform::Event>& event) {
                holdStill();
                return event;
            });
        localEventMonitor_->start();
    }
    frozen_ = true;
}

void CursorFreeze::unfreeze() {
    platform::assertMainThread();
    frozen_ = false;
    stillPosition_.reset();
    // Destroying a monitor removes it.
    globalEventMonitor_.reset();
    localEventMonitor_.reset();
}

void CursorFreeze::holdStill() const {
    if (stillPosition_) platform::Mouse::shared().warpCursorPosition(*stillPosition_);
}

}  // namespace zelvana::gestures
