#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace zelvana::gestures {

// The eight directions, the four diagonals after the four cardinal ones.
// The raw value (1 to 8) is the stored form; the code is raw value - 1.
enum class Directional : std::int64_t {
    u = 1,
    d = 2,
    l = 3,
    r = 4,
    ul = 5,
    ur = 6,
    dl = 7,
    dr = 8
};

inline constexpr std::array<Directional, 8> kAllDirectionals{
    Directional::u,  Directional::d,  Directional::l,  Directional::r,
    Directional::ul, Directional::ur, Directional::dl, Directional::dr};

constexpr std::int64_t rawValue(Directional direction) {
    return static_cast<std::int64_t>(direction);
}

// Exactly 1 to 8 make a direction.
constexpr std::optional<Directional> directionalFromRawValue(std::int64_t raw) {
    if (raw < 1 || raw > static_cast<std::int64_t>(kAllDirectionals.size())) return std::nullopt;
    return static_cast<Directional>(raw);
}

}  // namespace zelvana::gestures
