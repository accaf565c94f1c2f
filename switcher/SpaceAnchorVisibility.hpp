#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace zelvana::switcher {

// Whether the anchor panels show their views. Stored by its raw value.
enum class SpaceAnchorVisibility : std::int64_t {
    hidden = 1,
    allVisible = 2,
    // Shown like allVisible.
    activeVisible = 3,
};

inline constexpr std::array kAllSpaceAnchorVisibilities{SpaceAnchorVisibility::hidden,
                                                        SpaceAnchorVisibility::allVisible,
                                                        SpaceAnchorVisibility::activeVisible};

// The case with that raw value; none for any other number (0, 4, negative).
constexpr std::optional<SpaceAnchorVisibility> spaceAnchorVisibility(std::int64_t rawValue) {
    for (auto visibility : kAllSpaceAnchorVisibilities) {
        if (static_cast<std::int64_t>(visibility) == rawValue) return visibility;
    }
    return std::nullopt;
}

}  // namespace zelvana::switcher
