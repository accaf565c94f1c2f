#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Zelvana/Driver/Command.hpp"

namespace zelvana::driver {

// The names of the keys a chord may hold: "cmd", "shift", "opt", "ctrl",
// "fn" and "capslock" for the modifiers; "a"-"z", "0"-"9", "space",
// "return", "tab", "escape", "delete", "left", "right", "up", "down", "home",
// "end", "pageup", "pagedown", "enter" and "f1"-"f20" for the others.
std::optional<ModifierKey> modifierNamed(std::string_view name);
std::optional<std::uint16_t> keyCodeNamed(std::string_view name);
// The held modifiers as a chord's words, such as "cmd+opt".
std::string modifierChord(platform::ModifierFlags flags);

}  // namespace zelvana::driver
