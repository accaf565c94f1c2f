#include "accessibility/CGWindowInfo.hpp"

#include "accessibility/WindowDescription.hpp"

namespace zelvana::accessibility {

namespace {

// Ordinary windows: layer 0 and larger than 40 by 40 points.
constexpr double kSmallestNormalSide = 40;

bool isNormal(const platform::PropertyValue& description, platform::Rect rect) {
    return description::layer(description) == 0 && rect.width() > kSmallestNormalSide &&
           rect.height() > kSmallestNormalSide;
}

}  // namespace

std::optional<CGWindowInfo> CGWindowInfo::fromDescription(
    const platform::PropertyValue& description, Reading reading) {
    const auto pid = description::ownerPID(description);
    const auto id = description::windowNumber(description);
    const auto rect = description::bounds(description);
    if (!pid || !id || !rect) return std::nullopt;
    if (reading == Reading::normalOnly && !isNormal(description, *rect)) return std::nullopt;
    CGWindowInfo info{*id, *pid, *rect, std::nullopt};
    if (reading == Reading::withOnScreen) info.onScreen = description::isOnscreen(description);
    return info;
}

}  // namespace zelvana::accessibility
