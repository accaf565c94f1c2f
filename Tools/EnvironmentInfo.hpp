#pragma once

#include <concepts>
#include <string>

#include "platform/appkit/Appearance.hpp"

namespace zelvana::tools {

// Whether the interface is dark, and a short description of the program, the
// system and the machine for reports. Never instantiated; any thread.
class EnvironmentInfo {
public:
    EnvironmentInfo() = delete;

    // The appearance's best match among dark aqua and aqua is dark aqua.
    static bool isDark(const platform::Appearance& appearance);
    // For anything with an effective appearance (the application, a window, a view).
    template <class Object>
    requires requires(const Object& object) {
        { object.effectiveAppearance() } -> std::convertible_to<platform::Appearance>;
    }
    static bool isDarkMode(const Object& object) { return isDark(object.effectiveAppearance()); }
    // "AppleInterfaceStyle" in the user defaults is text containing "dark", in any case.
    static bool systemIsDarkMode();

    // "<name> v<version> (<build>)\nmacOS: <system version>\nModel: <model>": the
    // name and its space only when the bundle has one, a missing version or
    // build as empty text, and the model line only when the machine has one.
    static std::string environmentDescription();
};

}  // namespace zelvana::tools
