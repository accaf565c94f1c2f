#include "KeyboardShortcuts/Localization.hpp"

#include "platform/appkit/Bundle.hpp"

namespace zelvana::keyboardshortcuts {

std::string localized(const std::string& key) {
    return platform::Bundle::packageResourceBundle("KeyboardShortcuts")
        .localizedString(key, "Localizable");
}

std::string localizedFormat(const std::string& key, const std::string& argument) {
    std::string text = localized(key);
    if (const auto at = text.find("%@"); at != std::string::npos) text.replace(at, 2, argument);
    return text;
}

}  // namespace zelvana::keyboardshortcuts
