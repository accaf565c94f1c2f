#pragma once

#include <memory>
#include <optional>

#include "input/EventMonitor/PassiveEventMonitor.hpp"
#include "platform/appkit/Rect.hpp"

namespace zelvana::gestures {

// Holds the pointer still while a finger steers a gesture: every mouse move
// or click, in any application, warps the pointer back. Main thread.
class CursorFreeze {
public:
    CursorFreeze() = default;
    CursorFreeze(const CursorFreeze&) = delete;
    CursorFreeze& operator=(const CursorFreeze&) = delete;

    // Holds the pointer at `position` (window-server coordinates), or where
    // it is now when none is given.
    void freeze(std::optional<platform::Point> position = std::nullopt);
    void unfreeze();

    bool isFrozen() const { return frozen_; }
    const std::optional<platform::Point>& stillPosition() const { return stillPosition_; }

    // Left mouse down, right mouse down and mouse moved.
    static constexpr platform::EventTypeMask watchedEvents = platform::EventMask::leftMouseDown |
                                                             platform::EventMask::rightMouseDown |
                                                             platform::EventMask::mouseMoved;

private:
    void holdStill() const;

    // Ours and other applications' events alike.
    std::unique_ptr<input::eventmonitor::PassiveEventMonitor> eventMonitor_;
    bool frozen_ = false;
    std::optional<platform::Point> stillPosition_;
};

}  // namespace zelvana::gestures
