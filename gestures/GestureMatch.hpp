#pragma once

#include <cstdint>
#include <optional>

#include "gestures/Directional.hpp"
#include "gestures/Gesture.hpp"

namespace zelvana::gestures {

// A recognised gesture and, for swipes and steering steps, its direction.
// It leaves the package packed into one integer: the gesture's position
// (0 to 7) | the direction's code (0 to 7, or 8 for none) << 8.
struct GestureMatch {
    using Packed = std::int64_t;
    static constexpr Packed noDirection = 8;

    Gesture gesture = Gesture::threeSwipe;
    std::optional<Directional> direction{};

    Packed packed() const {
        const Packed code = direction ? rawValue(*direction) - 1 : noDirection;
        return position(gesture) | code << 8;
    }
    // None for a value that no match packs into.
    static std::optional<GestureMatch> unpacked(Packed value) {
        if (value < 0 || (value >> 8) > noDirection) return std::nullopt;
        const auto gesture = gestureFromRawValue((value & 0xFF) + 1);
        if (!gesture) return std::nullopt;
        const Packed code = value >> 8;
        if (code == noDirection) return GestureMatch{*gesture, std::nullopt};
        return GestureMatch{*gesture, directionalFromRawValue(code + 1)};
    }

    bool operator==(const GestureMatch&) const = default;
};

}  // namespace zelvana::gestures
