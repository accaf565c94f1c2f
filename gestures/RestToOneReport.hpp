#pragma once

#include <optional>
#include <utility>

#include "gestures/Directional.hpp"
#include "gestures/Gesture.hpp"
#include "gestures/GestureDelegate.hpp"

namespace zelvana::gestures {

// What a rest-to-one recognizer tells its delegate: a start (or a steering
// step) marks the gesture triggered, and its end is told once, only after a
// start. Main thread.
class RestToOneReport {
public:
    explicit RestToOneReport(Gesture gesture) : gesture_(gesture) {}

    Gesture gesture() const { return gesture_; }
    bool isTriggered() const { return triggered_; }

    void recognized(GestureDelegate* delegate, std::optional<Directional> direction) {
        triggered_ = true;
        if (delegate) delegate->gestureRecognized(GestureMatch{gesture_, direction}.packed());
    }
    void end(GestureDelegate* delegate) {
        if (!std::exchange(triggered_, false)) return;
        if (delegate) delegate->gestureEnded(GestureMatch{gesture_, {}}.packed());
    }

private:
    Gesture gesture_;
    bool triggered_ = false;
};

}  // namespace zelvana::gestures
