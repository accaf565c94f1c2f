#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "platform/appkit/Event.hpp"
#include "platform/dispatch/RunLoop.hpp"

namespace zelvana::keyboardshortcuts {

// Sees the application's pending events while the main run loop runs in one
// mode, where no local monitor is asked (such as while a menu tracks): before
// each turn's sources it takes every pending event off the queue, lets the
// callback keep, replace or drop those of the chosen types, and posts the rest
// back in the order received.
class RunLoopLocalEventMonitor {
public:
    using Callback = std::function<std::optional<platform::Event>(const platform::Event&)>;

    RunLoopLocalEventMonitor(platform::EventTypeMask events, platform::RunLoopMode runLoopMode,
                             Callback callback);
    RunLoopLocalEventMonitor(const RunLoopLocalEventMonitor&) = delete;
    RunLoopLocalEventMonitor& operator=(const RunLoopLocalEventMonitor&) = delete;

    void start();
    void stop();
    bool isStarted() const;

    const platform::RunLoopMode& runLoopMode() const { return runLoopMode_; }

private:
    static void drain(platform::EventTypeMask events, const Callback& callback);

    platform::RunLoopMode runLoopMode_;
    std::shared_ptr<platform::RunLoopObserver> observer_;
    platform::Subscription started_;
};

}  // namespace zelvana::keyboardshortcuts
