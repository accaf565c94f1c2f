#include "input/EventMonitor/GlobalEventMonitor.hpp"

namespace zelvana::input::eventmonitor {

GlobalEventMonitor::GlobalEventMonitor(platform::EventTypeMask mask, Handler handler)
    : mask_(mask), handler_(std::move(handler)) {}

void GlobalEventMonitor::start() {
    if (monitor_.isActive()) return;
    monitor_ = platform::Event::addGlobalMonitor(mask_, handler_);
}

void GlobalEventMonitor::stop() {
    monitor_.cancel();
}

}  // namespace zelvana::input::eventmonitor
