#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "gestures/Touch.hpp"

namespace zelvana::gestures {

// One trackpad event as the recognizers see it.
struct TouchEvent {
    // One per finger, in id order.
    std::vector<Touch> touches;
    int touchCount = 0;
    // Counts per phase in hexadecimal digits: began in the units, moved or
    // stationary in the sixteens, ended in the 256s; cancelled not at all.
    // Three resting fingers give 0x30; one lifting while two stay 0x120.
    std::int64_t phaseHex = 0;
    // Seconds of uptime.
    double timestamp = 0;
    // When each touch still on the pad began.
    std::map<std::int64_t, double> touchBeginTimestamps;
    // Some touch ended and none began, moved or stayed.
    bool gestureEnded = false;
    // Every touch moved (also when there are none).
    bool gestureMoved = true;

    bool someTouchEnded() const { return (phaseHex & 0xF00) != 0; }
};

}  // namespace zelvana::gestures
