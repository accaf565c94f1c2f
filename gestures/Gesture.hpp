#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "gestures/Recognizer.hpp"

namespace zelvana::gestures {

// The trackpad gestures the package recognises. The raw value (1 to 8) is
// also the value of the application's gesture setting, where 0 means off.
enum class Gesture : std::int64_t {
    threeSwipe = 1,
    fourSwipe = 2,
    threeToOne = 3,
    fourToOne = 4,
    fiveToOne = 5,
    threeToOneDir = 6,
    fourToOneDir = 7,
    fiveToOneDir = 8,
};

inline constexpr std::array<Gesture, 8> kAllGestures{
    Gesture::threeSwipe, Gesture::fourSwipe,     Gesture::threeToOne,   Gesture::fourToOne,
    Gesture::fiveToOne,  Gesture::threeToOneDir, Gesture::fourToOneDir, Gesture::fiveToOneDir};

constexpr std::int64_t rawValue(Gesture gesture) {
    return static_cast<std::int64_t>(gesture);
}

// Exactly 1 to 8 make a gesture.
constexpr std::optional<Gesture> gestureFromRawValue(std::int64_t raw) {
    if (raw < 1 || raw > static_cast<std::int64_t>(kAllGestures.size())) return std::nullopt;
    return static_cast<Gesture>(raw);
}

// The place in kAllGestures, 0 to 7.
constexpr int position(Gesture gesture) {
    return static_cast<int>(rawValue(gesture) - 1);
}

constexpr Recognizer recognizerKind(Gesture gesture) {
    switch (gesture) {
        case Gesture::threeSwipe:
        case Gesture::fourSwipe:
            return Recognizer::swipe;
        case Gesture::threeToOne:
        case Gesture::fourToOne:
        case Gesture::fiveToOne:
            return Recognizer::restToOne;
        default:
            return Recognizer::restToOneDir;
    }
}

// How many fingers the gesture starts with.
constexpr int fingerCount(Gesture gesture) {
    switch (gesture) {
        case Gesture::threeSwipe:
        case Gesture::threeToOne:
        case Gesture::threeToOneDir:
            return 3;
        case Gesture::fourSwipe:
        case Gesture::fourToOne:
        case Gesture::fourToOneDir:
            return 4;
        default:
            return 5;
    }
}

}  // namespace zelvana::gestures
