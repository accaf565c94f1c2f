#include "gestures/RestToOneRecognizer.hpp"

#include "gestures/TouchUtil.hpp"

namespace zelvana::gestures {

RestToOneRecognizer::RestToOneRecognizer(Gesture gesture, GestureDelegate* delegate)
    : restToOneTouchCount_(fingerCount(gesture)),
      configuredGesture_(gesture),
      delegate_(delegate) {}

void RestToOneRecognizer::process(const TouchEvent& event) {
    if (event.gestureEnded) {
        end();
        resetRest();
    }
    if (!checkLift(event)) return;
    if (event.touchCount > restToOneTouchCount_) {
        restEvent_.reset();
        moreThanRestTimestamp_ = event.timestamp;
    }
    if (event.phaseHex == restToOneTouchCount_ * 0x10) {
        checkRest(event);
        return;
    }
    if (event.phaseHex == 0x10) {
        checkOneLeft(event);
        return;
    }
    if (event.touchCount == 0 && !event.gestureEnded) return;
    if (!triggered_) return;
    end();
    resetRest();
}

bool RestToOneRecognizer::checkLift(const TouchEvent& event) {
    if (!restEvent_ || lessThanRestTimestamp_ || !event.someTouchEnded()) return true;
    if (!TouchUtil::touchesStill(restEvent_->touches, event.touches, kStillTolerance)) {
        end();
        resetRest();
        return false;
    }
    lessThanRestTimestamp_ = event.timestamp;
    return true;
}

void RestToOneRecognizer::checkRest(const TouchEvent& event) {
    if (restEvent_) return;
    if (moreThanRestTimestamp_ && event.timestamp - *moreThanRestTimestamp_ < kRestWindow) return;
    restEvent_ = event;
}

void RestToOneRecognizer::checkOneLeft(const TouchEvent& event) {
    if (triggered_ || !restEvent_ || !lessThanRestTimestamp_) return;
    if (event.timestamp - *lessThanRestTimestamp_ > kRestWindow) {
        end();
        resetRest();
        return;
    }
    triggered_ = true;
    if (delegate_) delegate_->gestureRecognized(GestureMatch{configuredGesture_, {}}.packed());
}

void RestToOneRecognizer::end() {
    if (!triggered_) return;
    triggered_ = false;
    if (delegate_) delegate_->gestureEnded(GestureMatch{configuredGesture_, {}}.packed());
}

void RestToOneRecognizer::resetRest() {
    restEvent_.reset();
    lessThanRestTimestamp_.reset();
    moreThanRestTimestamp_.reset();
}

}  // namespace zelvana::gestures
