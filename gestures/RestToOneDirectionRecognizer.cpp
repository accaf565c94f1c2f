#include "gestures/RestToOneDirectionRecognizer.hpp"

#include <cmath>

#include "gestures/TouchUtil.hpp"

namespace zelvana::gestures {

RestToOneDirectionRecognizer::RestToOneDirectionRecognizer(Gesture gesture,
                                                           GestureDelegate* delegate)
    : delegate_(delegate),
      restToOneTouchCount_(fingerCount(gesture)),
      configuredGesture_(gesture) {}

void RestToOneDirectionRecognizer::process(const TouchEvent& event) {
    if (event.gestureEnded) {
        resetRest();
        end();
    }
    if (!checkLift(event)) return;
    if (event.touchCount > restToOneTouchCount_) {
        restEvent_.reset();
        moreThanRestTimestamp_ = event.timestamp;
    }
    if (event.touchCount == event.phaseHex / 0x10 && event.touchCount == restToOneTouchCount_) {
        checkRest(event);
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

bool RestToOneDirectionRecognizer::checkLift(const TouchEvent& event) {
    if (!restEvent_ || lessThanRestTimestamp_ || !event.someTouchEnded()) return true;
    if (!TouchUtil::touchesStill(restEvent_->touches, event.touches, kStillTolerance)) {
        resetRest();
        return false;
    }
    lessThanRestTimestamp_ = event.timestamp;
    return true;
}

void RestToOneDirectionRecognizer::checkRest(const TouchEvent& event) {
    if (restEvent_) return;
    if (moreThanRestTimestamp_ && event.timestamp - *moreThanRestTimestamp_ < kRestWindow) return;
    restEvent_ = event;
}

void RestToOneDirectionRecognizer::checkOneLeft(const TouchEvent& event) {
    if (initialOneTouch_) {
        steer(event);
        return;
    }
    if (!restEvent_ || !lessThanRestTimestamp_) return;
    if (event.timestamp - *lessThanRestTimestamp_ > kRestWindow) {
        resetRest();
        return;
    }
    cursorFreeze_.freeze();
    initialOneTouch_ = event;
    report(std::nullopt);
}

void RestToOneDirectionRecognizer::steer(const TouchEvent& event) {
    if (initialOneTouch_->touches.empty() || event.touches.empty()) return;
    const Touch& from = initialOneTouch_->touches.front();
    const Touch& to = event.touches.front();
    const double dx = to.x() - from.x();
    const double dy = to.y() - from.y();
    if (!(std::hypot(dx, dy) > kStepLength)) return;
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

void RestToOneDirectionRecognizer::report(std::optional<Directional> direction) {
    triggered_ = true;
    if (delegate_)
        delegate_->gestureRecognized(GestureMatch{configuredGesture_, direction}.packed());
}

void RestToOneDirectionRecognizer::end() {
    if (!triggered_) return;
    triggered_ = false;
    if (delegate_) delegate_->gestureEnded(GestureMatch{configuredGesture_, {}}.packed());
}

void RestToOneDirectionRecognizer::resetRest() {
    cursorFreeze_.unfreeze();
    restEvent_.reset();
    initialOneTouch_.reset();
    lessThanRestTimestamp_.reset();
}

}  // namespace zelvana::gestures
