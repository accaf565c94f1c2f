#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/appkit/Event.hpp"

namespace zelvana::input {

// One key with modifiers, as a hot key is registered: a virtual key code and
// Carbon modifier bits.
class Shortcut {
public:
    // From platform modifier flags.
    Shortcut(std::int64_t carbonKeyCode, platform::ModifierFlags modifiers);
    // From Carbon bits, reduced to the four that a shortcut holds.
    static Shortcut fromCarbon(std::int64_t carbonKeyCode, std::int64_t carbonModifiers);

    std::int64_t carbonKeyCode() const { return carbonKeyCode_; }
    std::int64_t carbonModifiers() const { return carbonModifiers_; }
    // The platform flags of the modifiers.
    platform::ModifierFlags modifiers() const;

    // {"carbonKeyCode":..,"carbonModifiers":..}; reading fails (nothing) on
    // a missing key or a value that is not an integer of 64 signed bits.
    std::string toJSON() const;
    static std::optional<Shortcut> fromJSON(std::string_view text);

    bool operator==(const Shortcut&) const = default;

private:
    Shortcut() = default;

    std::int64_t carbonKeyCode_ = 0;
    std::int64_t carbonModifiers_ = 0;
};

}  // namespace zelvana::input

template <>
struct std::hash<zelvana::input::Shortcut> {
    std::size_t operator()(const zelvana::input::Shortcut& shortcut) const noexcept {
        const std::size_t seed = std::hash<std::int64_t>{}(shortcut.carbonKeyCode());
        return seed ^ (std::hash<std::int64_t>{}(shortcut.carbonModifiers()) + 0x9e3779b97f4a7c15u +
                       (seed << 6) + (seed >> 2));
    }
};
