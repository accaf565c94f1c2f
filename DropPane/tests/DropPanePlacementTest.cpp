#include "DropPane/DropPanePlacement.hpp"

#include <gtest/gtest.h>

#include "DropPane/DropPaneLocation.hpp"

namespace zelvana::droppane::test {
namespace {

using platform::Point;
using platform::Rect;
using platform::Size;

struct PlacementCase {
    const char* name;
    DropPaneLocation location;
    Size pane;
    std::optional<Point> pointer;
    std::optional<Point> expected;
};

class PanePlacement : public ::testing::TestWithParam<PlacementCase> {};

// A 1440 x 900 screen at the origin, the first one.
TEST_P(PanePlacement, PutsThePaneWhereItsLocationSaysWithinTheScreen) {
    const Rect screen = Rect::make(0, 0, 1440, 900);
    const auto& row = GetParam();
    auto origin = paneOrigin(row.location, screen, row.pane, row.pointer, 900);
    if (origin) origin = clampToScreen(Rect{*origin, row.pane}, screen);
    EXPECT_EQ(origin, row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Locations, PanePlacement,
    ::testing::Values(
        PlacementCase{"BottomRight", DropPaneLocation::bottomRight, {100, 50}, {}, Point{1340, 0}},
        PlacementCase{"TopLeft", DropPaneLocation::topLeft, {100, 50}, {}, Point{0, 850}},
        PlacementCase{
            "CenterRight", DropPaneLocation::centerRight, {100, 50}, {}, Point{1340, 425}},
        PlacementCase{"TopCenter", DropPaneLocation::topCenter, {100, 50}, {}, Point{670, 850}},
        PlacementCase{
            "BelowCursor", DropPaneLocation::cursor, {100, 50}, Point{500, 400}, Point{450, 444}},
        PlacementCase{"AboveCursor",
                      DropPaneLocation::aboveCursor,
                      {100, 50},
                      Point{500, 400},
                      Point{450, 506}},
        PlacementCase{"AboveCursorPulledDown",
                      DropPaneLocation::aboveCursor,
                      {100, 50},
                      Point{500, 3},
                      Point{450, 850}},
        PlacementCase{"LeftOfCursorKeptOn",
                      DropPaneLocation::leftOfCursor,
                      {100, 50},
                      Point{20, 400},
                      Point{0, 475}},
        PlacementCase{"RightOfCursor",
                      DropPaneLocation::rightOfCursor,
                      {100, 50},
                      Point{500, 400},
                      Point{506, 475}},
        PlacementCase{
            "WiderThanTheScreen", DropPaneLocation::bottomLeft, {1600, 50}, {}, Point{-160, 0}},
        PlacementCase{"CursorWithoutPointer", DropPaneLocation::cursor, {100, 50}, {}, {}},
        PlacementCase{"None", DropPaneLocation::none, {100, 50}, Point{1, 1}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DropPaneLocations, HaveTheirRawValuesNamesAndMenuOrder) {
    EXPECT_EQ(dropPaneLocationFromRaw(12), DropPaneLocation::bottomCenter);
    EXPECT_EQ(dropPaneLocationFromRaw(7), DropPaneLocation::cursor);
    EXPECT_EQ(dropPaneLocationFromRaw(13), std::nullopt);
    EXPECT_EQ(dropPaneLocationFromRaw(-1), std::nullopt);
    EXPECT_EQ(displayName(DropPaneLocation::none), "-");
    EXPECT_EQ(displayName(DropPaneLocation::cursor), "Below Cursor");
    EXPECT_EQ(displayName(DropPaneLocation::centerLeft), "Left");
    EXPECT_EQ(displayName(DropPaneLocation::bottomCenter), "Bottom");
    EXPECT_EQ(kOrderedLocations[1], DropPaneLocation::cursor);
    EXPECT_EQ(kOrderedLocations[5], DropPaneLocation::topLeft);
    EXPECT_EQ(kOrderedLocations[12], DropPaneLocation::bottomRight);
}

}  // namespace
}  // namespace zelvana::droppane::test
