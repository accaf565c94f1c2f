#pragma once

#include <cstdint>
#include <optional>

#include "platform/appkit/Rect.hpp"
#include "platform/foundation/PropertyList.hpp"

namespace zelvana::accessibility::description {

// Exact-kind reads of a window description's values; absent when a value is
// missing or of another kind.
std::optional<std::uint32_t> windowNumber(const platform::PropertyValue& description);
std::optional<std::int32_t> ownerPID(const platform::PropertyValue& description);
std::optional<std::int64_t> layer(const platform::PropertyValue& description);
// The bounds, when "X", "Y", "Width" and "Height" are all numbers.
std::optional<platform::Rect> bounds(const platform::PropertyValue& description);
std::optional<bool> isOnscreen(const platform::PropertyValue& description);

}  // namespace zelvana::accessibility::description
