#pragma once

#include <optional>
#include <string>

#include "platform/appkit/Rect.hpp"
#include "platform/desktop/AccessibilityValue.hpp"

namespace zelvana::accessibility {

// Raw reads of one attribute of a bare accessibility object. Every failure
// (no permission, a process that quit, an attribute it lacks) is absent.
std::optional<platform::AccessibilityValue> copyAttribute(const platform::AXUIElement& element,
                                                          const std::string& attribute);
// Absent when the application cannot be asked.
std::optional<bool> isAttributeSettable(const platform::AXUIElement& element,
                                        const std::string& attribute);

// The attribute's boxed geometry as the caller's type (platform::Point, Size
// or Rect). A box that declares another type is absent: its contents are
// never read as something they are not.
template <typename T>
std::optional<T> value(const platform::AXUIElement& element, const std::string& attribute) {
    const auto raw = copyAttribute(element, attribute);
    const platform::AXValue* boxed = raw ? raw->get<platform::AXValue>() : nullptr;
    if (!boxed) return std::nullopt;
    if constexpr (std::is_same_v<T, platform::Point>) {
        return boxed->point();
    } else if constexpr (std::is_same_v<T, platform::Size>) {
        return boxed->size();
    } else {
        static_assert(std::is_same_v<T, platform::Rect>, "a point, size or rectangle");
        return boxed->rect();
    }
}

}  // namespace zelvana::accessibility
