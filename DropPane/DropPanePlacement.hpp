#pragma once

#include <optional>

#include "DropPane/DropPaneLocation.hpp"
#include "platform/appkit/Rect.hpp"

namespace zelvana::droppane {

// Where the pane's origin goes (AppKit coordinates) for a location: on the
// screen `screen`, or beside the pointer `pointer` (the window server's
// coordinates, converted by the first screen's height). None for `none`, or
// for a pointer location without a pointer.
std::optional<platform::Point> paneOrigin(DropPaneLocation location, platform::Rect screen,
                                          platform::Size pane,
                                          std::optional<platform::Point> pointer,
                                          double firstScreenHeight);

// Keeps a rectangle on the screen: the bottom edge wins over the top, the
// right edge over the left.
platform::Point clampToScreen(platform::Rect rect, platform::Rect screen);

}  // namespace zelvana::droppane
