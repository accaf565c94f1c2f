#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zelvana::platform {

// A named look of the interface (light Aqua, dark Aqua and their vibrant and
// high-contrast variants). The application has one current appearance, light
// unless tests or the user choose dark. Main thread only.
class Appearance {
public:
    static constexpr const char* aqua = "NSAppearanceNameAqua";
    static constexpr const char* darkAqua = "NSAppearanceNameDarkAqua";
    static constexpr const char* vibrantLight = "NSAppearanceNameVibrantLight";
    static constexpr const char* vibrantDark = "NSAppearanceNameVibrantDark";
    static constexpr const char* highContrastAqua = "NSAppearanceNameAccessibilityHighContrastAqua";
    static constexpr const char* highContrastDarkAqua =
        "NSAppearanceNameAccessibilityHighContrastDarkAqua";

    // An appearance by one of the names above; none for another name.
    static std::optional<Appearance> named(const std::string& name);
    static Appearance current();
    static void setCurrent(const Appearance& appearance);

    const std::string& name() const { return name_; }
    // The first of `names` of the same family (light or dark) as this one,
    // an exact name first; none when no name fits.
    std::optional<std::string> bestMatch(const std::vector<std::string>& names) const;

    bool operator==(const Appearance&) const = default;

private:
    explicit Appearance(std::string name) : name_(std::move(name)) {}
    bool isDark() const;

    std::string name_;
};

}  // namespace zelvana::platform
