#pragma once

#include <cstdint>
#include <string>

#include "platform/appkit/Event.hpp"

namespace zelvana::keyboardshortcuts {

// Platform (AppKit-style) modifier flags, as events and menu items carry them.
using ModifierFlags = platform::ModifierFlags;
using platform::Modifier;

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

}  // namespace zelvana::keyboardshortcuts
