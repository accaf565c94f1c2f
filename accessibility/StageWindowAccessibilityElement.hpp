#pragma once

#include "accessibility/AccessibilityElement.hpp"

namespace zelvana::accessibility {

// A window whose window-server number is known beforehand; its frame's
// origin comes from the window server while it lists the window.
class StageWindowAccessibilityElement final : public AccessibilityElement {
public:
    StageWindowAccessibilityElement(platform::AXUIElement element, WindowID windowId)
        : AccessibilityElement(element), windowId_(windowId) {}

    std::optional<platform::Rect> frame() const override;
    std::optional<WindowID> windowId() const override { return windowId_; }

private:
    WindowID windowId_;
};

}  // namespace zelvana::accessibility
