#pragma once

#include <optional>
#include <string>
#include <vector>

#include "DropPane/DropPaneLocation.hpp"
#include "DropPane/DropUnit.hpp"
#include "platform/appkit/Color.hpp"
#include "platform/appkit/Event.hpp"
#include "platform/appkit/Rect.hpp"

namespace zelvana::droppane {

// How a drop pane opens and what it shows. The modifiers (empty: none) are
// compared with an event's device-independent flags.
struct DropPaneOptions {
    DropPaneLocation location = DropPaneLocation::none;
    platform::ModifierFlags paneModifier;
    platform::ModifierFlags customModifier;
    bool showTitles = false;
    std::optional<std::string> windowTitle;
    std::vector<DropUnit> dropUnits;
    platform::Size dropUnitSize{40, 40};
    std::optional<platform::Color> tintColor;
    platform::Size padding;
    platform::Size dropUnitPadding;
};

}  // namespace zelvana::droppane
