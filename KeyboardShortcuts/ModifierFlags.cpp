#include "KeyboardShortcuts/ModifierFlags.hpp"

#include <array>
#include <utility>

namespace zelvana::KeyboardShortcuts {
namespace {

constexpr std::array<std::pair<ModifierFlags, std::int64_t>, 4> kPairs{{
    {modifierFlag::control, carbonModifier::controlKey},
    {modifierFlag::option, carbonModifier::optionKey},
    {modifierFlag::shift, carbonModifier::shiftKey},
    {modifierFlag::command, carbonModifier::cmdKey},
}};

}  // namespace

std::int64_t carbonValue(ModifierFlags flags) {
    std::int64_t carbon = 0;
    for (const auto& [flag, bit] : kPairs) {
        if (flags & flag) carbon |= bit;
    }
    return carbon;
}

ModifierFlags modifierFlags(std::int64_t carbonValue) {
    ModifierFlags flags = 0;
    for (const auto& [flag, bit] : kPairs) {
        if (carbonValue & bit) flags |= flag;
    }
    return flags;
}

std::string modifierDescription(ModifierFlags flags) {
    std::string text;
    if (flags & modifierFlag::control) text += "\u2303";
    if (flags & modifierFlag::option) text += "\u2325";
    if (flags & modifierFlag::shift) text += "\u21E7";
    if (flags & modifierFlag::command) text += "\u2318";
    // The globe with the text-presentation selector, so it is not drawn as emoji.
    if (flags & modifierFlag::function) text += "\U0001F310\uFE0E";
    return text;
}

ModifierFlags shortcutModifiers(ModifierFlags eventFlags) {
    return eventFlags & modifierFlag::deviceIndependentMask &
           ~(modifierFlag::capsLock | modifierFlag::numericPad | modifierFlag::function);
}

}  // namespace zelvana::KeyboardShortcuts
