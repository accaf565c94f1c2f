#include "platform/appkit/Color.hpp"

#include <algorithm>
#include <array>

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
};

Color mustBeNamed(const char* name) {
    return *Color::named(name);
}

}  // namespace

Color Color::rgb(double red, double green, double blue, double alpha) {
    return Color("", red, green, blue, alpha);
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

}  // namespace zelvana::platform
