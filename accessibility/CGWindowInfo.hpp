#pragma once

#include <cstdint>
#include <optional>

#include "platform/appkit/Rect.hpp"
#include "platform/foundation/PropertyList.hpp"

namespace zelvana::accessibility {

// One window of the window server as the window-list readers keep it:
// number, owner, bounds (window-server coordinates) and, when asked for,
// whether it is on screen. A value type.
struct CGWindowInfo {
    // What a reader keeps of a description.
    enum class Reading { any, normalOnly, withOnScreen };

    std::uint32_t id = 0;
    std::int32_t pid = 0;
    platform::Rect rect;
    std::optional<bool> onScreen;

    // None when a value the reading needs is missing or of another kind, or
    // (normalOnly) the window is not of layer 0 or not larger than 40 by 40.
    static std::optional<CGWindowInfo> fromDescription(const platform::PropertyValue& description,
                                                       Reading reading);

    bool operator==(const CGWindowInfo&) const = default;
};

}  // namespace zelvana::accessibility
