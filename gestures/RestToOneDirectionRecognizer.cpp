#include "gestures/RestToOneDirectionRecognizer.hpp"

#include <cmath>

namespace zelvana::gestures {

RestToOneDirectionRecognizer::RestToOneDirectionRecognizer(Gesture gesture,
                                                           GestureDelegate* delegate)
    : delegate_(delegate), rest_(fingerCount(gesture)), report_(gesture) {}

void RestToOneDirectionRecognizer::process(const TouchEvent& event) {
    if (event.gestureEnded) {
        resetRest();
        end();
    }
    if (!rest_.liftKeepsStill(event)) {
        resetRest();
        return;
    }
    rest_.noteCrowd(event);
    if (event.touchCount == event.phaseHex / 0x10 && event.touchCount == rest_.fingers()) {
        rest_.noteRest(event);
        return;
    }
    if (event.phaseHex == 0x10) {
        checkOneLeft(event);
        return;
    }
    if (!initialOneTouch_ || (event.touchCount == 0 && !event.gestureEnded)) return;
    // Another layout drops the steering; the end waits for the last lift.
    resetRest();
}

void RestToOneDirectionRecognizer::checkOneLeft(const TouchEvent& event) {
    if (initialOneTouch_) {
        steer(event);
        return;
    }
    switch (rest_.oneLeft(event)) {
        case RestDetector::OneLeft::noRest:
            return;
        case RestDetector::OneLeft::tooLate:
            resetRest();
            return;
        case RestDetector::OneLeft::inTime:
            cursorFreeze_.freeze();
            initialOneTouch_ = event;
            report(std::nullopt);
            return;
    }
}

void RestToOneDirectionRecognizer::steer(const TouchEvent& event) {
    if (initialOneTouch_->touches.empty() || event.touches.empty()) return;
    const Touch& from = initialOneTouch_->touches.front();
    const Touch& to = event.touches.front();
    const double dx = to.x() - from.x();
    const double dy = to.y() - from.y();
    if (!(std::hypot(dx, dy) > stepLength)) return;
    // The next step is measured from here.
    initialOneTouch_ = event;
    report(direction(dx, dy));
}

Directional RestToOneDirectionRecognizer::direction(double dx, double dy) {
    const double angle = std::atan(dy / dx);
    if (angle >= negLowBound && angle <= posLowBound) {
        return dx > 0 ? Directional::r : Directional::l;
    }
    if (angle > posLowBound && angle <= posHighBound) {
        return dx > 0 ? Directional::ur : Directional::dl;
    }
    if (angle >= negHighBound && angle < negLowBound) {
        return dx > 0 ? Directional::dr : Directional::ul;
    }
    return dy > 0 ? Directional::u : Directional::d;
}

void RestToOneDirectionRecognizer::resetRest() {
    cursorFreeze_.unfreeze();
    rest_.forgetRest();
    initialOneTouch_.reset();
}

}  // namespace zelvana::gestures
