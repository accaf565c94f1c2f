#pragma once

#include <functional>
#include <memory>

#include "input/EventMonitor/ServedEventTap.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::gestures {

// A listen-only session tap that hands every tapped event to a handler,
// queued on the main queue. The tap is served by the main run loop (in the
// common modes) or by a run-loop thread of its own. A filterer runs where
// the tap is served; its answer cannot swallow anything, as the tap only
// listens. A tap that the system disables is replaced by a fresh one; when
// the system refuses that one (a permission was taken away), the owner hears
// that the tap is lost. Started and stopped on the main thread.
class EventTapListener {
public:
    using Filterer = std::function<bool(const platform::Event&)>;
    using Handler = std::function<void(const platform::Event&)>;
    using Lost = std::function<void()>;
    using Served = input::eventmonitor::ServedEventTap::Served;

    EventTapListener(platform::CGEventMask mask, Served served, Filterer filterer, Handler handler,
                     Lost lost = nullptr);
    ~EventTapListener();
    EventTapListener(const EventTapListener&) = delete;
    EventTapListener& operator=(const EventTapListener&) = delete;

    // Makes the tap. A tap already held is stopped first, so the listener
    // never has more than one. Without the permission no tap is made.
    void start();
    // Disables and drops the tap; nothing without one.
    void stop();

    bool isRunning() const { return served_ != nullptr; }
    std::shared_ptr<platform::EventTap> tap() const { return served_ ? served_->tap() : nullptr; }
    const input::eventmonitor::RunLoopThread* thread() const {
        return served_ ? served_->thread() : nullptr;
    }
    platform::CGEventMask mask() const { return mask_; }
    Served servedBy() const { return servedBy_; }

private:
    void restartWhenDisabled();

    const platform::CGEventMask mask_;
    const Served servedBy_;
    // Held weakly by the tap and the queued handler calls: once the listener
    // is gone neither calls back.
    const std::shared_ptr<const input::eventmonitor::TapCallbacks> callbacks_;
    const Lost lost_;
    std::unique_ptr<input::eventmonitor::ServedEventTap> served_;
    platform::WeakFactory<EventTapListener> weak_{this};
};

}  // namespace zelvana::gestures
