#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "input/Cardinal.hpp"

namespace zelvana::input {

// The keys that can stand for the four directions.
enum class Keyset { arrows, vim };

// Left, right, up, down arrow.
const std::vector<std::uint16_t>& arrowKeyCodes();
// H, L, K, J.
const std::vector<std::uint16_t>& vimKeyCodes();
const std::vector<std::uint16_t>& keyCodes(Keyset keyset);
// The direction of a key of either set; nothing for any other key.
std::optional<Cardinal> keyDirection(std::int64_t keyCode);

}  // namespace zelvana::input
