#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "Zelvana/Driver/Command.hpp"
#include "platform/appkit/Image.hpp"

namespace zelvana::driver {

// A picture of one display as the person sees it, one pixel a point: the
// desktop, the windows on its shown space back to front (ours drawn through
// their own views, so the panel, popovers and anchors look as they draw
// themselves; other applications' as plain frames with their titles), the
// menu bar with the status items, and an open menu under the status item.
// Main thread.
class Snapshot {
public:
    // Display 0 is the main display; none for a display that is not there.
    static std::optional<platform::Image> picture(std::uint32_t display);
    // Writes the picture as a PNG file.
    static Refusal write(const std::string& path, std::uint32_t display);
};

}  // namespace zelvana::driver
