#include "input/Shortcut.hpp"

#include <cstdint>

#include <nlohmann/json.hpp>

#include "platform/foundation/JSONText.hpp"
#include "platform/input/CarbonModifiers.hpp"

namespace zelvana::input {

namespace {

// An integer that fits 64 signed bits; a larger unsigned one is refused rather
// than read as a negative number.
std::optional<std::int64_t> signedMember(const nlohmann::json& json, const char* key) {
    const auto found = json.find(key);
    if (found == json.end() || !found->is_number_integer()) return std::nullopt;
    if (found->is_number_unsigned() &&
        found->get<std::uint64_t>() > static_cast<std::uint64_t>(INT64_MAX)) {
        return std::nullopt;
    }
    return found->get<std::int64_t>();
}

}  // namespace

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
    const auto json = platform::JSONText::parse(text).value_or(nlohmann::json());
    if (!json.is_object()) return std::nullopt;
    const auto keyCode = signedMember(json, "carbonKeyCode");
    const auto modifiers = signedMember(json, "carbonModifiers");
    if (!keyCode || !modifiers) return std::nullopt;
    Shortcut shortcut;
    shortcut.carbonKeyCode_ = *keyCode;
    shortcut.carbonModifiers_ = *modifiers;
    return shortcut;
}

}  // namespace zelvana::input
