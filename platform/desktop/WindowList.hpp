#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/appkit/Rect.hpp"
#include "platform/appkit/WindowServer.hpp"
#include "platform/core/Flags.hpp"
#include "platform/foundation/PropertyList.hpp"

namespace zelvana::platform {

// Which windows a window list holds; no option at all lists every window.
enum class WindowListOption : std::uint32_t {
    onScreenOnly = 1,
    onScreenAboveWindow = 2,
    onScreenBelowWindow = 4,
    includingWindow = 8,
    excludeDesktopElements = 16,
};
ZELVANA_FLAGS(WindowListOption)
using WindowListOptions = Flags<WindowListOption>;
// The windows on screen, the desktop's own left out.
inline constexpr WindowListOptions kOnScreenWithoutDesktopElements =
    WindowListOption::onScreenOnly | WindowListOption::excludeDesktopElements;

// The window server's lists of windows, as the application asks for them.
// Main thread only.
class WindowList {
public:
    // The keys of a window description.
    static constexpr const char* windowNumberKey = "kCGWindowNumber";
    static constexpr const char* windowLayerKey = "kCGWindowLayer";
    static constexpr const char* windowBoundsKey = "kCGWindowBounds";
    static constexpr const char* windowOwnerPIDKey = "kCGWindowOwnerPID";
    static constexpr const char* windowOwnerNameKey = "kCGWindowOwnerName";
    static constexpr const char* windowNameKey = "kCGWindowName";
    static constexpr const char* windowIsOnscreenKey = "kCGWindowIsOnscreen";
    static constexpr const char* windowAlphaKey = "kCGWindowAlpha";

    // Descriptions of windows front to back, each a dictionary with the keys
    // above; bounds as {"X", "Y", "Width", "Height"} in window-server
    // coordinates (origin at the primary display's top-left). Desktop
    // elements are the windows with a negative layer. Absent when
    // `relativeToWindow` is needed but unknown.
    static std::optional<PropertyArray> copyWindowInfo(WindowListOptions options,
                                                       WindowNumber relativeToWindow);
    // Descriptions of the given windows in the given order; unknown numbers
    // are left out.
    static std::optional<PropertyArray> createDescriptionFromArray(
        const std::vector<WindowNumber>& windows);
    // NSWindow.windowNumber(at:belowWindowWithWindowNumber:): the front window
    // on screen, of any application, that holds a point in AppKit
    // coordinates, below the given window (0: from the front); desktop
    // elements do not count. 0 when there is none.
    static WindowNumber windowNumberAt(Point location, WindowNumber belowWindow);
};

// CGRectMakeWithDictionaryRepresentation: the rectangle of a description's
// bounds dictionary {"X", "Y", "Width", "Height"}; none unless all four are
// numbers.
std::optional<Rect> rectFromDictionaryRepresentation(const PropertyValue& dictionary);

}  // namespace zelvana::platform
