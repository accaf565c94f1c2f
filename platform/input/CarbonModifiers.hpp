#pragma once

#include <cstdint>

#include "platform/appkit/Event.hpp"
#include "platform/input/CarbonEvent.hpp"

namespace zelvana::platform {

// The two forms of the four shortcut modifiers: AppKit's command, shift,
// option and control map to Carbon's cmdKey, shiftKey, optionKey and
// controlKey. Both conversions drop every other bit.
std::uint32_t carbonModifiers(ModifierFlags flags);
ModifierFlags modifierFlagsFromCarbon(std::uint32_t carbonModifiers);

}  // namespace zelvana::platform
