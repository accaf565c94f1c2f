#include "gestures/RestToOneRecognizer.hpp"

namespace zelvana::gestures {

RestToOneRecognizer::RestToOneRecognizer(Gesture gesture, GestureDelegate* delegate)
    : rest_(fingerCount(gesture)), report_(gesture), delegate_(delegate) {}

void RestToOneRecognizer::process(const TouchEvent& event) {
    if (event.gestureEnded) {
        end();
        resetRest();
    }
    if (!rest_.liftKeepsStill(event)) {
        end();
        resetRest();
        return;
    }
    rest_.noteCrowd(event);
    if (event.phaseHex == rest_.fingers() * 0x10) {
        rest_.noteRest(event);
        return;
    }
    if (event.phaseHex == 0x10) {
        checkOneLeft(event);
        return;
    }
    if (event.touchCount == 0 && !event.gestureEnded) return;
    if (!report_.isTriggered()) return;
    end();
    resetRest();
}

void RestToOneRecognizer::checkOneLeft(const TouchEvent& event) {
    if (report_.isTriggered()) return;
    switch (rest_.oneLeft(event)) {
        case RestDetector::OneLeft::noRest:
            return;
        case RestDetector::OneLeft::tooLate:
            end();
            resetRest();
            return;
        case RestDetector::OneLeft::inTime:
            report_.recognized(delegate_, std::nullopt);
            return;
    }
}

void RestToOneRecognizer::resetRest() {
    rest_.forgetRest();
    rest_.forgetCrowd();
}

}  // namespace zelvana::gestures
