#pragma once

#include <cstdint>

#include "platform/appkit/Rect.hpp"

namespace zelvana::gestures {

// How fast one touch moved: normalised units per second on each axis.
struct TouchVelocity {
    std::int64_t id = 0;
    platform::Point velocity;
    double magnitude = 0;
};

}  // namespace zelvana::gestures
