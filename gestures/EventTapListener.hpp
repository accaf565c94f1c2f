#pragma once

#include <functional>
#include <memory>

#include "input/EventMonitor/RunLoopThread.hpp"
#include "platform/appkit/Event.hpp"
#include "platform/input/EventTap.hpp"

namespace zelvana::gestures {

// A listen-only session tap that hands every tapped event to a handler,
// queued on the main queue. The tap is served by the main run loop (in the
// common modes) or by a run-loop thread of its own. A filterer runs where
// the tap is served; its answer cannot swallow anything, as the tap only
// listens. A tap that the system disables is replaced by a fresh one.
class EventTapListener {
public:
    using Filterer = std::function<bool(const platform::Event&)>;
    using Handler = std::function<void(const platform::Event&)>;

    EventTapListener(platform::CGEventMask mask, bool onMain, Filterer filterer, Handler handler);
    ~EventTapListener();
    EventTapListener(const EventTapListener&) = delete;
    EventTapListener& operator=(const EventTapListener&) = delete;

    // Makes the tap. A tap already held is stopped first, so the listener
    // never has more than one. Without the permission no tap is made.
    void start();
    // Disables and drops the tap; nothing without one.
    void stop();

    bool isRunning() const { return tap_ != nullptr; }
    const std::shared_ptr<platform::EventTap>& tap() const { return tap_; }
    const input::eventmonitor::RunLoopThread* thread() const { return thread_.get(); }
    platform::CGEventMask mask() const { return mask_; }
    bool onMain() const { return onMain_; }

private:
    // Shared with the tap and the queued handler calls, which hold it weakly:
    // once the listener is gone neither calls back.
    struct Callbacks {
        Filterer filterer;
        Handler handler;
        EventTapListener* listener;
    };

    static std::optional<platform::Event> tapCallback(platform::CGEventType type,
                                                      const platform::Event& event,
                                                      const std::weak_ptr<Callbacks>& userInfo);
    void serveOnThread();

    std::shared_ptr<platform::EventTap> tap_;
    std::unique_ptr<input::eventmonitor::RunLoopThread> thread_;
    const platform::CGEventMask mask_;
    const bool onMain_;
    const std::shared_ptr<Callbacks> callbacks_;
};

}  // namespace zelvana::gestures
