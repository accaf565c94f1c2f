#pragma once

#include <optional>
#include <vector>

#include "gestures/Directional.hpp"
#include "gestures/Gesture.hpp"
#include "gestures/TouchEventProcessor.hpp"
#include "gestures/TouchVelocity.hpp"

namespace zelvana::gestures {

// Recognises three- and four-finger swipes. It keeps the event in which the
// last of the N fingers came down and the latest event with N touches; when
// the fingers have all lifted it decides from their average velocities
// whether a fast, uniform swipe took place, and in which direction.
class SwipeRecognizer final : public TouchEventProcessor {
public:
    SwipeRecognizer(Gesture gesture, GestureDelegate* delegate);

    Recognizer recognizerType() const override { return Recognizer::swipe; }
    GestureDelegate* delegate() const override { return delegate_; }
    void setDelegate(GestureDelegate* delegate) override { delegate_ = delegate; }
    void process(const TouchEvent& event) override;

    Gesture configuredGesture() const { return configuredGesture_; }
    const std::optional<TouchEvent>& initialTouchEvent() const { return initialTouchEvent_; }
    const std::optional<TouchEvent>& lastTouchEvent() const { return lastTouchEvent_; }

    // The direction of the fastest touch's velocity: horizontal while it is
    // less than 1 radian from the horizontal.
    static Directional direction(platform::Point velocity);
    // Per-touch average velocities from one event to a later one; empty when
    // no time passed between them or a speed is not finite.
    static std::vector<TouchVelocity> velocities(const TouchEvent& from, const TouchEvent& to);

    // Below this ratio of slowest to fastest the fingers did not move alike.
    static constexpr double minimumSpeedRatio = 0.33;
    // The fastest finger must be faster than this (normalised units per second).
    static constexpr double minimumSpeed = 1.0;
    static constexpr double horizontalAngle = 1.0;

private:
    void track(const TouchEvent& event);
    bool isLastFingerDown(std::int64_t phaseHex) const;
    void evaluate();

    std::optional<TouchEvent> lastTouchEvent_;
    std::optional<TouchEvent> initialTouchEvent_;
    Gesture configuredGesture_;
    GestureDelegate* delegate_;
    int touchCount_;
};

}  // namespace zelvana::gestures
