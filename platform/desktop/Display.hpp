#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/appkit/Rect.hpp"
#include "platform/appkit/Screen.hpp"

namespace zelvana::platform {

// A Mission Control space's number; unique across every display, never 0.
using SpaceID = std::uint64_t;
// A display's number (CoreGraphics display id).
using DisplayID = std::uint32_t;

// One attached display and its spaces, as the window server keeps it.
struct Display {
    static constexpr double menuBarHeight = 24;

    DisplayID number = 0;
    // Global AppKit coordinates; the primary display sits at the origin.
    Rect frame;
    // The frame less the menu bar.
    Rect visibleFrame;
    std::string name;
    std::uint32_t vendor = 0;
    std::uint32_t model = 0;
    std::uint32_t serial = 0;
    // In Mission Control's order.
    std::vector<SpaceID> spaces;
    // One of `spaces`; 0 while there are none.
    SpaceID shownSpace = 0;

    // A display with the visible frame below a menu bar and no spaces yet.
    static Display make(DisplayID number, Rect frame, std::string name, std::uint32_t vendor = 0,
                        std::uint32_t model = 0, std::uint32_t serial = 0);
    Screen screen() const { return Screen(number, frame, visibleFrame, name); }

    bool operator==(const Display&) const = default;
};

}  // namespace zelvana::platform
