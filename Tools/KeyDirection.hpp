#pragma once

#include <cstdint>

#include "platform/core/Flags.hpp"

namespace zelvana::tools {

// Which of a key's two events to post.
enum class KeyDirection : std::int32_t { up = 1, down = 2 };
ZELVANA_FLAGS(KeyDirection)
using KeyDirections = platform::Flags<KeyDirection>;

inline constexpr KeyDirections keyDirectionNone{};
inline constexpr KeyDirections keyDirectionBoth = KeyDirection::up | KeyDirection::down;

}  // namespace zelvana::tools
