#pragma once

#include <atomic>

namespace zelvana::core {

// Set during launch when the stored lastVersion says this is the first run;
// the hub's deferred start-up reads it to show the welcome popover.
inline bool isFirstLaunch = false;
// Set during launch when the relaunch helper started us with "--relaunch";
// the hub's restoration of the stored grids reads and then clears it.
inline bool wasRelaunched = false;
// True from asking for the helper to be opened for a relaunch until that open
// fails; while it is, the helper's pong quits the application. Atomic: the
// open's completion clears it from another thread.
inline std::atomic<bool> awaitingPong{false};

}  // namespace zelvana::core
