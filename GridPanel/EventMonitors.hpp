#pragma once

#include "input/EventMonitor/GlobalEventMonitor.hpp"
#include "input/EventMonitor/LocalEventMonitor.hpp"

namespace zelvana::gridpanel {

// The panel's module offers monitors of other applications' events and of
// our own; they are the event-monitor package's: start installs, stop and
// the end of life remove, and a stop before any start does nothing. Nothing
// in the panel makes one.
using GlobalEventMonitor = input::eventmonitor::GlobalEventMonitor;
using LocalEventMonitor = input::eventmonitor::LocalEventMonitor;

}  // namespace zelvana::gridpanel
