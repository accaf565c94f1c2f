#pragma once

#include <functional>
#include <memory>

#include "input/EventMonitor/EventMonitor.hpp"
#include "input/EventMonitor/ServedEventTap.hpp"

namespace zelvana::input::eventmonitor {

// A session event tap served by a run-loop thread of its own. A filterer
// makes the tap active: it runs on the tap's thread, and true swallows the
// event. The handler hears of every event later, on the main queue.
//
// A tap that the system disables is enabled again in place. Stopping (and
// destroying, also from inside a handler or the filterer) ends the thread
// before anything it uses goes away.
class EventTapMonitor final : public EventMonitor {
public:
    using Filterer = std::function<bool(const platform::Event&)>;
    using Handler = std::function<void(const platform::Event&)>;

    // No filterer makes a listen-only tap.
    EventTapMonitor(platform::EventTypeMask mask, Filterer filterer, Handler handler);
    ~EventTapMonitor() override;
    EventTapMonitor(const EventTapMonitor&) = delete;
    EventTapMonitor& operator=(const EventTapMonitor&) = delete;

    // True while the tap is held.
    bool isRunning() const override { return served_ != nullptr; }
    // Makes the tap and its thread; does nothing while running, and leaves
    // the monitor stopped when the system refuses the tap.
    void start() override;
    void stop() override;

    std::shared_ptr<platform::EventTap> tap() const { return served_ ? served_->tap() : nullptr; }
    const RunLoopThread* thread() const { return served_ ? served_->thread() : nullptr; }

private:
    const platform::EventTypeMask mask_;
    // Held weakly by the tap and by queued handler calls: once the monitor
    // is gone, neither calls back.
    const std::shared_ptr<const TapCallbacks> callbacks_;
    std::unique_ptr<ServedEventTap> served_;
};

}  // namespace zelvana::input::eventmonitor
