#include "platform/appkit/Appearance.hpp"

#include <algorithm>
#include <array>

#include "platform/foundation/UserDefaults.hpp"

namespace zelvana::platform {

namespace {

bool isDarkName(const std::string& name) {
    return name == Appearance::darkAqua || name == Appearance::vibrantDark ||
           name == Appearance::accessibilityHighContrastDarkAqua;
}

bool isKnownName(const std::string& name) {
    static const std::array<std::string, 6> names{Appearance::aqua,
                                                  Appearance::darkAqua,
                                                  Appearance::vibrantLight,
                                                  Appearance::vibrantDark,
                                                  Appearance::accessibilityHighContrastAqua,
                                                  Appearance::accessibilityHighContrastDarkAqua};
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

std::optional<Appearance> Appearance::named(const std::string& name) {
    if (!isKnownName(name)) return std::nullopt;
    return Appearance(name);
}

Appearance Appearance::system() {
    const auto style = UserDefaults::standard().object(interfaceStyleKey);
    const bool dark = style && style->stringValue() && *style->stringValue() == "Dark";
    return Appearance(dark ? darkAqua : aqua);
}

bool Appearance::isDark() const {
    return isDarkName(name_);
}

std::optional<std::string> Appearance::bestMatch(const std::vector<std::string>& names) const {
    if (std::find(names.begin(), names.end(), name_) != names.end()) return name_;
    for (const auto& name : names) {
        if (isKnownName(name) && isDarkName(name) == isDark()) return name;
    }
    return std::nullopt;
}

}  // namespace zelvana::platform
