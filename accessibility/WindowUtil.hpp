#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "accessibility/CGWindowInfo.hpp"
#include "accessibility/WindowInfo.hpp"
#include "platform/appkit/Rect.hpp"
#include "platform/desktop/WindowList.hpp"

namespace zelvana::accessibility {

// This package's reads of the window server's list: WindowInfo records
// behind a 100 ms cache (to learn a window's number from its owner and
// frame), three CGWindowInfo readers, and the flip between the window
// server's coordinates and AppKit's. Main thread only.
class WindowUtil {
public:
    // Window numbers to describe; none means every on-screen window, desktop
    // elements excluded.
    using WindowNumbers = std::optional<std::vector<std::uint32_t>>;

    WindowUtil() = delete;

    // Kept for 100 ms under its argument.
    static std::vector<WindowInfo> windowList(const WindowNumbers& windows = std::nullopt);
    // Every window on screen or not, desktop elements excluded, with onScreen.
    static std::vector<CGWindowInfo> allWindowInfos();
    // The windows for the window-list options (none: on screen, desktop
    // elements excluded).
    static std::vector<CGWindowInfo> windowInfos(
        std::optional<platform::WindowListOptions> options = std::nullopt);
    // On-screen windows of layer 0 larger than 40 by 40 points.
    static std::vector<CGWindowInfo> normalWindowInfos();

    // Between window-server and AppKit coordinates, both ways (the flip is its
    // own inverse), by the first display's height; none without a display.
    static std::optional<platform::Rect> flippedRect(platform::Rect rect);
    static std::optional<platform::Point> flippedPoint(platform::Point point);

    // Forgets the cache, as a new process would start.
    static void resetCacheForTesting();
};

}  // namespace zelvana::accessibility
