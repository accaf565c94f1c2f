#pragma once

#include "gestures/GestureMatch.hpp"

namespace zelvana::gestures {

// Hears of recognised gestures, on the main thread. Matches arrive packed
// (GestureMatch::packed).
class GestureDelegate {
public:
    virtual ~GestureDelegate() = default;
    // A gesture, or one direction step of a gesture, was recognised.
    virtual void gestureRecognized(GestureMatch::Packed match) = 0;
    // A rest-to-one gesture that had been recognised has ended; the match
    // carries no direction.
    virtual void gestureEnded(GestureMatch::Packed match) = 0;
};

}  // namespace zelvana::gestures
