#include "input/Shortcut.hpp"

#include <nlohmann/json.hpp>

#include "platform/foundation/JSONText.hpp"
#include "platform/input/CarbonEvent.hpp"

namespace zelvana::input {

namespace {

struct ModifierPair {
    platform::ModifierFlags flag;
    std::int64_t carbon;
};

constexpr ModifierPair kModifierPairs[] = {
    {platform::Event::control, platform::controlKey},
    {platform::Event::option, platform::optionKey},
    {platform::Event::shift, platform::shiftKey},
    {platform::Event::command, platform::cmdKey},
};

}  // namespace

std::int64_t carbonModifiersFromFlags(platform::ModifierFlags flags) {
    std::int64_t carbon = 0;
    for (const auto& pair : kModifierPairs) {
        if ((flags & pair.flag) != 0) carbon |= pair.carbon;
    }
    return carbon;
}

platform::ModifierFlags flagsFromCarbonModifiers(std::int64_t carbonModifiers) {
    platform::ModifierFlags flags = 0;
    for (const auto& pair : kModifierPairs) {
        if ((carbonModifiers & pair.carbon) != 0) flags |= pair.flag;
    }
    return flags;
}

Shortcut::Shortcut(std::int64_t carbonKeyCode, platform::ModifierFlags modifiers)
    : carbonKeyCode_(carbonKeyCode), carbonModifiers_(carbonModifiersFromFlags(modifiers)) {}

Shortcut Shortcut::fromCarbon(std::int64_t carbonKeyCode, std::int64_t carbonModifiers) {
    return Shortcut(carbonKeyCode, flagsFromCarbonModifiers(carbonModifiers));
}

std::string Shortcut::toJSON() const {
    return nlohmann::json{{"carbonKeyCode", carbonKeyCode_}, {"carbonModifiers", carbonModifiers_}}
        .dump();
}

std::optional<Shortcut> Shortcut::fromJSON(std::string_view text) {
    const auto json = platform::JSONText::parse(text).value_or(nlohmann::json());
    if (!json.is_object()) return std::nullopt;
    const auto keyCode = json.find("carbonKeyCode");
    if (keyCode == json.end() || !keyCode->is_number_integer()) return std::nullopt;
    const auto modifiers = json.find("carbonModifiers");
    if (modifiers == json.end() || !modifiers->is_number_integer()) return std::nullopt;
    Shortcut shortcut;
    shortcut.carbonKeyCode_ = keyCode->get<std::int64_t>();
    shortcut.carbonModifiers_ = modifiers->get<std::int64_t>();
    return shortcut;
}

}  // namespace zelvana::input
