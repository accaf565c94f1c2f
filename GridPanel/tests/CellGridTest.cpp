#include "GridPanel/CellGrid.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "GridPanel/KeyCode.hpp"
#include "GridPanel/tests/GridPanelTestSupport.hpp"

namespace zelvana::gridpanel {
namespace {

using test::gridOf;

enum class Walk { next, previous, u, d, l, r, ul, ur, dl, dr };

struct WalkCase {
    const char* name;
    std::vector<std::string> rows;
    std::optional<GridLoc> from;
    Walk walk;
    std::optional<GridLoc> expected;
};

std::optional<CellUnitAndLoc> walk(const CellGrid& grid, const WalkCase& c) {
    std::optional<CellUnitAndLoc> start;
    // A start may lie outside the grid (left over from an older one): its
    // unit is then of no matter.
    if (c.from) start = CellUnitAndLoc{grid.firstCell(), *c.from};
    switch (c.walk) {
        case Walk::next:
            return grid.nextCell(start);
        case Walk::previous:
            return grid.previousCell(start);
        default:
            return grid.cellInDirection(*directionalFromRawValue(static_cast<int>(c.walk) - 1),
                                        start);
    }
}

class CellGridWalk : public ::testing::TestWithParam<WalkCase> {};

TEST_P(CellGridWalk, LandsOnTheExpectedCell) {
    const auto& c = GetParam();
    const CellGrid grid = gridOf(c.rows);
    const auto result = walk(grid, c);
    ASSERT_EQ(result.has_value(), c.expected.has_value());
    if (!result) return;
    EXPECT_EQ(result->loc, *c.expected);
    const auto& row = grid.grid[static_cast<std::size_t>(c.expected->row)];
    EXPECT_EQ(result->unit, row[static_cast<std::size_t>(c.expected->col)])
        << "the unit is the grid's own at that place";
}

using L = GridLoc;
constexpr auto kNone = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Edges, CellGridWalk,
    ::testing::Values(
        WalkCase{"NextInRow", {"AB", "C"}, L{0, 0}, Walk::next, L{0, 1}},
        WalkCase{"NextToNextRow", {"AB", "C"}, L{0, 1}, Walk::next, L{1, 0}},
        WalkCase{"NextWraps", {"AB", "C"}, L{1, 0}, Walk::next, L{0, 0}},
        WalkCase{"NextSkipsEmptyRows", {"A", "", "", "B"}, L{0, 0}, Walk::next, L{3, 0}},
        WalkCase{"NextWrapsPastTrailingEmptyRow", {"", "A", ""}, L{1, 0}, Walk::next, L{1, 0}},
        WalkCase{"NextWithoutStart", {"AB"}, kNone, Walk::next, kNone},
        WalkCase{"NextFromColumnBeyondRowEnd", {"AB", "C"}, L{0, 7}, Walk::next, L{1, 0}},
        WalkCase{"NextFromVanishedRow", {"AB"}, L{4, 0}, Walk::next, L{0, 0}},
        WalkCase{"PreviousInRow", {"AB", "C"}, L{0, 1}, Walk::previous, L{0, 0}},
        WalkCase{"PreviousToRowEnd", {"AB", "C"}, L{1, 0}, Walk::previous, L{0, 1}},
        WalkCase{"PreviousWraps", {"AB", "C"}, L{0, 0}, Walk::previous, L{1, 0}},
        WalkCase{"PreviousSkipsEmptyRows", {"AB", "", "C"}, L{2, 0}, Walk::previous, L{0, 1}},
        WalkCase{"PreviousFromNegativeColumn", {"AB", "C"}, L{1, -3}, Walk::previous, L{0, 1}},
        WalkCase{"PreviousOneCell", {"A"}, L{0, 0}, Walk::previous, L{0, 0}},
        WalkCase{"DownClampsColumn", {"AB", "C"}, L{0, 1}, Walk::d, L{1, 0}},
        WalkCase{"UpKeepsColumn", {"AB", "C"}, L{1, 0}, Walk::u, L{0, 0}},
        WalkCase{"UpAtTopStays", {"AB", "C"}, L{0, 0}, Walk::u, L{0, 0}},
        WalkCase{"DownAtBottomStays", {"AB", "C"}, L{1, 0}, Walk::d, L{1, 0}},
        WalkCase{"DownIntoEmptyRowStays", {"AB", "", "C"}, L{0, 1}, Walk::d, L{0, 1}},
        WalkCase{"RightAtRowEndStays", {"AB", "C"}, L{0, 1}, Walk::r, L{0, 1}},
        WalkCase{"LeftAtColumnZeroStays", {"AB", "C"}, L{0, 0}, Walk::l, L{0, 0}},
        WalkCase{"LeftFromBeyondRowEnd", {"ABC"}, L{0, 9}, Walk::l, L{0, 1}},
        WalkCase{"UpLeftFallsBackToColumnZero", {"ABC", "D"}, L{1, 0}, Walk::ul, L{0, 0}},
        WalkCase{"UpLeftInTopRowActsAsLeft", {"ABC", "D"}, L{0, 2}, Walk::ul, L{0, 1}},
        WalkCase{"UpLeftPastShortRow", {"A", "BCD"}, L{1, 2}, Walk::ul, L{0, 0}},
        WalkCase{"UpLeftIntoEmptyRowStays", {"AB", "", "CD"}, L{2, 1}, Walk::ul, L{2, 1}},
        WalkCase{"DownLeftPastShortRowStays", {"ABC", "D"}, L{0, 2}, Walk::dl, L{0, 2}},
        WalkCase{"DownLeftAtColumnZero", {"AB", "CD"}, L{0, 0}, Walk::dl, L{1, 0}},
        WalkCase{"DownLeftInBottomRowActsAsLeft", {"AB", "CD"}, L{1, 1}, Walk::dl, L{1, 0}},
        WalkCase{"UpRightSameColumnAtRowEnd", {"AB", "CD"}, L{1, 1}, Walk::ur, L{0, 1}},
        WalkCase{"UpRightPastShortRowStays", {"A", "BCD"}, L{1, 2}, Walk::ur, L{1, 2}},
        WalkCase{"UpRightInTopRowActsAsRight", {"AB"}, L{0, 0}, Walk::ur, L{0, 1}},
        WalkCase{"DownRightSteps", {"AB", "CD"}, L{0, 0}, Walk::dr, L{1, 1}},
        WalkCase{"DownRightIntoEmptyRowStays", {"AB", ""}, L{0, 0}, Walk::dr, L{0, 0}},
        WalkCase{"DirectionWithoutStartGivesFirst", {"", "AB"}, kNone, Walk::r, L{1, 0}},
        WalkCase{"DirectionFromVanishedRowGivesFirst", {"AB"}, L{3, 3}, Walk::d, L{0, 0}},
        WalkCase{"EmptyGridGivesNone", {}, kNone, Walk::d, kNone},
        WalkCase{"OnlyEmptyRowsGiveNone", {"", ""}, L{0, 0}, Walk::next, kNone},
        WalkCase{"OnlyEmptyRowsPreviousGivesNone", {"", ""}, L{1, 0}, Walk::previous, kNone}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CellGridTest, FirstAndLastCellsPassOverEmptyRows) {
    const CellGrid grid = gridOf({"", "AB", "C", ""});
    ASSERT_TRUE(grid.firstCellAndLoc());
    EXPECT_EQ(grid.firstCellAndLoc()->loc, (GridLoc{1, 0}));
    EXPECT_EQ(grid.firstCell(), grid.grid[1][0]);
    ASSERT_TRUE(grid.lastCell());
    EXPECT_EQ(grid.lastCell()->loc, (GridLoc{2, 0}));

    const CellGrid empty = gridOf({"", ""});
    EXPECT_FALSE(empty.firstCell());
    EXPECT_FALSE(empty.lastCell());
}

TEST(CellGridTest, ForEachCellVisitsInReadingOrderUntilTold) {
    const CellGrid grid = gridOf({"AB", "", "CD"});
    std::string seen;
    std::vector<GridLoc> places;
    grid.forEachCell([&](const CellUnitRef& unit, std::int64_t row, std::int64_t col) {
        seen += *unit->element()->title();
        places.push_back({row, col});
        return seen.size() < 3;
    });
    EXPECT_EQ(seen, "ABC");
    EXPECT_EQ(places.back(), (GridLoc{2, 0}));
}

TEST(CellGridTest, MarkingUnitsColourTheElementsBorder) {
    auto target = test::element("T");
    CellUnit targetUnit(target, GridUnitType::target);
    EXPECT_EQ(target->borderColor(), platform::Color::named("systemIndigoColor"));

    auto origin = test::element("O");
    CellUnit originUnit(origin, GridUnitType::initial);
    EXPECT_EQ(origin->borderColor(), platform::Color::named("darkGrayColor"));

    auto plain = test::element("P");
    plain->setBorderColor(platform::Color::rgb(1, 0, 0));
    CellUnit basic(plain, GridUnitType::basic);
    CellUnit fill(plain, GridUnitType::fill);
    EXPECT_EQ(plain->borderColor(), platform::Color::rgb(1, 0, 0));
}

TEST(CellGridTest, DirectionsComeFromTheirRawValuesAndArrowKeys) {
    EXPECT_FALSE(directionalFromRawValue(0));
    EXPECT_FALSE(directionalFromRawValue(9));
    EXPECT_EQ(directionalFromRawValue(4), Directional::r);
    EXPECT_EQ(directionalFromRawValue(5), Directional::ul);
    EXPECT_FALSE(cardinalFromRawValue(5));
    EXPECT_EQ(cardinalFromRawValue(3), Cardinal::l);

    const auto& arrows = KeyCode::arrowDirections();
    EXPECT_EQ(arrows.size(), 4u);
    EXPECT_EQ(arrows.at(126), Directional::u);
    EXPECT_EQ(arrows.at(125), Directional::d);
    EXPECT_EQ(arrows.at(123), Directional::l);
    EXPECT_EQ(arrows.at(124), Directional::r);
}

}  // namespace
}  // namespace zelvana::gridpanel
