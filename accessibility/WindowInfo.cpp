#include "accessibility/WindowInfo.hpp"

#include "accessibility/WindowDescription.hpp"

namespace zelvana::accessibility {

std::optional<WindowInfo> WindowInfo::fromDescription(const platform::PropertyValue& description) {
    const auto id = description::windowNumber(description);
    const auto layer = description::layer(description);
    const auto frame = description::bounds(description);
    const auto pid = description::ownerPID(description);
    if (!id || !layer || !frame || !pid) return std::nullopt;
    return WindowInfo{*id, *layer, *frame, *pid};
}

}  // namespace zelvana::accessibility
