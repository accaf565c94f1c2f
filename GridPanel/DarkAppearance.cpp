#include "GridPanel/DarkAppearance.hpp"

#include <algorithm>
#include <cctype>
#include <string>

#include "platform/foundation/UserDefaults.hpp"

namespace zelvana::gridpanel {

bool isDarkAppearance(const platform::Appearance& appearance) {
    return appearance.bestMatch({platform::Appearance::darkAqua, platform::Appearance::aqua}) ==
           platform::Appearance::darkAqua;
}

bool isSystemDark() {
    const auto style = platform::UserDefaults::standard().object("AppleInterfaceStyle");
    const std::string* text = style ? style->stringValue() : nullptr;
    if (!text) return false;
    std::string lowered = *text;
    std::ranges::transform(lowered, lowered.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lowered.find("dark") != std::string::npos;
}

}  // namespace zelvana::gridpanel
