#include "platform/appkit/Color.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace zelvana::platform {

namespace {

struct NamedComponents {
    const char* name;
    double red;
    double green;
    double blue;
    double alpha;
};

constexpr std::array kNamed{
    NamedComponents{"textColor", 0, 0, 0, 1},
    NamedComponents{"textBackgroundColor", 1, 1, 1, 1},
    NamedComponents{"labelColor", 0, 0, 0, 0.85},
    NamedComponents{"secondaryLabelColor", 0, 0, 0, 0.5},
    NamedComponents{"windowBackgroundColor", 0.925, 0.925, 0.925, 1},
    NamedComponents{"controlAccentColor", 0, 0.478, 1, 1},
    NamedComponents{"black", 0, 0, 0, 1},
    NamedComponents{"white", 1, 1, 1, 1},
    NamedComponents{"clear", 0, 0, 0, 0},
    NamedComponents{"systemIndigoColor", 0.345, 0.337, 0.839, 1},
    NamedComponents{"darkGrayColor", 1.0 / 3, 1.0 / 3, 1.0 / 3, 1},
    NamedComponents{"lightGrayColor", 2.0 / 3, 2.0 / 3, 2.0 / 3, 1},
    NamedComponents{"grayColor", 0.5, 0.5, 0.5, 1},
    NamedComponents{"controlColor", 1, 1, 1, 1},
    NamedComponents{"selectedControlColor", 0.702, 0.843, 1, 1},
    NamedComponents{"shadowColor", 0, 0, 0, 1},
    NamedComponents{"keyboardFocusIndicatorColor", 0, 0.478, 1, 0.5},
};

double unit(double value) {
    return std::isnan(value) ? 0 : std::clamp(value, 0.0, 1.0);
}

// One channel of the black-body fit, truncated and clamped to 0...255.
double channel(float value) {
    if (!std::isfinite(value)) return value > 0 ? 1 : 0;
    return std::clamp(std::trunc(value), 0.0f, 255.0f) / 255.0;
}

Color mustBeNamed(const char* name) {
    return *Color::named(name);
}

}  // namespace

Color Color::rgb(double red, double green, double blue, double alpha) {
    return Color("", red, green, blue, alpha);
}

Color Color::hsb(double hue, double saturation, double brightness, double alpha) {
    const double h = unit(hue) == 1 ? 0 : unit(hue) * 6;
    const double s = unit(saturation);
    const double v = unit(brightness);
    const int sector = static_cast<int>(h);
    const double f = h - sector;
    const double p = v * (1 - s);
    const double q = v * (1 - s * f);
    const double t = v * (1 - s * (1 - f));
    const double a = unit(alpha);
    switch (sector) {
        case 0:
            return rgb(v, t, p, a);
        case 1:
            return rgb(q, v, p, a);
        case 2:
            return rgb(p, v, t, a);
        case 3:
            return rgb(p, q, v, a);
        case 4:
            return rgb(t, p, v, a);
        default:
            return rgb(v, p, q, a);
    }
}

Color Color::white(double level, double alpha) {
    return rgb(unit(level), unit(level), unit(level), unit(alpha));
}

Color Color::colorTemperature(double kelvin) {
    if (!(kelvin > 0)) return clear();
    const float x = static_cast<float>(kelvin) / 100.0f;
    const float red = x <= 66 ? 255.0f : 329.69873f * std::pow(x - 60, -0.13320476f);
    const float green = x <= 66 ? 99.4708f * std::log(x) - 161.11957f
                                : 288.12216f * std::pow(x - 60, -0.075514846f);
    const float blue = x >= 66   ? 255.0f
                       : x <= 19 ? 0.0f
                                 : 138.51773f * std::log(x - 10) - 305.0448f;
    return rgb(channel(red), channel(green), channel(blue), 1);
}

double Color::brightness() const {
    return std::max({red_, green_, blue_});
}

double Color::saturation() const {
    const double max = brightness();
    return max == 0 ? 0 : (max - std::min({red_, green_, blue_})) / max;
}

double Color::hue() const {
    const double max = brightness();
    const double delta = max - std::min({red_, green_, blue_});
    if (delta == 0) return 0;
    double sixths = 0;
    if (max == red_) {
        sixths = (green_ - blue_) / delta;
    } else if (max == green_) {
        sixths = 2 + (blue_ - red_) / delta;
    } else {
        sixths = 4 + (red_ - green_) / delta;
    }
    const double hue = sixths / 6;
    return hue < 0 ? hue + 1 : hue;
}

Color Color::withAlpha(double alpha) const {
    return rgb(red_, green_, blue_, unit(alpha));
}

std::optional<Color> Color::named(const std::string& name) {
    auto it = std::ranges::find_if(kNamed, [&](const auto& c) { return name == c.name; });
    if (it == kNamed.end()) return std::nullopt;
    return Color(it->name, it->red, it->green, it->blue, it->alpha);
}

Color Color::textColor() {
    return mustBeNamed("textColor");
}
Color Color::textBackgroundColor() {
    return mustBeNamed("textBackgroundColor");
}
Color Color::labelColor() {
    return mustBeNamed("labelColor");
}
Color Color::secondaryLabelColor() {
    return mustBeNamed("secondaryLabelColor");
}
Color Color::windowBackgroundColor() {
    return mustBeNamed("windowBackgroundColor");
}
Color Color::controlAccentColor() {
    return mustBeNamed("controlAccentColor");
}
Color Color::black() {
    return mustBeNamed("black");
}
Color Color::white() {
    return mustBeNamed("white");
}
Color Color::clear() {
    return mustBeNamed("clear");
}
Color Color::systemIndigoColor() {
    return mustBeNamed("systemIndigoColor");
}
Color Color::darkGrayColor() {
    return mustBeNamed("darkGrayColor");
}
Color Color::lightGrayColor() {
    return mustBeNamed("lightGrayColor");
}
Color Color::grayColor() {
    return mustBeNamed("grayColor");
}
Color Color::controlColor() {
    return mustBeNamed("controlColor");
}
Color Color::selectedControlColor() {
    return mustBeNamed("selectedControlColor");
}
Color Color::keyboardFocusIndicatorColor() {
    return mustBeNamed("keyboardFocusIndicatorColor");
}
Color Color::shadowColor() {
    return mustBeNamed("shadowColor");
}

}  // namespace zelvana::platform
