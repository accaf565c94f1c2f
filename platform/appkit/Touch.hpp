#pragma once

#include <cstdint>

#include "platform/appkit/Rect.hpp"

namespace zelvana::platform {

// The phase bits of one finger on a trackpad, with the values the system uses.
enum TouchPhase : std::uint32_t {
    touchPhaseBegan = 1u << 0,
    touchPhaseMoved = 1u << 1,
    touchPhaseStationary = 1u << 2,
    touchPhaseEnded = 1u << 3,
    touchPhaseCancelled = 1u << 4,
};

// One finger of a gesture event. The identity stays the same from the
// finger's touch-down to its lift; positions are normalised (0 to 1 on each
// axis, origin at the lower left of the pad) and the device size is in points.
struct Touch {
    std::uint64_t identity = 0;
    TouchPhase phase = touchPhaseBegan;
    Point normalizedPosition;
    Size deviceSize;
    // The system's guess that the finger rests rather than takes part.
    bool isResting = false;

    bool operator==(const Touch&) const = default;
};

}  // namespace zelvana::platform
