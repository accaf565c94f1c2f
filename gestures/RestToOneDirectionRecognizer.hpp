#pragma once

#include <numbers>
#include <optional>

#include "gestures/CursorFreeze.hpp"
#include "gestures/Directional.hpp"
#include "gestures/Gesture.hpp"
#include "gestures/RestDetector.hpp"
#include "gestures/RestToOneReport.hpp"
#include "gestures/TouchEventProcessor.hpp"

namespace zelvana::gestures {

// "Rest to one" whose remaining finger then steers: after the start (as
// RestToOneRecognizer reports it) every 35 device points of travel report
// one of eight directions, while the pointer is held still. The end is
// reported when the last touches lift.
class RestToOneDirectionRecognizer final : public TouchEventProcessor {
public:
    // `gesture` is threeToOneDir, fourToOneDir or fiveToOneDir.
    RestToOneDirectionRecognizer(Gesture gesture, GestureDelegate* delegate);

    Recognizer recognizerType() const override { return Recognizer::restToOneDir; }
    GestureDelegate* delegate() const override { return delegate_; }
    void setDelegate(GestureDelegate* delegate) override { delegate_ = delegate; }
    void process(const TouchEvent& event) override;

    Gesture configuredGesture() const { return report_.gesture(); }
    int restToOneTouchCount() const { return rest_.fingers(); }
    bool isTriggered() const { return report_.isTriggered(); }
    bool isSteering() const { return initialOneTouch_.has_value(); }
    const CursorFreeze& cursorFreeze() const { return cursorFreeze_; }

    // The direction of a step of (dx, dy) device points, y up.
    static Directional direction(double dx, double dy);

    static constexpr double posHighBound = 2 * std::numbers::pi / 5;
    static constexpr double negHighBound = -2 * std::numbers::pi / 5;
    static constexpr double posLowBound = std::numbers::pi / 6;
    static constexpr double negLowBound = -std::numbers::pi / 6;
    // A step needs more travel than this, in device points.
    static constexpr double stepLength = 35.0;

private:
    void checkOneLeft(const TouchEvent& event);
    void steer(const TouchEvent& event);
    void report(std::optional<Directional> direction) { report_.recognized(delegate_, direction); }
    void end() { report_.end(delegate_); }
    void resetRest();

    GestureDelegate* delegate_;
    CursorFreeze cursorFreeze_;
    RestDetector rest_;
    std::optional<TouchEvent> initialOneTouch_;
    RestToOneReport report_;
};

}  // namespace zelvana::gestures
