#include "KeyboardShortcuts/RunLoopLocalEventMonitor.hpp"

#include <cstdlib>
#include <vector>

#include "platform/appkit/Application.hpp"

namespace zelvana::keyboardshortcuts {
namespace {

// Type numbers above 63 have no bit in a mask; such events always go to the
// callback.
bool interests(platform::EventTypeMask events, const platform::Event& event) {
    return static_cast<unsigned>(event.type) > 63 || event.matches(events);
}

}  // namespace

RunLoopLocalEventMonitor::RunLoopLocalEventMonitor(platform::EventTypeMask events,
                                                   platform::RunLoopMode runLoopMode,
                                                   Callback callback)
    : runLoopMode_(std::move(runLoopMode)) {
    observer_ = platform::RunLoopObserver::create(
        platform::RunLoopActivity::beforeSources, true, 0,
        [events, callback = std::move(callback)](
            platform::RunLoopObserver&, platform::RunLoopActivity) { drain(events, callback); });
    // Without its observer the monitor is useless; treat it as failed memory.
    if (!observer_) std::abort();
}

void RunLoopLocalEventMonitor::start() {
    if (!started_.isActive())
        started_ = platform::RunLoop::current().addObserver(observer_, runLoopMode_);
}

void RunLoopLocalEventMonitor::stop() {
    started_.cancel();
}

bool RunLoopLocalEventMonitor::isStarted() const {
    return platform::RunLoop::current().containsObserver(observer_, runLoopMode_);
}

void RunLoopLocalEventMonitor::drain(platform::EventTypeMask events, const Callback& callback) {
    auto& application = platform::Application::shared();
    std::vector<platform::Event> pending;
    while (auto event = application.nextEvent(platform::EventMask::any, std::nullopt,
                                              platform::kCFRunLoopDefaultMode, true)) {
        pending.push_back(std::move(*event));
    }
    for (auto& event : pending) {
        if (!interests(events, event)) {
            application.postEvent(std::move(event), false);
        } else if (auto kept = callback(event)) {
            application.postEvent(std::move(*kept), false);
        }
    }
}

}  // namespace zelvana::keyboardshortcuts
