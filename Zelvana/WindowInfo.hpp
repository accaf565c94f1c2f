#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "platform/appkit/Rect.hpp"

namespace zelvana::core {

// One on-screen window as the stored spaces keep it: JSON members "id",
// "layer" (only when present), "frame" ([[x, y], [width, height]]), "pid" and
// "processName" (only when present).
struct WindowInfo {
    std::uint32_t id = 0;
    std::optional<std::int64_t> layer;
    // Window-server coordinates, origin top left.
    platform::Rect frame;
    std::int32_t pid = 0;
    std::optional<std::string> processName;

    bool operator==(const WindowInfo&) const = default;
};

void to_json(nlohmann::json& json, const WindowInfo& window);
void from_json(const nlohmann::json& json, WindowInfo& window);

}  // namespace zelvana::core
