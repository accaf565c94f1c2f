#pragma once

#include <cstdint>
#include <string>

namespace zelvana::platform {

// A key press as a view receives it.
struct KeyEvent {
    // Modifier-flag bits, with the values the system uses.
    enum Modifier : std::uint64_t {
        capsLock = 1u << 16,
        shift = 1u << 17,
        control = 1u << 18,
        option = 1u << 19,
        command = 1u << 20,
        numericPad = 1u << 21,
        help = 1u << 22,
        function = 1u << 23,
    };

    std::uint16_t keyCode = 0;
    std::uint64_t modifierFlags = 0;
    // The text the key produces with its modifiers applied, and without the
    // modifiers other than Shift.
    std::string characters;
    std::string charactersIgnoringModifiers;

    bool has(Modifier modifier) const { return (modifierFlags & modifier) != 0; }
    bool operator==(const KeyEvent&) const = default;
};

}  // namespace zelvana::platform
