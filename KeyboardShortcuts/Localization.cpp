#include "KeyboardShortcuts/Localization.hpp"

#include <optional>

#include "Logging/Logging.hpp"
#include "platform/appkit/Bundle.hpp"

namespace zelvana::keyboardshortcuts {

namespace {

const std::optional<platform::Bundle>& resourceBundle() {
    static const std::optional<platform::Bundle> bundle = [] {
        auto found = platform::Bundle::findIn(platform::Bundle::packageBundleFolders(),
                                              "KeyboardShortcuts_KeyboardShortcuts.bundle");
        if (!found) logging::Logging::error("The shortcut recorders' texts are missing");
        return found;
    }();
    return bundle;
}

}  // namespace

std::string localized(const std::string& key) {
    const auto& bundle = resourceBundle();
    return bundle ? bundle->localizedString(key, "Localizable") : key;
}

std::string localizedFormat(const std::string& key, const std::string& argument) {
    std::string text = localized(key);
    if (const auto at = text.find("%@"); at != std::string::npos) text.replace(at, 2, argument);
    return text;
}

}  // namespace zelvana::keyboardshortcuts
