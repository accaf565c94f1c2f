#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace zelvana::gestures {

// The four directions of a swipe. The raw value (1 to 4) is the stored
// form; the code is raw value - 1.
enum class Cardinal : std::int64_t { u = 1, d = 2, l = 3, r = 4 };

inline constexpr std::array<Cardinal, 4> kAllCardinals{Cardinal::u, Cardinal::d, Cardinal::l,
                                                       Cardinal::r};

constexpr std::int64_t rawValue(Cardinal direction) {
    return static_cast<std::int64_t>(direction);
}

// Exactly 1 to 4 make a direction.
constexpr std::optional<Cardinal> cardinalFromRawValue(std::int64_t raw) {
    if (raw < 1 || raw > static_cast<std::int64_t>(kAllCardinals.size())) return std::nullopt;
    return static_cast<Cardinal>(raw);
}

}  // namespace zelvana::gestures
