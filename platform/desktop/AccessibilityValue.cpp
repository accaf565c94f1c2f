#include "platform/desktop/AccessibilityValue.hpp"

namespace zelvana::platform {

std::optional<Point> AXValue::point() const {
    return type_ == AXValueType::cgPoint ? std::optional(rect_.origin) : std::nullopt;
}

std::optional<Size> AXValue::size() const {
    return type_ == AXValueType::cgSize ? std::optional(rect_.size) : std::nullopt;
}

std::optional<Rect> AXValue::rect() const {
    return type_ == AXValueType::cgRect ? std::optional(rect_) : std::nullopt;
}

}  // namespace zelvana::platform
