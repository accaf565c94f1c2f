#include "gestures/RestDetector.hpp"

#include "gestures/TouchUtil.hpp"

namespace zelvana::gestures {

void RestDetector::noteCrowd(const TouchEvent& event) {
    if (event.touchCount <= fingers_) return;
    restEvent_.reset();
    crowdTimestamp_ = event.timestamp;
}

void RestDetector::noteRest(const TouchEvent& event) {
    if (restEvent_) return;
    if (crowdTimestamp_ && event.timestamp - *crowdTimestamp_ < restWindow) return;
    restEvent_ = event;
}

bool RestDetector::liftKeepsStill(const TouchEvent& event) {
    if (!restEvent_ || liftTimestamp_ || !event.someTouchEnded()) return true;
    if (!TouchUtil::touchesStill(restEvent_->touches, event.touches, stillTolerance)) {
        return false;
    }
    liftTimestamp_ = event.timestamp;
    return true;
}

RestDetector::OneLeft RestDetector::oneLeft(const TouchEvent& event) const {
    if (!restEvent_ || !liftTimestamp_) return OneLeft::noRest;
    return event.timestamp - *liftTimestamp_ > restWindow ? OneLeft::tooLate : OneLeft::inTime;
}

void RestDetector::forgetRest() {
    restEvent_.reset();
    liftTimestamp_.reset();
}

}  // namespace zelvana::gestures
