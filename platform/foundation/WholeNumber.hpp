#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zelvana::platform {

// Reads text as Int(text) does: an optional sign ('+' or '-') and decimal
// digits, nothing else, that fit 64 signed bits.
std::optional<std::int64_t> wholeNumber(std::string_view text);

}  // namespace zelvana::platform
