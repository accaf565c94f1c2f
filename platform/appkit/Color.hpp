#pragma once

#include <optional>
#include <string>

namespace zelvana::platform {

// A colour: either one of the system's named (semantic) colours, or plain
// components. Named colours compare by name and resolve to their light
// appearance.
class Color {
public:
    static Color rgb(double red, double green, double blue, double alpha = 1.0);
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

    // Empty for component colours.
    const std::string& name() const { return name_; }
    double red() const { return red_; }
    double green() const { return green_; }
    double blue() const { return blue_; }
    double alpha() const { return alpha_; }

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
