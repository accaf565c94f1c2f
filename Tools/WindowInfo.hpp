#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "platform/appkit/Rect.hpp"
#include "platform/appkit/RunningApplication.hpp"
#include "platform/appkit/Screen.hpp"
#include "platform/foundation/PropertyList.hpp"

namespace zelvana::platform {
class JSONCursor;
}

namespace zelvana::tools {

// One window of the window server. Stored inside the saved spaces as a JSON
// object: "id", "layer" (only when present), "frame" ([[x, y], [width,
// height]]), "pid" and "processName" (only when present).
struct WindowInfo {
    // The window number.
    std::uint32_t id = 0;
    std::optional<std::int64_t> layer;
    // Window-server coordinates: origin at the top-left of the first display.
    platform::Rect frame;
    // The owning process.
    std::int32_t pid = 0;
    std::optional<std::string> processName;

    // A user's window from one window-list description: layer 0, with owner,
    // owner name and bounds larger than 40 by 40 points; the layer is left
    // absent. None for any other window or a malformed description.
    static std::optional<WindowInfo> fromFilteredDescription(
        const platform::PropertyValue& description);
    // Any window from one description, layer included, a missing owner name
    // read as empty. None when its number, owner or bounds is missing or of
    // the wrong kind.
    static std::optional<WindowInfo> fromDescription(const platform::PropertyValue& description);

    // Each asks the system afresh.
    std::optional<platform::RunningApplication> runningApplication() const;
    std::optional<std::string> runningApplicationBundleIdentifier() const;
    std::optional<std::filesystem::path> runningApplicationBundleURL() const;
    // The screen that holds the frame (see ScreenDetection), else the main one.
    std::optional<platform::Screen> windowScreen() const;

    bool operator==(const WindowInfo&) const = default;
};

// nlohmann's coding hooks. Reading throws std::invalid_argument for a missing
// required member or a value of the wrong kind, as nlohmann's own readers do;
// whoever decodes stored records catches it.
void to_json(nlohmann::json& json, const WindowInfo& window);
void from_json(const nlohmann::json& json, WindowInfo& window);
// The same form read straight from stored text: none, with the cursor failed,
// where the text is not in the plain form (see JSONCursor) or from_json
// would refuse it.
std::optional<WindowInfo> readWindowInfo(platform::JSONCursor& in);
// [[x, y], [width, height]], as a window's frame is stored.
std::optional<platform::Rect> readRect(platform::JSONCursor& in);

}  // namespace zelvana::tools
