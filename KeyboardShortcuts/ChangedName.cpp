#include "KeyboardShortcuts/ChangedName.hpp"

namespace zelvana::keyboardshortcuts {

std::optional<Name> changedName(const platform::Notification& notification) {
    auto found = notification.userInfo.find("name");
    if (found == notification.userInfo.end()) return std::nullopt;
    const auto* changed = std::any_cast<Name>(&found->second);
    return changed ? std::optional(*changed) : std::nullopt;
}

}  // namespace zelvana::keyboardshortcuts
