#pragma once

namespace zelvana::platform::testing {

// Puts every simulated input service back as a fresh process finds it: no hot
// keys, handlers, monitors or taps; the U.S. layout; system 14; permissions
// granted; our application inactive; the main run loop in its default mode.
void resetSimulatedInput();

}  // namespace zelvana::platform::testing
