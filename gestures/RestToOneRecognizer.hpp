#pragma once

#include <optional>

#include "gestures/Gesture.hpp"
#include "gestures/RestDetector.hpp"
#include "gestures/RestToOneReport.hpp"
#include "gestures/TouchEventProcessor.hpp"

namespace zelvana::gestures {

// Recognises "rest to one": N fingers (3, 4 or 5) rest still on the pad,
// then all but one lift within 0.4 s. The start is reported once; the end
// when the touches change again.
class RestToOneRecognizer final : public TouchEventProcessor {
public:
    // `gesture` is threeToOne, fourToOne or fiveToOne.
    RestToOneRecognizer(Gesture gesture, GestureDelegate* delegate);

    Recognizer recognizerType() const override { return Recognizer::restToOne; }
    GestureDelegate* delegate() const override { return delegate_; }
    void setDelegate(GestureDelegate* delegate) override { delegate_ = delegate; }
    void process(const TouchEvent& event) override;

    Gesture configuredGesture() const { return report_.gesture(); }
    int restToOneTouchCount() const { return rest_.fingers(); }
    bool isTriggered() const { return report_.isTriggered(); }

private:
    void checkOneLeft(const TouchEvent& event);
    void end() { report_.end(delegate_); }
    void resetRest();

    RestDetector rest_;
    RestToOneReport report_;
    GestureDelegate* delegate_;
};

}  // namespace zelvana::gestures
