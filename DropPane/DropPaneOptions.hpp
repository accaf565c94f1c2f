#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "DropPane/DropPaneLocation.hpp"
#include "DropPane/DropUnit.hpp"
#include "platform/appkit/Color.hpp"
#include "platform/appkit/Rect.hpp"

namespace zelvana::droppane {

// How a drop pane opens and what it shows. Modifiers are raw modifier-flag
// values (0: none), compared with an event's device-independent flags.
struct DropPaneOptions {
    DropPaneLocation location = DropPaneLocation::none;
    std::int64_t paneModifier = 0;
    std::int64_t customModifier = 0;
    bool showTitles = false;
    std::optional<std::string> windowTitle;
    std::vector<DropUnit> dropUnits;
    platform::Size dropUnitSize{40, 40};
    std::optional<platform::Color> tintColor;
    platform::Size padding;
    platform::Size dropUnitPadding;
};

}  // namespace zelvana::droppane
