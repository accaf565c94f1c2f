#include "GridPanel/ColorSlider.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "platform/appkit/Application.hpp"
#include "platform/appkit/TextField.hpp"
#include "platform/appkit/ViewRenderer.hpp"
#include "platform/appkit/VirtualKeyCodes.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/simulator/Keyboard.hpp"
#include "platform/simulator/Mouse.hpp"
#include "platform/testing/FocusRingPixels.hpp"
#include "platform/testing/SimulatedInput.hpp"
#include "platform/testing/TwoDisplayTest.hpp"

namespace zelvana::gridpanel {
namespace {

using platform::Color;
using platform::Rect;

constexpr double kTolerance = 1e-6;

void expectColor(const std::optional<Color>& color, double r, double g, double b, double a) {
    ASSERT_TRUE(color);
    EXPECT_NEAR(color->red(), r, kTolerance);
    EXPECT_NEAR(color->green(), g, kTolerance);
    EXPECT_NEAR(color->blue(), b, kTolerance);
    EXPECT_NEAR(color->alpha(), a, kTolerance);
}

TEST(ColorSliderTest, OnlyZeroThreeAndFourNameAColorType) {
    EXPECT_EQ(colorTypeFromRawValue(0), ColorType::unknown);
    EXPECT_EQ(colorTypeFromRawValue(3), ColorType::color);
    EXPECT_EQ(colorTypeFromRawValue(4), ColorType::temperature);
    for (std::int64_t raw : {-1, 1, 2, 5}) EXPECT_FALSE(colorTypeFromRawValue(raw)) << raw;
}

TEST(ColorSliderTest, StartsAsAFullySaturatedHueSliderOverWarmingTemperatures) {
    const ColorSlider slider;
    EXPECT_EQ(slider.colorType(), ColorType::color);
    EXPECT_EQ(slider.saturation(), 1.0f);
    EXPECT_EQ(slider.colorTemperatureMin(), 6500);
    EXPECT_EQ(slider.colorTemperatureMax(), 2200);
    EXPECT_TRUE(slider.useAnimation());
    EXPECT_TRUE(slider.isEnabled());
    EXPECT_FALSE(slider.isTracking());
    EXPECT_FALSE(slider.isDragging());
}

struct TemperatureCase {
    const char* name;
    std::int64_t min;
    std::int64_t max;
    std::vector<std::int64_t> expected;
};

class GradientTemperatures : public ::testing::TestWithParam<TemperatureCase> {};

TEST_P(GradientTemperatures, StepTowardTheEndWithoutReachingIt) {
    const auto& c = GetParam();
    EXPECT_EQ(ColorSlider::gradientTemperatures(c.min, c.max), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, GradientTemperatures,
    ::testing::Values(
        TemperatureCase{
            "Defaults", 6500, 2200, {6500, 6027, 5554, 5081, 4608, 4135, 3662, 3189, 2716, 2243}},
        TemperatureCase{
            "Upward", 3000, 3100, {3000, 3011, 3022, 3033, 3044, 3055, 3066, 3077, 3088, 3099}},
        TemperatureCase{"TooNarrowToStep", 3000, 3005, {3000}},
        TemperatureCase{"Equal", 4000, 4000, {4000}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ColorSliderTest, ExtremeTemperatureRangesStayBounded) {
    const auto limits = std::numeric_limits<std::int64_t>();
    const auto temperatures = ColorSlider::gradientTemperatures(limits.min(), limits.max());
    EXPECT_LE(temperatures.size(), 11u);
    EXPECT_FALSE(temperatures.empty());
}

TEST(ColorSliderTest, TemperatureGradientShiftsEachStepBy500Kelvin) {
    ColorSlider slider;
    slider.setColorTemperatureMin(6100);
    slider.setColorTemperatureMax(6105);
    slider.setColorType(ColorType::temperature);
    const auto colors = slider.gradientColors();
    ASSERT_EQ(colors.size(), 1u) << "a zero step gives one colour, not an endless loop";
    expectColor(colors[0], 1, 1, 1, 1);  // 6600 K: every channel at 255
}

TEST(ColorSliderTest, HueGradientRunsRoundTheWheel) {
    ColorSlider slider;
    auto colors = slider.gradientColors();
    ASSERT_EQ(colors.size(), 11u);
    expectColor(colors[0], 1, 0, 0, 1);
    expectColor(colors[5], 0, 1, 1, 1);
    expectColor(colors[10], 1, 0, 0, 1);
    slider.setColorType(ColorType::unknown);
    EXPECT_EQ(slider.gradientColors(), std::vector<Color>{Color::black()});
}

TEST(ColorSliderTest, DisabledGradientIsGreyWithinRange) {
    ColorSlider slider;
    slider.setSaturation(0);  // white: the channels add up to 1.5
    slider.setEnabled(false);
    for (const auto& color : slider.gradientColors()) expectColor(color, 1, 1, 1, 1);
    slider.setSaturation(1);
    expectColor(slider.gradientColors()[0], 0.5, 0.5, 0.5, 1);  // red
    expectColor(slider.knobColor(), 251 / 255.0, 251 / 255.0, 251 / 255.0, 1);
    EXPECT_FALSE(slider.acceptsFirstResponder());
}

TEST(ColorSliderTest, KnobRunsAlongTheTrackFromMinimumToMaximum) {
    ColorSlider slider(Rect::make(0, 0, 120, 20));  // track from x 10, 100 wide
    EXPECT_DOUBLE_EQ(slider.knobPosition(), 10);
    slider.setDoubleValue(1);
    EXPECT_DOUBLE_EQ(slider.knobPosition(), 110);
    EXPECT_EQ(slider.knobRect(), Rect::make(102, 2, 16, 16));

    slider.setMinValue(0.5);
    slider.setDoubleValue(0.75);
    EXPECT_DOUBLE_EQ(slider.knobPosition(), 60) << "divides by the range, not the maximum";

    slider.setMaxValue(0.5);  // no range: the track's start, never NaN
    EXPECT_DOUBLE_EQ(slider.knobPosition(), 10);
}

TEST(ColorSliderTest, ValueZeroIsNoColourAndEveryOtherValueAHue) {
    ColorSlider slider;
    EXPECT_FALSE(slider.selectedColor());
    EXPECT_EQ(slider.knobColor(), Color::secondaryLabelColor());

    slider.setDoubleValue(0.5);
    expectColor(slider.selectedColor(), 0, 1, 1, 1);
    expectColor(slider.knobColor(), 0, 1, 1, 0.6);
    slider.setDoubleValue(1);
    expectColor(slider.selectedColor(), 1, 0, 0, 1);
}

TEST(ColorSliderTest, SettingAColourMovesTheKnobToItsHue) {
    ColorSlider slider;
    slider.setMaxValue(360);
    slider.setSelectedColor(Color::hsb(0.25, 1, 1));
    EXPECT_NEAR(slider.doubleValue(), 90, 1e-9);
    slider.setSelectedColor(std::nullopt);
    EXPECT_NEAR(slider.doubleValue(), 90, 1e-9) << "no colour leaves the slider";

    slider.setSelectedColor(Color::rgb(1, 0, 0));
    EXPECT_EQ(slider.doubleValue(), 360) << "red is a colour, so not the 0 of no colour";
    expectColor(slider.selectedColor(), 1, 0, 0, 1);
}

TEST(ColorSliderTest, TrackShapesFollowTheBoundsAndNeverComeFromZeroBounds) {
    ColorSlider slider;
    slider.setUpLayers();
    EXPECT_TRUE(slider.track().path.isEmpty());

    slider.setFrame(Rect::make(0, 0, 120, 12));
    platform::ViewRenderer::imageOf(slider);
    EXPECT_EQ(slider.track().path.bounds(), Rect::make(0, 4.5, 120, 3));
    slider.setFrame(Rect::make(0, 0, 200, 12));
    platform::ViewRenderer::imageOf(slider);
    EXPECT_EQ(slider.track().path.bounds(), Rect::make(0, 4.5, 200, 3));
}

// A slider in a window, its actions counted.
class ColorSliderTracking : public ::testing::Test {
protected:
    struct Target : platform::StoryboardObject {
        int actions = 0;
        bool performAction(const std::string& /*action*/,
                           const platform::ActionSender* /*sender*/) override {
            ++actions;
            return true;
        }
    };

    ColorSliderTracking() {
        window.setContentView(slider);
        slider->setTarget(target->actionTarget());
        slider->setAction("colorDidChange:");
        slider->setUpLayers();
    }
    void mouse(platform::EventType type, double x) {
        window.sendEvent(platform::Event::mouseEvent(type, {x, 6}, &window));
    }

    platform::Window window{Rect::make(0, 0, 120, 12)};
    std::shared_ptr<ColorSlider> slider = std::make_shared<ColorSlider>(Rect::make(0, 0, 120, 12));
    std::shared_ptr<Target> target = std::make_shared<Target>();
};

TEST_F(ColorSliderTracking, TrackGrowsWhileDraggedAndShrinksAfter) {
    mouse(platform::EventType::leftMouseDown, 30);
    EXPECT_TRUE(slider->isTracking());
    EXPECT_EQ(slider->track().path.bounds(), Rect::make(0, 0, 120, 12));
    ASSERT_TRUE(slider->lastAnimation());
    EXPECT_TRUE(slider->lastAnimation()->toFullTrack);
    EXPECT_EQ(slider->lastAnimation()->duration, 0.05);

    mouse(platform::EventType::leftMouseDragged, 60);
    EXPECT_TRUE(slider->isDragging());
    mouse(platform::EventType::leftMouseUp, 60);
    EXPECT_FALSE(slider->isTracking());
    EXPECT_EQ(slider->track().path.bounds(), Rect::make(0, 4.5, 120, 3));
    EXPECT_FALSE(slider->lastAnimation()->toFullTrack);
    EXPECT_EQ(slider->lastAnimation()->duration, 1.0);
    EXPECT_DOUBLE_EQ(slider->doubleValue(), 0.5);
    EXPECT_GT(target->actions, 0);
}

TEST_F(ColorSliderTracking, WithoutAnimationTheTrackKeepsItsShape) {
    slider->setUseAnimation(false);
    mouse(platform::EventType::leftMouseDown, 30);
    EXPECT_EQ(slider->track().path.bounds(), Rect::make(0, 4.5, 120, 3));
    EXPECT_FALSE(slider->lastAnimation());
}

TEST_F(ColorSliderTracking, DisabledSliderIgnoresThePointer) {
    slider->setEnabled(false);
    mouse(platform::EventType::leftMouseDown, 30);
    mouse(platform::EventType::leftMouseDragged, 60);
    mouse(platform::EventType::leftMouseUp, 60);
    EXPECT_FALSE(slider->isTracking());
    EXPECT_EQ(slider->doubleValue(), 0);
    EXPECT_EQ(target->actions, 0);
}

TEST(ColorSliderDrawingTest, DrawsTheHueBarAndTheKnob) {
    ColorSlider slider(Rect::make(0, 0, 120, 12));
    EXPECT_EQ(platform::ViewRenderer::imageOf(slider).pixelAt(60, 6).alpha, 0)
        << "nothing before its layers are set up";
    slider.setUpLayers();
    slider.setDoubleValue(1);
    const auto image = platform::ViewRenderer::imageOf(slider);
    const auto bar = image.pixelAt(2, 6);
    EXPECT_GT(bar.red, 200);
    EXPECT_LT(bar.blue, 60);
    EXPECT_EQ(image.pixelAt(40, 1).alpha, 0) << "above the thin bar at rest";
    EXPECT_GT(image.pixelAt(114, 6).alpha, 0) << "the knob at the right end";
}

// A field above a slider in a key window on the simulated desktop.
class ColorSliderFocus : public platform::testing::TwoDisplayTest {
protected:
    ColorSliderFocus() {
        platform::testing::resetSimulatedInput();
        auto content = std::make_shared<platform::View>(Rect::make(0, 0, 240, 80));
        content->addSubview(field);
        content->addSubview(slider);
        window.setContentView(content);
        window.makeKeyAndOrderFront(nullptr);
        platform::Application::shared().activate(true);
        slider->setUpLayers();
    }
    ~ColorSliderFocus() override { platform::testing::resetSimulatedInput(); }

    // The knob's middle, in the window.
    double knobX() const {
        const Rect knob = slider->convertRectToView(slider->knobRect(), nullptr);
        return knob.minX() + knob.width() / 2;
    }
    // Whether the ring shows at `x` (the window's) a point and a half above
    // the knob, clear of the track.
    bool ringAbove(double x) const {
        const Rect knob = slider->convertRectToView(slider->knobRect(), nullptr);
        return platform::testing::showsFocusRingAt(window, {x, knob.minY() - 1.5});
    }
    // The pointer's place for a point of the slider.
    platform::Point onScreen(double x) const {
        const Rect inWindow = slider->convertRectToView(Rect::make(x, 6, 0, 0), nullptr);
        return platform::Desktop::shared()
            .boundsFromFrame(window.convertRectToScreen(inWindow))
            .origin;
    }

    std::shared_ptr<platform::TextField> field = [] {
        auto field = std::make_shared<platform::TextField>();
        field->setFrame(Rect::make(20, 10, 200, 22));
        return field;
    }();
    std::shared_ptr<ColorSlider> slider =
        std::make_shared<ColorSlider>(Rect::make(20, 50, 200, 12));
    platform::Window window{Rect::make(100, 100, 240, 108)};
};

TEST_F(ColorSliderFocus, TheRingCirclesTheKnobTabbedToAndFollowsItsDrag) {
    platform::testing::clickMiddleOf(*field);
    platform::Keyboard::shared().press(platform::kVK_Tab);
    ASSERT_EQ(window.firstResponder(), slider.get());
    const double start = knobX();
    EXPECT_TRUE(ringAbove(start));

    auto& mouse = platform::Mouse::shared();
    mouse.moveTo(onScreen(6));
    mouse.press(platform::EventType::leftMouseDown);
    mouse.dragTo(onScreen(150));
    mouse.press(platform::EventType::leftMouseUp);
    const double moved = knobX();
    ASSERT_GT(moved, start + 100);
    EXPECT_TRUE(ringAbove(moved));
    EXPECT_FALSE(ringAbove(start));

    slider->setEnabled(false);
    EXPECT_FALSE(ringAbove(moved)) << "a disabled slider takes no focus";
}

TEST_F(ColorSliderFocus, ASliderThatRefusesTheFocusShowsNoRing) {
    slider->setRefusesFirstResponder(true);
    platform::testing::clickMiddleOf(*slider);
    ASSERT_EQ(window.firstResponder(), slider.get());
    EXPECT_FALSE(ringAbove(knobX()));
}

}  // namespace
}  // namespace zelvana::gridpanel
