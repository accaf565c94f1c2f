#include "GridPanel/ColorSlider.hpp"

#include <algorithm>
#include <cmath>

#include "platform/appkit/GraphicsContext.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::gridpanel {

using platform::BezierPath;
using platform::Color;
using platform::Point;
using platform::Rect;

namespace {

// The shown temperature is 500 K warmer than the step it stands for.
constexpr std::int64_t kTemperatureShift = 500;
constexpr double kKnobInset = 2;
constexpr double kBarHeight = 3;
constexpr double kExpandDuration = 0.05;
constexpr double kCollapseDuration = 1.0;

Color hueColor(double hue, float saturation) {
    return Color::hsb(hue, saturation, 1.0, 1.0);
}

// A grey as light as the colour's channels together, kept within 0...1.
Color greyed(const Color& color) {
    const double level = std::clamp(0.5 * (color.red() + color.green() + color.blue()), 0.0, 1.0);
    return Color::white(level, color.alpha());
}

bool isEmpty(Rect rect) {
    return !(rect.width() > 0) || !(rect.height() > 0);
}

// Integer division truncating toward zero, in doubles so that extreme
// kelvin values cannot overflow.
double tenth(double span) {
    return std::trunc(span / 10);
}

}  // namespace

ColorSlider::ColorSlider(Rect frame) : Slider(frame) {}

void ColorSlider::setColorType(ColorType type) {
    colorType_ = type;
    updateLayers();
}

void ColorSlider::setSaturation(float saturation) {
    saturation_ = saturation;
    updateLayers();
}

void ColorSlider::setColorTemperatureMin(std::int64_t kelvin) {
    temperatureMin_ = kelvin;
    updateLayers();
}

void ColorSlider::setColorTemperatureMax(std::int64_t kelvin) {
    temperatureMax_ = kelvin;
    updateLayers();
}

void ColorSlider::setEnabled(bool enabled) {
    isEnabled_ = enabled;
    updateLayers();
}

void ColorSlider::setIsTracking(bool tracking) {
    const bool wasTracking = std::exchange(isTracking_, tracking);
    updateLayer();
    animateBackgroundHeight();
    if (wasTracking) sendAction();
}

void ColorSlider::setIsDragging(bool dragging) {
    isDragging_ = dragging;
    updateLayer();
    if (isContinuous()) sendAction();
}

std::optional<Color> ColorSlider::selectedColor() const {
    if (doubleValue() == 0 || maxValue() == 0) return std::nullopt;
    const auto hue = static_cast<float>(doubleValue()) / static_cast<float>(maxValue());
    return hueColor(hue, saturation_);
}

void ColorSlider::setSelectedColor(const std::optional<Color>& color) {
    if (!color) return;
    const double hue = color->hue();
    setDoubleValue((hue == 0 ? 1.0 : hue) * maxValue());
    updateLayer();
}

std::vector<std::int64_t> ColorSlider::gradientTemperatures(std::int64_t min, std::int64_t max) {
    const double first = static_cast<double>(min);
    const double end = static_cast<double>(max) + tenth(static_cast<double>(max) - first);
    const double step = tenth(end - first);
    // A range too narrow to step through shows its first temperature alone.
    if (step == 0) return {min};
    std::vector<std::int64_t> temperatures;
    for (double t = first; step > 0 ? t < end : t > end; t += step) {
        temperatures.push_back(static_cast<std::int64_t>(t));
    }
    return temperatures;
}

std::vector<Color> ColorSlider::gradientColors() const {
    std::vector<Color> colors;
    switch (colorType_) {
        case ColorType::unknown:
            return {Color::black()};
        case ColorType::color:
            for (int i = 0; i <= 10; ++i) colors.push_back(hueColor(i / 10.0, saturation_));
            break;
        case ColorType::temperature:
            for (auto kelvin : gradientTemperatures(temperatureMin_, temperatureMax_)) {
                colors.push_back(
                    Color::colorTemperature(static_cast<double>(kelvin + kTemperatureShift)));
            }
            break;
    }
    if (!isEnabled()) std::ranges::transform(colors, colors.begin(), greyed);
    return colors;
}

double ColorSlider::knobPosition() const {
    const Rect b = bounds();
    const double inset = b.height() / 2;
    const double trackMinX = b.minX() + inset;
    const double trackWidth = std::max(b.width() - 2 * inset, 0.0);
    const double range = maxValue() - minValue();
    if (range == 0) return trackMinX;
    return trackMinX + ((doubleValue() - minValue()) / range) * trackWidth;
}

Rect ColorSlider::knobRect() const {
    const double side = bounds().height();
    const double inner = std::max(side - 2 * kKnobInset, 0.0);
    return Rect::make(knobPosition() - side / 2 + kKnobInset, bounds().minY() + kKnobInset, inner,
                      inner);
}

Color ColorSlider::knobColor() const {
    if (!isEnabled()) return Color::rgb(251 / 255.0, 251 / 255.0, 251 / 255.0, 1.0);
    if (auto color = selectedColor()) return color->withAlpha(0.6);
    return Color::secondaryLabelColor();
}

BezierPath ColorSlider::backgroundLinedRect() const {
    const Rect b = bounds();
    if (isEmpty(b)) return {};
    const double radius = kBarHeight / 2;
    return BezierPath::roundedRect(
        Rect::make(b.minX(), b.minY() + b.height() / 2 - radius, b.width(), kBarHeight), radius,
        radius);
}

BezierPath ColorSlider::backgroundFilledRect() const {
    const Rect b = bounds();
    if (isEmpty(b)) return {};
    return BezierPath::roundedRect(b, b.height() / 2, b.height() / 2);
}

void ColorSlider::setUpLayers() {
    platform::assertMainThread();
    setWantsLayer(true);
    hasLayers_ = true;
    updateLayers();
}

void ColorSlider::updateLayers() {
    noteFocusRingMaskChanged();
    track_.frame = bounds();
    track_.path = backgroundLinedRect();
    track_.gradient = platform::Gradient{gradientColors(), {}};
    knob_.frame = bounds();
    knob_.strokeColor = Color::white(isEnabled() ? 0.3 : 0.6, 0.3);
    knob_.lineWidth = 0.5;
    knob_.shadowColor = Color::shadowColor();
    knob_.shadowOpacity = isEnabled() ? 0.35 : 0.1;
    knob_.shadowOffset = Point{0, 0.5};
    knob_.shadowRadius = 1.0;
    updateLayer();
}

void ColorSlider::updateLayer() {
    noteFocusRingMaskChanged();
    refreshKnob();
    setNeedsDisplay(true);
}

void ColorSlider::refreshKnob() {
    knob_.path = BezierPath::oval(knobRect());
    knob_.fillColor = knobColor();
}

void ColorSlider::drawFocusRingMask(platform::GraphicsContext& context) const {
    if (refusesFirstResponder()) return;
    context.fill(BezierPath::oval(knobRect()));
}

Rect ColorSlider::focusRingMaskBounds() const {
    return bounds().insetBy(1, 1);
}

// The platform does not animate shapes: the track takes its end shape at
// once, and the change is noted.
void ColorSlider::animateBackgroundHeight() {
    if (!useAnimation_) return;
    lastAnimation_ = TrackAnimation{isTracking_, isTracking_ ? kExpandDuration : kCollapseDuration};
    track_.path = isTracking_ ? backgroundFilledRect() : backgroundLinedRect();
}

bool ColorSlider::startTracking(Point point) {
    if (!isEnabled()) return false;
    setIsTracking(true);
    return Slider::startTracking(point);
}

bool ColorSlider::continueTracking(Point last, Point current) {
    if (!isEnabled()) return false;
    setIsDragging(true);
    return Slider::continueTracking(last, current);
}

void ColorSlider::stopTracking(Point last, Point current) {
    Slider::stopTracking(last, current);
    setIsTracking(false);
}

void ColorSlider::drawRect(platform::GraphicsContext& context, Rect /*dirtyRect*/) {
    if (!hasLayers_) return;
    // Shapes follow the bounds: a resize since the last refresh redoes them.
    if (track_.frame != bounds()) updateLayers();
    // The value may have moved by tracking since the knob was last set.
    refreshKnob();
    if (!track_.path.isEmpty()) {
        context.saveGraphicsState();
        context.clip(track_.path);
        context.drawGradient(track_.gradient, track_.frame, 0);
        context.restoreGraphicsState();
    }
    if (isEmpty(knobRect())) return;
    context.saveGraphicsState();
    context.translate(knob_.shadowOffset.x, knob_.shadowOffset.y);
    context.setFillColor(knob_.shadowColor.withAlpha(knob_.shadowOpacity));
    context.fill(knob_.path);
    context.restoreGraphicsState();
    context.setFillColor(knob_.fillColor);
    context.fill(knob_.path);
    context.setStrokeColor(knob_.strokeColor);
    context.stroke(knob_.path, knob_.lineWidth);
}

}  // namespace zelvana::gridpanel
