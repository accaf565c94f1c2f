#pragma once

#include <cstdint>

#include "platform/appkit/Rect.hpp"

namespace zelvana::gestures {

// The phase bits of a touch: began 1, moved 2, stationary 4, ended 8,
// cancelled 16.
using TouchPhaseBits = std::uint32_t;
inline constexpr TouchPhaseBits kPhaseBegan = 1;
inline constexpr TouchPhaseBits kPhaseMoved = 2;
inline constexpr TouchPhaseBits kPhaseStationary = 4;
inline constexpr TouchPhaseBits kPhaseEnded = 8;
inline constexpr TouchPhaseBits kPhaseCancelled = 16;

// One finger as the recognizers see it: a normalised position (0 to 1 on
// each axis, origin at the lower left) on a device measured in points.
struct Touch {
    std::int64_t id = 0;
    platform::Point pos;
    platform::Size deviceSize;
    // Possibly rewritten by a preprocessing filter.
    TouchPhaseBits phase = kPhaseBegan;

    // Device points along each axis.
    double x() const { return pos.x * deviceSize.width; }
    double y() const { return pos.y * deviceSize.height; }

    bool operator==(const Touch&) const = default;
};

}  // namespace zelvana::gestures
