#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/Rect.hpp"
#include "platform/foundation/PropertyList.hpp"

namespace zelvana::platform {

// One display as the application sees it, a snapshot taken when asked for.
// Frames are in global AppKit coordinates: origin at the bottom-left of the
// primary display, y growing upwards. Screens compare equal when they are the
// same display (same screen number), as the frame may change under it.
class Screen {
public:
    static constexpr const char* screenNumberKey = "NSScreenNumber";
    static constexpr const char* deviceSizeKey = "NSDeviceSize";

    Screen() = default;
    Screen(std::uint32_t screenNumber, Rect frame, Rect visibleFrame, std::string localizedName)
        : screenNumber_(screenNumber),
          frame_(frame),
          visibleFrame_(visibleFrame),
          localizedName_(std::move(localizedName)) {}

    // Every display, the primary first; empty without a window server.
    static std::vector<Screen> screens();
    // The display with the key window, else the one in use; none without
    // displays.
    static std::optional<Screen> main();

    Rect frame() const { return frame_; }
    // The frame less the menu bar and the Dock.
    Rect visibleFrame() const { return visibleFrame_; }
    // The menu bar's height: the strip above the visible frame; 0 when the
    // display shows no menu bar.
    double menuBarHeight() const;
    const std::string& localizedName() const { return localizedName_; }
    // The display number (CoreGraphics display id).
    std::uint32_t screenNumber() const { return screenNumber_; }
    // "NSScreenNumber" (integer) and "NSDeviceSize" ([width, height]).
    PropertyDictionary deviceDescription() const;

    bool operator==(const Screen& other) const { return screenNumber_ == other.screenNumber_; }

private:
    std::uint32_t screenNumber_ = 0;
    Rect frame_;
    Rect visibleFrame_;
    std::string localizedName_;
};

}  // namespace zelvana::platform
