#pragma once

#include <optional>
#include <vector>

#include "Tools/WindowInfo.hpp"
#include "Tools/WindowNumbersHash.hpp"

namespace zelvana::tools {

// The window server's window lists as WindowInfo records. Each list is kept
// for 100 ms under its argument, so calls close together ask the window
// server once. Main thread only.
class WindowUtil {
public:
    WindowUtil() = delete;

    // The user's windows, front to back: layer 0, with an owner name, larger
    // than 40 by 40 points; their layer is left absent.
    static std::vector<WindowInfo> windowInfoList(const WindowNumbers& windows = std::nullopt);
    // Every described window with its layer, from a cache of its own.
    static std::vector<WindowInfo> windowList(const WindowNumbers& windows = std::nullopt);
    // What windowInfoList() gives for all on-screen windows, built afresh.
    static std::vector<WindowInfo> onScreenWindowList();

    // Forgets both caches, as a new process would start.
    static void resetCachesForTesting();
};

}  // namespace zelvana::tools
