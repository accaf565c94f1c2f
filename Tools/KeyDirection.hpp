#pragma once

#include <cstdint>

#include "platform/core/Flags.hpp"

namespace zelvana::tools {

// Which of a key's two events to post.
enum class KeyDirection : std::int32_t { up = 1, down = 2 };
ZELVANA_FLAGS(KeyDirection)
using KeyDirections = platform::Flags<KeyDirection>;

inline constexpr KeyDirections kKeyDirectionNone{};
inline constexpr KeyDirections kKeyDirectionBoth = KeyDirection::up | KeyDirection::down;

}  // namespace zelvana::tools
