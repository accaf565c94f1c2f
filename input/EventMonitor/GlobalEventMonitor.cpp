#include "input/EventMonitor/GlobalEventMonitor.hpp"

#include "platform/appkit/EventMonitor.hpp"

namespace zelvana::input::eventmonitor {

GlobalEventMonitor::GlobalEventMonitor(platform::EventTypeMask mask, Handler handler)
    : mask_(mask), handler_(std::move(handler)) {}

GlobalEventMonitor::~GlobalEventMonitor() {
    stop();
}

void GlobalEventMonitor::start() {
    if (monitor_) return;
    monitor_ = platform::Event::addGlobalMonitor(mask_, handler_);
}

void GlobalEventMonitor::stop() {
    if (!monitor_) return;
    platform::Event::removeMonitor(monitor_);
    monitor_.reset();
}

}  // namespace zelvana::input::eventmonitor
