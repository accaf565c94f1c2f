#pragma once

#include <array>
#include <optional>
#include <string>

namespace zelvana::droppane {

// Where the drop pane opens: a place on the screen under the pointer or
// next to the pointer; none means it never opens. Raw values 0 to 12.
enum class DropPaneLocation {
    none = 0,
    topLeft = 1,
    centerLeft = 2,
    bottomLeft = 3,
    topRight = 4,
    centerRight = 5,
    bottomRight = 6,
    cursor = 7,
    aboveCursor = 8,
    leftOfCursor = 9,
    rightOfCursor = 10,
    topCenter = 11,
    bottomCenter = 12,
};

// None outside 0 to 12.
std::optional<DropPaneLocation> dropPaneLocationFromRaw(int raw);
// What a menu of locations shows ("Top Left", "Below Cursor", "-" for none).
std::string displayName(DropPaneLocation location);
// Along a screen's side, the units stack in a column; elsewhere in a row.
bool stacksVertically(DropPaneLocation location);

// The order a menu of locations lists them in.
inline constexpr std::array<DropPaneLocation, 13> kOrderedLocations{
    DropPaneLocation::none,         DropPaneLocation::cursor,        DropPaneLocation::aboveCursor,
    DropPaneLocation::leftOfCursor, DropPaneLocation::rightOfCursor, DropPaneLocation::topLeft,
    DropPaneLocation::topCenter,    DropPaneLocation::topRight,      DropPaneLocation::centerLeft,
    DropPaneLocation::centerRight,  DropPaneLocation::bottomLeft,    DropPaneLocation::bottomCenter,
    DropPaneLocation::bottomRight};

}  // namespace zelvana::droppane
