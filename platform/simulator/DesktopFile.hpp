#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop/Display.hpp"
#include "platform/input/KeyboardLayout.hpp"
#include "platform/simulator/DesktopApplication.hpp"
#include "platform/simulator/DesktopWindow.hpp"

namespace zelvana::platform {

// The contents of a desktop file, a JSON object (the README tells the rules):
//   "displays": [{"number", "name", "frame": [x, y, w, h], "visibleFrame",
//                 "vendor", "model", "serial", "spaces": [ids], "shownSpace"}]
//   "mainDisplay": number (optional)
//   "applications": [{"pid", "name", "bundleIdentifier", "bundleURL", "icon"}]
//   "windows": front to back, [{"number", "pid", "name", "layer",
//               "bounds": [x, y, w, h] (top-left origin), "space",
//               "allSpaces", "visible"}]
//   "permissions": {"accessibility", "inputMonitoring"}: the person's
//               switches in the system's settings, both on when absent
//   "systemShortcuts": [{"keyCode", "carbonModifiers", "enabled"}]: the
//               system's own shortcuts, "enabled" true when absent; a fresh
//               system's when the member is absent
//   "keyboardLayout": "U.S." (when absent) or "German", the layout typed with
// At least one display is required, and only a display's "number" and
// "frame", an application's "pid" and "name" and a window's "pid" and
// "bounds"; display spaces default to one new space, and a display given
// spaces has at least one.
struct DesktopFile {
    struct SystemShortcut {
        std::uint32_t keyCode = 0;
        std::uint32_t carbonModifiers = 0;
        bool enabled = true;
        bool operator==(const SystemShortcut&) const = default;
    };

    std::vector<Display> displays;
    std::optional<DisplayID> mainDisplay;
    std::vector<DesktopApplication> applications;
    std::vector<DesktopWindow> windows;
    bool accessibility = true;
    bool inputMonitoring = true;
    std::optional<std::vector<SystemShortcut>> systemShortcuts;
    KeyboardLayout::Kind keyboardLayout = KeyboardLayout::Kind::us;

    // Pretty-printed JSON.
    std::string toJsonText() const;
    // Absent, with the reason in `error`, when the text is not JSON of this
    // shape, refers to what is not there or holds what no desktop could; the
    // reason names the entry, such as "displays[1].spaces[2]".
    static std::optional<DesktopFile> fromJsonText(const std::string& text, std::string* error);
};

}  // namespace zelvana::platform
