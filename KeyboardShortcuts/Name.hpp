#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "KeyboardShortcuts/Shortcut.hpp"

namespace zelvana::keyboardshortcuts {

// The name under which a global shortcut is stored and handled. Names are
// equal when their raw values are; the default does not take part.
class Name {
public:
    // With a default, and nothing at all stored for the name (a removed
    // shortcut counts as stored), the default is stored, registered and
    // announced. Either way the menu-tracking observers are set up once.
    explicit Name(std::string rawValue, std::optional<Shortcut> defaultShortcut = std::nullopt);

    const std::string& rawValue() const { return rawValue_; }
    const std::optional<Shortcut>& defaultShortcut() const { return defaultShortcut_; }

    std::optional<Shortcut> currentShortcut() const;
    void setCurrentShortcut(const std::optional<Shortcut>& shortcut) const;

    bool operator==(const Name& other) const { return rawValue_ == other.rawValue_; }

private:
    std::string rawValue_;
    std::optional<Shortcut> defaultShortcut_;
};

// "KeyboardShortcuts_" followed by the raw value.
std::string storageKey(const Name& name);

}  // namespace zelvana::keyboardshortcuts

template <>
struct std::hash<zelvana::keyboardshortcuts::Name> {
    std::size_t operator()(const zelvana::keyboardshortcuts::Name& name) const noexcept {
        return std::hash<std::string>{}(name.rawValue());
    }
};
