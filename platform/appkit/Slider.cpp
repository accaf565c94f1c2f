#include "platform/appkit/Slider.hpp"

#include <algorithm>
#include <cmath>

#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

void Slider::setDoubleValue(double value) {
    platform::assertMainThread();
    if (!std::isnan(value)) value_ = std::clamp(value, std::min(min_, max_), std::max(min_, max_));
}

void Slider::setMinValue(double value) {
    platform::assertMainThread();
    if (!std::isfinite(value)) return;
    min_ = value;
    setDoubleValue(value_);
}

void Slider::setMaxValue(double value) {
    platform::assertMainThread();
    if (!std::isfinite(value)) return;
    max_ = value;
    setDoubleValue(value_);
}

bool Slider::sendAction() {
    platform::assertMainThread();
    if (action_.empty()) return false;
    if (ActionTarget* target = target_.get()) return target->performAction(action_, this);
    Window* window = this->window();
    return window && window->sendAction(action_, this);
}

double Slider::valueAt(Point point) const {
    const Rect b = bounds();
    const double fraction =
        b.width() > 0 ? std::clamp((point.x - b.minX()) / b.width(), 0.0, 1.0) : 0;
    return min_ + fraction * (max_ - min_);
}

Point Slider::local(const Event& event) const {
    return convertPointFromView(event.locationInWindow, nullptr);
}

void Slider::mouseDown(const Event& event) {
    platform::assertMainThread();
    const Point point = local(event);
    if (!isEnabled() || !startTracking(point)) return;
    tracking_ = true;
    last_ = point;
    setDoubleValue(valueAt(point));
    if (continuous_) sendAction();
}

void Slider::mouseDragged(const Event& event) {
    platform::assertMainThread();
    const Point point = local(event);
    if (!tracking_ || !continueTracking(last_, point)) return;
    last_ = point;
    setDoubleValue(valueAt(point));
    if (continuous_) sendAction();
}

void Slider::mouseUp(const Event& event) {
    platform::assertMainThread();
    if (!std::exchange(tracking_, false)) return;
    stopTracking(last_, local(event));
    if (!continuous_) sendAction();
}

bool Slider::startTracking(Point /*point*/) {
    return true;
}

bool Slider::continueTracking(Point /*last*/, Point /*current*/) {
    return isEnabled();
}

void Slider::stopTracking(Point /*last*/, Point /*current*/) {}

}  // namespace zelvana::platform
