#include "accessibility/StageWindowAccessibilityElement.hpp"

#include "accessibility/WindowUtil.hpp"

namespace zelvana::accessibility {

// The accessibility interface may report a stage window's position offset;
// the window server knows where it really is.
std::optional<platform::Rect> StageWindowAccessibilityElement::frame() const {
    auto frame = accessibilityFrame();
    if (!frame) return std::nullopt;
    const auto listed = WindowUtil::windowList(std::vector<std::uint32_t>{windowId_});
    if (!listed.empty()) frame->origin = listed.front().frame.origin;
    return frame;
}

}  // namespace zelvana::accessibility
