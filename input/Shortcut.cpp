#include "input/Shortcut.hpp"

#include <cstdint>

#include <nlohmann/json.hpp>

#include "KeyboardShortcuts/Shortcut.hpp"
#include "platform/input/CarbonModifiers.hpp"

namespace zelvana::input {

Shortcut::Shortcut(std::int64_t carbonKeyCode, platform::ModifierFlags modifiers)
    : carbonKeyCode_(carbonKeyCode), carbonModifiers_(platform::carbonModifiers(modifiers)) {}

Shortcut Shortcut::fromCarbon(std::int64_t carbonKeyCode, std::int64_t carbonModifiers) {
    return Shortcut(carbonKeyCode, platform::modifierFlagsFromCarbon(
                                       static_cast<std::uint32_t>(carbonModifiers & 0xFFFF)));
}

platform::ModifierFlags Shortcut::modifiers() const {
    return platform::modifierFlagsFromCarbon(static_cast<std::uint32_t>(carbonModifiers_ & 0xFFFF));
}

std::string Shortcut::toJSON() const {
    return nlohmann::json{{"carbonKeyCode", carbonKeyCode_}, {"carbonModifiers", carbonModifiers_}}
        .dump();
}

std::optional<Shortcut> Shortcut::fromJSON(std::string_view text) {
    // Read exactly as the named shortcuts store theirs, bits left as stored.
    const auto stored = keyboardshortcuts::Shortcut::fromJSON(text);
    if (!stored) return std::nullopt;
    Shortcut shortcut;
    shortcut.carbonKeyCode_ = stored->carbonKeyCode();
    shortcut.carbonModifiers_ = stored->carbonModifiers();
    return shortcut;
}

}  // namespace zelvana::input
