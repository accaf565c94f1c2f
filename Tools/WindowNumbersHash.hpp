#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace zelvana::tools {

// Window numbers to describe; none means every on-screen window, desktop
// elements excluded. No list and an empty list are different requests.
using WindowNumbers = std::optional<std::vector<std::uint32_t>>;

// Hashes window numbers, the key of the window-list caches; no list and an
// empty list hash apart.
struct WindowNumbersHash {
    std::size_t operator()(const WindowNumbers& windows) const {
        if (!windows) return 0x9e3779b9u;
        std::size_t hash = windows->size();
        for (std::uint32_t number : *windows) {
            hash ^= std::hash<std::uint32_t>{}(number) + 0x9e3779b9u + (hash << 6) + (hash >> 2);
        }
        return hash;
    }
};

}  // namespace zelvana::tools
