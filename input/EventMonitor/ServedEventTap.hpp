#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "input/EventMonitor/RunLoopThread.hpp"
#include "platform/appkit/Event.hpp"
#include "platform/input/EventTap.hpp"

namespace zelvana::input::eventmonitor {

// What a tap does with the events it is shown: the filterer runs where the tap
// is served (true swallows the event, when the tap may); the handler hears of
// each event later, on the main queue.
struct TapCallbacks {
    std::function<bool(const platform::Event&)> filterer;
    std::function<void(const platform::Event&)> handler;
};

// The system's two notices that it disabled a tap.
bool isTapDisabledNotification(platform::CGEventType type);

// Shows one tapped event to the filterer and queues it for the handler; returns
// what the tap passes on. Callbacks that are gone leave the event untouched and
// are not called, not even from the queue.
std::optional<platform::Event> forwardTappedEvent(
    platform::CGEventType type, const platform::Event& event,
    const std::weak_ptr<const TapCallbacks>& callbacks);

// A session tap and the run loop serving it: the main loop in the common modes,
// or a run-loop thread of its own (user-interactive). Destroying it ends the
// thread before the tap is disabled and invalidated.
class ServedEventTap {
public:
    enum class Served { onMain, onOwnThread };

    // Null when the system refuses the tap.
    static std::unique_ptr<ServedEventTap> make(platform::CGEventMask mask,
                                                platform::EventTapOptions options, Served served,
                                                platform::EventTapCallback callback);
    ~ServedEventTap();
    ServedEventTap(const ServedEventTap&) = delete;
    ServedEventTap& operator=(const ServedEventTap&) = delete;

    const std::shared_ptr<platform::EventTap>& tap() const { return tap_; }
    const RunLoopThread* thread() const { return thread_.get(); }

private:
    explicit ServedEventTap(std::shared_ptr<platform::EventTap> tap);

    std::shared_ptr<platform::EventTap> tap_;
    std::unique_ptr<RunLoopThread> thread_;
};

}  // namespace zelvana::input::eventmonitor
