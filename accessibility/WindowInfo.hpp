#pragma once

#include <cstdint>
#include <optional>

#include "platform/appkit/Rect.hpp"
#include "platform/foundation/PropertyList.hpp"

namespace zelvana::accessibility {

// One window of the window server as this package keeps it: number, layer,
// bounds (window-server coordinates) and owner process. A value type.
struct WindowInfo {
    std::uint32_t id = 0;
    std::int64_t layer = 0;
    platform::Rect frame;
    std::int32_t pid = 0;

    // From one window description; none when the number, layer, owner or
    // bounds is missing or of another kind, so a bad entry is dropped
    // rather than read as window 0 of process 0.
    static std::optional<WindowInfo> fromDescription(const platform::PropertyValue& description);

    bool operator==(const WindowInfo&) const = default;
};

}  // namespace zelvana::accessibility
