#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "GridPanel/ColorType.hpp"
#include "platform/appkit/BezierPath.hpp"
#include "platform/appkit/Color.hpp"
#include "platform/appkit/Gradient.hpp"
#include "platform/appkit/Slider.hpp"

namespace zelvana::gridpanel {

// A horizontal slider over a colour gradient (black, the hues or colour
// temperatures): a thin bar at rest that grows to the full rounded track
// while dragged, and a round knob showing the chosen colour. In hue mode a
// value of 0 means no colour, so red is kept at the top of the range. It
// draws its track and knob records itself, recomputed from the bounds of the
// moment. Main thread only.
class ColorSlider : public platform::Slider {
public:
    // The track: its shape (masking the gradient) and the gradient's colours,
    // left to right.
    struct Track {
        platform::Rect frame;
        platform::BezierPath path;
        platform::Gradient gradient;
    };
    struct Knob {
        platform::Rect frame;
        platform::BezierPath path;
        platform::Color strokeColor = platform::Color::clear();
        double lineWidth = 0.5;
        platform::Color fillColor = platform::Color::clear();
        platform::Color shadowColor = platform::Color::shadowColor();
        double shadowOpacity = 0;
        platform::Point shadowOffset{0, 0.5};
        double shadowRadius = 1.0;
    };
    // The last change of the track's shape: to the full track when tracking
    // began, back to the bar when it ended.
    struct TrackAnimation {
        bool toFullTrack = false;
        double duration = 0;
    };

    explicit ColorSlider(platform::Rect frame = {});

    ColorType colorType() const { return colorType_; }
    void setColorType(ColorType type);
    float saturation() const { return saturation_; }
    void setSaturation(float saturation);
    // Kelvin, the first and the last temperature of the gradient.
    std::int64_t colorTemperatureMin() const { return temperatureMin_; }
    void setColorTemperatureMin(std::int64_t kelvin);
    std::int64_t colorTemperatureMax() const { return temperatureMax_; }
    void setColorTemperatureMax(std::int64_t kelvin);
    bool useAnimation() const { return useAnimation_; }
    void setUseAnimation(bool use) { useAnimation_ = use; }

    bool isTracking() const { return isTracking_; }
    // Redraws the knob, reshapes the track and, at the end of a gesture,
    // sends the action.
    void setIsTracking(bool tracking);
    bool isDragging() const { return isDragging_; }
    // Redraws the knob and sends the action while continuous.
    void setIsDragging(bool dragging);

    bool isEnabled() const override { return isEnabled_; }
    void setEnabled(bool enabled) override;
    bool acceptsFirstResponder() const override { return isEnabled(); }
    bool becomeFirstResponder() override { return isEnabled(); }
    // The focus ring goes round the knob, unless the slider refuses the focus.
    void drawFocusRingMask(platform::GraphicsContext& context) const override;
    platform::Rect focusRingMaskBounds() const override;

    // None at value 0; otherwise the hue value / maximum at the slider's
    // saturation, full brightness.
    std::optional<platform::Color> selectedColor() const;
    // None leaves the slider as it is; a colour moves the knob to its hue,
    // red (hue 0) to the maximum, since 0 means no colour.
    void setSelectedColor(const std::optional<platform::Color>& color);

    // The gradient's colours for the type; grey while disabled.
    std::vector<platform::Color> gradientColors() const;
    // The knob's centre along the track.
    double knobPosition() const;
    platform::Rect knobRect() const;
    platform::Color knobColor() const;

    // Attaches the track and the knob to the view (its owner calls it once
    // the slider is in place); until then the slider draws nothing.
    void setUpLayers();
    bool hasLayers() const { return hasLayers_; }
    // Full refresh of the track and the knob; the focus ring follows.
    void updateLayers();
    // The knob only; the focus ring follows.
    void updateLayer();
    const Track& track() const { return track_; }
    const Knob& knob() const { return knob_; }
    const std::optional<TrackAnimation>& lastAnimation() const { return lastAnimation_; }

    // The temperatures the gradient shows, before the 500 K shift.
    static std::vector<std::int64_t> gradientTemperatures(std::int64_t min, std::int64_t max);

    void drawRect(platform::GraphicsContext& context, platform::Rect dirtyRect) override;

protected:
    bool startTracking(platform::Point point) override;
    bool continueTracking(platform::Point last, platform::Point current) override;
    void stopTracking(platform::Point last, platform::Point current) override;

private:
    // The thin bar and the full track, from the bounds of the moment; empty
    // for empty bounds.
    platform::BezierPath backgroundLinedRect() const;
    platform::BezierPath backgroundFilledRect() const;
    void animateBackgroundHeight();
    void refreshKnob();

    ColorType colorType_ = ColorType::color;
    float saturation_ = 1.0f;
    std::int64_t temperatureMin_ = 6500;
    std::int64_t temperatureMax_ = 2200;
    bool useAnimation_ = true;
    bool isTracking_ = false;
    bool isDragging_ = false;
    bool isEnabled_ = true;
    bool hasLayers_ = false;
    Track track_;
    Knob knob_;
    std::optional<TrackAnimation> lastAnimation_;
};

}  // namespace zelvana::gridpanel
