#include "accessibility/WindowDescription.hpp"

#include <limits>

#include "platform/desktop/WindowList.hpp"

namespace zelvana::accessibility::description {

namespace {

using platform::PropertyValue;
using platform::WindowList;

std::optional<std::int64_t> integerIn(const PropertyValue& description, const char* key,
                                      std::int64_t low, std::int64_t high) {
    const PropertyValue* value = description.find(key);
    const std::int64_t* integer = value ? value->integerValue() : nullptr;
    if (!integer || *integer < low || *integer > high) return std::nullopt;
    return *integer;
}

}  // namespace

std::optional<std::uint32_t> windowNumber(const PropertyValue& description) {
    const auto number = integerIn(description, WindowList::windowNumberKey, 0,
                                  std::numeric_limits<std::uint32_t>::max());
    return number ? std::optional(static_cast<std::uint32_t>(*number)) : std::nullopt;
}

std::optional<std::int32_t> ownerPID(const PropertyValue& description) {
    const auto pid = integerIn(description, WindowList::windowOwnerPIDKey,
                               std::numeric_limits<std::int32_t>::min(),
                               std::numeric_limits<std::int32_t>::max());
    return pid ? std::optional(static_cast<std::int32_t>(*pid)) : std::nullopt;
}

std::optional<std::int64_t> layer(const PropertyValue& description) {
    return integerIn(description, WindowList::windowLayerKey,
                     std::numeric_limits<std::int64_t>::min(),
                     std::numeric_limits<std::int64_t>::max());
}

std::optional<platform::Rect> bounds(const PropertyValue& description) {
    const PropertyValue* dictionary = description.find(WindowList::windowBoundsKey);
    return dictionary ? platform::rectFromDictionaryRepresentation(*dictionary) : std::nullopt;
}

std::optional<bool> isOnscreen(const PropertyValue& description) {
    const PropertyValue* value = description.find(WindowList::windowIsOnscreenKey);
    const bool* flag = value ? value->boolValue() : nullptr;
    return flag ? std::optional(*flag) : std::nullopt;
}

}  // namespace zelvana::accessibility::description
