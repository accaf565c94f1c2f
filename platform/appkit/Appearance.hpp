#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zelvana::platform {

// A named look of the interface (NSAppearance): the light aqua, dark aqua and
// their vibrant and high-contrast variants, each of the light or the dark family.
class Appearance {
public:
    static constexpr const char* aqua = "NSAppearanceNameAqua";
    static constexpr const char* darkAqua = "NSAppearanceNameDarkAqua";
    static constexpr const char* vibrantLight = "NSAppearanceNameVibrantLight";
    static constexpr const char* vibrantDark = "NSAppearanceNameVibrantDark";
    static constexpr const char* accessibilityHighContrastAqua =
        "NSAppearanceNameAccessibilityHighContrastAqua";
    static constexpr const char* accessibilityHighContrastDarkAqua =
        "NSAppearanceNameAccessibilityHighContrastDarkAqua";
    // The global default that holds "Dark" while the user has chosen dark mode.
    static constexpr const char* interfaceStyleKey = "AppleInterfaceStyle";

    // None for a name the system has no appearance of.
    static std::optional<Appearance> named(const std::string& name);
    // The user's choice: dark aqua while the interface style is dark, else aqua.
    static Appearance system();

    const std::string& name() const { return name_; }
    bool isDark() const;
    // bestMatchFromAppearancesWithNames: this appearance's own name when listed,
    // else the first listed name of its family (light or dark), else none.
    std::optional<std::string> bestMatch(const std::vector<std::string>& names) const;

    bool operator==(const Appearance&) const = default;

private:
    explicit Appearance(std::string name) : name_(std::move(name)) {}
    std::string name_;
};

}  // namespace zelvana::platform
