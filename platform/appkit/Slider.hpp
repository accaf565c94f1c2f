#pragma once

#include <memory>
#include <string>

#include "platform/appkit/ActionTarget.hpp"
#include "platform/appkit/View.hpp"

namespace zelvana::platform {

// A horizontal slider: a value between the minimum and the maximum that a
// press and drag set from the pointer's x across the bounds. Tracking runs
// startTracking, continueTracking for each drag and stopTracking, which
// subclasses may extend; the action goes to the target on every change while
// continuous, else when the tracking stops. A disabled slider does not track.
// Main thread only.
class Slider : public View, public ActionSender {
public:
    using View::View;

    double doubleValue() const { return value_; }
    // Kept within the minimum and the maximum; NaN is ignored.
    void setDoubleValue(double value);
    double minValue() const { return min_; }
    void setMinValue(double value);
    double maxValue() const { return max_; }
    void setMaxValue(double value);
    bool isContinuous() const { return continuous_; }
    void setContinuous(bool continuous) { continuous_ = continuous; }
    virtual bool isEnabled() const { return enabled_; }
    virtual void setEnabled(bool enabled) { enabled_ = enabled; }

    const std::string& action() const { return action_; }
    void setAction(std::string action) { action_ = std::move(action); }
    // Held weakly, as the system holds targets.
    void setTarget(WeakRef<ActionTarget> target) { target_ = std::move(target); }
    // Sends the action to the target; false when nobody handled it.
    bool sendAction();

    // The value for a point of the bounds: min at the left, max at the right.
    double valueAt(Point point) const;

    bool refusesFirstResponder() const { return refusesFirstResponder_; }
    void setRefusesFirstResponder(bool refuses) { refusesFirstResponder_ = refuses; }
    bool acceptsFirstResponder() const override { return isEnabled() && !refusesFirstResponder_; }
    void mouseDown(const Event& event) override;
    void mouseDragged(const Event& event) override;
    void mouseUp(const Event& event) override;

protected:
    // Return false to refuse the gesture (start) or the step (continue).
    virtual bool startTracking(Point point);
    virtual bool continueTracking(Point last, Point current);
    virtual void stopTracking(Point last, Point current);

private:
    Point local(const Event& event) const;

    double value_ = 0;
    double min_ = 0;
    double max_ = 1;
    bool continuous_ = true;
    bool enabled_ = true;
    bool refusesFirstResponder_ = false;
    bool tracking_ = false;
    Point last_;
    std::string action_;
    WeakRef<ActionTarget> target_;
};

}  // namespace zelvana::platform
