#include "KeyboardShortcuts/LocalEventMonitor.hpp"

#include "platform/core/MainThread.hpp"

namespace zelvana::keyboardshortcuts {

LocalEventMonitor::LocalEventMonitor(platform::EventTypeMask events, Callback callback)
    : events_(events), callback_(std::move(callback)) {}

LocalEventMonitor& LocalEventMonitor::start() {
    platform::assertMainThread();
    if (isInstalled()) return *this;
    // The installed monitor holds its own copy of the callback, so an owner that
    // drops this object from inside the callback does not free it while it runs.
    monitor_ = platform::Event::addLocalMonitor(events_, callback_);
    return *this;
}

void LocalEventMonitor::stop() {
    platform::assertMainThread();
    monitor_.cancel();
}

}  // namespace zelvana::keyboardshortcuts
