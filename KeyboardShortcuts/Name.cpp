#include "KeyboardShortcuts/Name.hpp"

#include "KeyboardShortcuts/KeyboardShortcuts.hpp"
#include "KeyboardShortcuts/NamedShortcuts.hpp"
#include "platform/foundation/UserDefaults.hpp"

namespace zelvana::keyboardshortcuts {

Name::Name(std::string rawValue, std::optional<Shortcut> defaultShortcut)
    : rawValue_(std::move(rawValue)), defaultShortcut_(std::move(defaultShortcut)) {
    // A stored false (the user removed the default) counts as present.
    if (defaultShortcut_ && !platform::UserDefaults::standard().object(storageKey(*this))) {
        setShortcut(defaultShortcut_, *this);
    }
    NamedShortcuts::shared().installMenuTrackingObservers();
}

std::optional<Shortcut> Name::currentShortcut() const {
    return getShortcut(*this);
}

void Name::setCurrentShortcut(const std::optional<Shortcut>& shortcut) const {
    setShortcut(shortcut, *this);
}

std::string storageKey(const Name& name) {
    return "KeyboardShortcuts_" + name.rawValue();
}

}  // namespace zelvana::keyboardshortcuts
