#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zelvana::gridpanel {

// A virtual key code, the key of the special-key table.
struct Key {
    std::int64_t rawValue = 0;
    auto operator<=>(const Key&) const = default;
};

// The text type-to-search takes for a key: a fixed symbol or name for the
// special keys (return, arrows, F-keys, keypad), else what the current
// ASCII-capable layout gives for the key without modifiers; none when the
// layout cannot tell or the code is no key code.
std::optional<std::string> keyString(std::int64_t keyCode);

}  // namespace zelvana::gridpanel
