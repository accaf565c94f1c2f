#pragma once

#include <optional>

namespace zelvana::logging {

// Levels compare by their raw values.
enum class Level { verbose = 0, debug = 1, info = 2, warning = 3, error = 4 };

constexpr int rawValue(Level level) {
    return static_cast<int>(level);
}

constexpr std::optional<Level> levelFromRawValue(int raw) {
    if (raw < rawValue(Level::verbose) || raw > rawValue(Level::error)) return std::nullopt;
    return static_cast<Level>(raw);
}

constexpr bool isAtLeast(Level level, Level minimum) {
    return rawValue(level) >= rawValue(minimum);
}

}  // namespace zelvana::logging
