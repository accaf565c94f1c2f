#include "KeyboardShortcuts/ModifierFlags.hpp"

#include "platform/input/CarbonModifiers.hpp"

namespace zelvana::keyboardshortcuts {

std::int64_t carbonValue(ModifierFlags flags) {
    return platform::carbonModifiers(flags);
}

ModifierFlags modifierFlags(std::int64_t carbonValue) {
    return platform::modifierFlagsFromCarbon(static_cast<std::uint32_t>(carbonValue & 0xFFFF));
}

std::string modifierDescription(ModifierFlags flags) {
    std::string text;
    if (flags.contains(Modifier::control)) text += "\u2303";
    if (flags.contains(Modifier::option)) text += "\u2325";
    if (flags.contains(Modifier::shift)) text += "\u21E7";
    if (flags.contains(Modifier::command)) text += "\u2318";
    // The globe with the text-presentation selector, so it is not drawn as emoji.
    if (flags.contains(Modifier::function)) text += "\U0001F310\uFE0E";
    return text;
}

ModifierFlags shortcutModifiers(ModifierFlags eventFlags) {
    return (eventFlags & platform::kDeviceIndependentModifierFlags)
        .without(Modifier::capsLock | Modifier::numericPad | Modifier::function);
}

}  // namespace zelvana::keyboardshortcuts
