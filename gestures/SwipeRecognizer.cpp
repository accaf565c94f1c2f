#include "gestures/SwipeRecognizer.hpp"

#include <algorithm>
#include <cmath>

namespace zelvana::gestures {

SwipeRecognizer::SwipeRecognizer(Gesture gesture, GestureDelegate* delegate)
    : configuredGesture_(gesture), delegate_(delegate), touchCount_(fingerCount(gesture)) {}

void SwipeRecognizer::process(const TouchEvent& event) {
    track(event);
    if (!event.gestureEnded) return;
    evaluate();
    initialTouchEvent_.reset();
    lastTouchEvent_.reset();
}

void SwipeRecognizer::track(const TouchEvent& event) {
    if (event.touchCount > touchCount_) {
        initialTouchEvent_.reset();
        lastTouchEvent_.reset();
        return;
    }
    if (event.touchCount != touchCount_) return;
    if (isLastFingerDown(event.phaseHex)) initialTouchEvent_ = event;
    lastTouchEvent_ = event;
}

bool SwipeRecognizer::isLastFingerDown(std::int64_t phaseHex) const {
    // All N down, at least one of them just now: began + held = N, began >= 1.
    const std::int64_t began = phaseHex & 0xF;
    const std::int64_t held = (phaseHex >> 4) & 0xF;
    return began >= 1 && began + held == touchCount_ && (phaseHex >> 8) == 0;
}

void SwipeRecognizer::evaluate() {
    if (!initialTouchEvent_ || !lastTouchEvent_ || !delegate_) return;
    const auto speeds = velocities(*initialTouchEvent_, *lastTouchEvent_);
    if (speeds.empty()) return;
    const auto byMagnitude = [](const TouchVelocity& a, const TouchVelocity& b) {
        return a.magnitude < b.magnitude;
    };
    const auto slowest = std::min_element(speeds.begin(), speeds.end(), byMagnitude);
    // max_element keeps the first of equals, as the fastest touch should.
    const auto fastest = std::max_element(speeds.begin(), speeds.end(), byMagnitude);
    if (slowest->magnitude / fastest->magnitude < minimumSpeedRatio) return;
    if (!(fastest->magnitude > minimumSpeed)) return;
    const Gesture gesture =
        initialTouchEvent_->touchCount == 3 ? Gesture::threeSwipe : Gesture::fourSwipe;
    delegate_->gestureRecognized(GestureMatch{gesture, direction(fastest->velocity)}.packed());
}

Directional SwipeRecognizer::direction(platform::Point velocity) {
    if (std::abs(std::atan(velocity.y / velocity.x)) < horizontalAngle) {
        return velocity.x > 0 ? Directional::r : Directional::l;
    }
    return velocity.y > 0 ? Directional::u : Directional::d;
}

std::vector<TouchVelocity> SwipeRecognizer::velocities(const TouchEvent& from,
                                                       const TouchEvent& to) {
    const double elapsed = to.timestamp - from.timestamp;
    // Events out of order or at the same instant give no speed at all.
    if (!(elapsed > 0) || !std::isfinite(elapsed)) return {};
    std::vector<TouchVelocity> result;
    for (const auto& start : from.touches) {
        const auto end = std::find_if(to.touches.begin(), to.touches.end(),
                                      [&](const Touch& touch) { return touch.id == start.id; });
        if (end == to.touches.end()) continue;
        const platform::Point velocity{(end->pos.x - start.pos.x) / elapsed,
                                       (end->pos.y - start.pos.y) / elapsed};
        const double magnitude = std::hypot(velocity.x, velocity.y);
        if (!std::isfinite(magnitude)) return {};
        result.push_back(TouchVelocity{start.id, velocity, magnitude});
    }
    return result;
}

}  // namespace zelvana::gestures
