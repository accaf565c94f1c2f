#include "KeyboardShortcuts/LocalEventMonitor.hpp"

#include "platform/appkit/EventMonitor.hpp"

namespace zelvana::KeyboardShortcuts {

LocalEventMonitor::LocalEventMonitor(platform::EventTypeMask events, Callback callback)
    : events_(events), callback_(std::move(callback)) {}

LocalEventMonitor::~LocalEventMonitor() {
    if (auto monitor = monitor_.lock()) platform::Event::removeMonitor(monitor);
}

LocalEventMonitor& LocalEventMonitor::start() {
    if (isInstalled()) return *this;
    monitor_ = platform::Event::addLocalMonitor(
        events_, [this](const platform::Event& event) { return callback_(event); });
    return *this;
}

bool LocalEventMonitor::isInstalled() const {
    auto monitor = monitor_.lock();
    return monitor && monitor->isInstalled();
}

}  // namespace zelvana::KeyboardShortcuts
