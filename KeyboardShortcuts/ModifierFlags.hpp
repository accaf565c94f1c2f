#pragma once

#include <cstdint>
#include <string>

namespace zelvana::KeyboardShortcuts {

// Platform (AppKit-style) modifier flags, as events and menu items carry them.
using ModifierFlags = std::uint64_t;

namespace modifierFlag {
inline constexpr ModifierFlags capsLock = 1u << 16;
inline constexpr ModifierFlags shift = 1u << 17;
inline constexpr ModifierFlags control = 1u << 18;
inline constexpr ModifierFlags option = 1u << 19;
inline constexpr ModifierFlags command = 1u << 20;
inline constexpr ModifierFlags numericPad = 1u << 21;
inline constexpr ModifierFlags help = 1u << 22;
inline constexpr ModifierFlags function = 1u << 23;
inline constexpr ModifierFlags deviceIndependentMask = 0xffff0000u;
}  // namespace modifierFlag

// Carbon modifier bits, as hot keys are registered with.
namespace carbonModifier {
inline constexpr std::int64_t cmdKey = 0x100;
inline constexpr std::int64_t shiftKey = 0x200;
inline constexpr std::int64_t alphaLock = 0x400;
inline constexpr std::int64_t optionKey = 0x800;
inline constexpr std::int64_t controlKey = 0x1000;
}  // namespace carbonModifier

// Both conversions keep control, option, shift and command and drop every
// other bit, so a round trip reduces a value to what a shortcut can hold.
std::int64_t carbonValue(ModifierFlags flags);
ModifierFlags modifierFlags(std::int64_t carbonValue);

// The symbols of the set in the fixed order control, option, shift, command,
// function; other flags add nothing.
std::string modifierDescription(ModifierFlags flags);

// The flags that recording decides on: device-independent, without caps lock,
// numeric pad and function.
ModifierFlags shortcutModifiers(ModifierFlags eventFlags);

}  // namespace zelvana::KeyboardShortcuts
