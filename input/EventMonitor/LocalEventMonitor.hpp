#pragma once

#include "KeyboardShortcuts/LocalEventMonitor.hpp"

namespace zelvana::input::eventmonitor {

// One AppKit monitor of our application's own events, which may replace or
// swallow them: the shortcuts package's monitor serves this package too.
using LocalEventMonitor = keyboardshortcuts::LocalEventMonitor;

}  // namespace zelvana::input::eventmonitor
