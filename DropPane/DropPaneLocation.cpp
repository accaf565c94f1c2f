#include "DropPane/DropPaneLocation.hpp"

namespace zelvana::droppane {

std::optional<DropPaneLocation> dropPaneLocationFromRaw(int raw) {
    if (raw < 0 || raw > 12) return std::nullopt;
    return static_cast<DropPaneLocation>(raw);
}

std::string displayName(DropPaneLocation location) {
    switch (location) {
        case DropPaneLocation::none:
            return "-";
        case DropPaneLocation::topLeft:
            return "Top Left";
        case DropPaneLocation::centerLeft:
            return "Left";
        case DropPaneLocation::bottomLeft:
            return "Bottom Left";
        case DropPaneLocation::topRight:
            return "Top Right";
        case DropPaneLocation::centerRight:
            return "Right";
        case DropPaneLocation::bottomRight:
            return "Bottom Right";
        case DropPaneLocation::cursor:
            return "Below Cursor";
        case DropPaneLocation::aboveCursor:
            return "Above Cursor";
        case DropPaneLocation::leftOfCursor:
            return "Left of Cursor";
        case DropPaneLocation::rightOfCursor:
            return "Right of Cursor";
        case DropPaneLocation::topCenter:
            return "Top";
        case DropPaneLocation::bottomCenter:
            return "Bottom";
    }
    return "-";
}

bool stacksVertically(DropPaneLocation location) {
    switch (location) {
        case DropPaneLocation::topLeft:
        case DropPaneLocation::centerLeft:
        case DropPaneLocation::bottomLeft:
        case DropPaneLocation::topRight:
        case DropPaneLocation::centerRight:
        case DropPaneLocation::bottomRight:
            return true;
        default:
            return false;
    }
}

}  // namespace zelvana::droppane
