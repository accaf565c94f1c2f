#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "KeyboardShortcuts/Key.hpp"
#include "KeyboardShortcuts/ModifierFlags.hpp"

namespace zelvana::platform {
struct Event;
class Menu;
class MenuItem;
}  // namespace zelvana::platform

namespace zelvana::keyboardshortcuts {

// One key combination: a Carbon key code with Carbon modifier bits.
class Shortcut {
public:
    // The modifiers are reduced to control, option, shift and command.
    Shortcut(Key key, ModifierFlags modifiers);
    static Shortcut fromModifierFlags(std::int64_t carbonKeyCode, ModifierFlags modifiers);
    // Strictly Carbon bits, reduced: any other bit (the function key's among
    // them) is dropped, never read as a platform flag.
    static Shortcut fromCarbon(std::int64_t carbonKeyCode, std::int64_t carbonModifiers);

    // Key-down and key-up events only.
    static std::optional<Shortcut> fromEvent(const platform::Event& event);

    // The stored JSON form {"carbonKeyCode":..,"carbonModifiers":..}. Reading
    // takes the values as they are; anything else reads as no shortcut.
    std::string toJSON() const;
    static std::optional<Shortcut> fromJSON(std::string_view text);

    std::int64_t carbonKeyCode() const { return carbonKeyCode_; }
    std::int64_t carbonModifiers() const { return carbonModifiers_; }
    ModifierFlags modifiers() const { return modifierFlags(carbonModifiers_); }

    // Modifier symbols followed by the key's text in the current layout, or
    // U+FFFD when the key has none.
    std::string description() const;

    // The first item, depth first, whose key equivalent and mask are this
    // combination; null when none is.
    std::shared_ptr<platform::MenuItem> menuItemWithMatchingShortcut(
        const platform::Menu& menu) const;

    // The enabled system-wide symbolic hot keys, read afresh on every call.
    static std::vector<Shortcut> systemHotKeyShortcuts();

    bool operator==(const Shortcut&) const = default;

private:
    bool matchesKeyEquivalent(const platform::MenuItem& item) const;

    struct Unreduced {};
    Shortcut(Unreduced, std::int64_t carbonKeyCode, std::int64_t carbonModifiers)
        : carbonKeyCode_(carbonKeyCode), carbonModifiers_(carbonModifiers) {}

    std::int64_t carbonKeyCode_;
    std::int64_t carbonModifiers_;
};

}  // namespace zelvana::keyboardshortcuts

template <>
struct std::hash<zelvana::keyboardshortcuts::Shortcut> {
    std::size_t operator()(const zelvana::keyboardshortcuts::Shortcut& shortcut) const noexcept {
        std::size_t seed = std::hash<std::int64_t>{}(shortcut.carbonKeyCode());
        return seed ^ (std::hash<std::int64_t>{}(shortcut.carbonModifiers()) + 0x9e3779b97f4a7c15u +
                       (seed << 6) + (seed >> 2));
    }
};
