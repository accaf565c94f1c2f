#pragma once

#include <optional>
#include <string>

namespace zelvana::platform {

// A colour: either one of the system's named (semantic) colours, or plain
// components. Named colours compare by name and resolve to their light
// appearance. Components are kept as given; the HSB, white and alpha makers
// clamp theirs to 0...1 (NaN reads 0).
class Color {
public:
    static Color rgb(double red, double green, double blue, double alpha = 1.0);
    // Hue, saturation and brightness; a hue of 1 is red again, as 0 is.
    static Color hsb(double hue, double saturation, double brightness, double alpha = 1.0);
    // A grey of that white level.
    static Color white(double level, double alpha);
    // The colour of a black body at `kelvin` (the usual fit of measured data,
    // channels truncated to whole steps of 1/255); clear for kelvin <= 0 or NaN.
    static Color colorTemperature(double kelvin);
    // A system colour by name ("textColor", "labelColor", ...); absent when unknown.
    static std::optional<Color> named(const std::string& name);

    static Color textColor();
    static Color textBackgroundColor();
    static Color labelColor();
    static Color secondaryLabelColor();
    static Color windowBackgroundColor();
    static Color controlAccentColor();
    static Color black();
    static Color white();
    static Color clear();
    static Color systemIndigoColor();
    static Color darkGrayColor();
    static Color lightGrayColor();
    static Color grayColor();
    static Color controlColor();
    static Color selectedControlColor();
    // The focus ring's: the accent colour, half see-through.
    static Color keyboardFocusIndicatorColor();
    static Color shadowColor();

    // Empty for component colours.
    const std::string& name() const { return name_; }
    double red() const { return red_; }
    double green() const { return green_; }
    double blue() const { return blue_; }
    double alpha() const { return alpha_; }
    // HSB components of the RGB ones; grey has hue and saturation 0.
    double hue() const;
    double saturation() const;
    double brightness() const;
    // The same components at another alpha; no longer a named colour.
    Color withAlpha(double alpha) const;

    bool operator==(const Color&) const = default;

private:
    Color(std::string name, double red, double green, double blue, double alpha)
        : name_(std::move(name)), red_(red), green_(green), blue_(blue), alpha_(alpha) {}

    std::string name_;
    double red_;
    double green_;
    double blue_;
    double alpha_;
};

}  // namespace zelvana::platform
