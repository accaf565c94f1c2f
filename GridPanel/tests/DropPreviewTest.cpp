#include "GridPanel/DropPreview.hpp"

#include <gtest/gtest.h>

#include "GridPanel/tests/GridPanelTestSupport.hpp"

namespace zelvana::gridpanel::test {
namespace {

using Rows = std::vector<std::string>;

// One letter a cell: its title, + for the landing place, _ for the placeholder.
Rows spelled(const CellGrid& grid) {
    Rows rows;
    for (const auto& row : grid) {
        auto& text = rows.emplace_back();
        for (const auto& unit : row) {
            text += unit->type() == GridUnitType::target ? "+"
                    : unit->type() == GridUnitType::initial
                        ? "_"
                        : unit->element()->title().value_or("?");
        }
    }
    return rows;
}

struct PreviewCase {
    const char* name;
    Rows grid;
    GridLoc origin;
    GridCoords target;
    Rows preview;
    Rows dropped;  // empty: the drop changes nothing
};

class DropPreviews : public ::testing::TestWithParam<PreviewCase> {};

TEST_P(DropPreviews, ShowWhereTheCellLandsAndTheDropPutsItThere) {
    const auto& param = GetParam();
    const CellGrid grid = gridOf(param.grid);
    const auto dragged = grid.at(param.origin)->unit;
    const DropPreview preview = dropPreview(grid, param.origin, param.target);
    EXPECT_EQ(spelled(preview.grid), param.preview);
    EXPECT_EQ(preview.modified, !param.dropped.empty());
    const auto dropped = committedGrid(preview.grid, dragged);
    EXPECT_EQ(dropped ? spelled(*dropped) : Rows{}, param.dropped);
}

constexpr Edges kNone{};
constexpr Edges kRight{Edge::right};
constexpr Edges kBottom{Edge::bottom};

INSTANTIATE_TEST_SUITE_P(
    Moves, DropPreviews,
    ::testing::Values(
        PreviewCase{"RightAlongItsRow", {"ABC"}, {0, 0}, {{0, 1}, kNone}, {"B+C"}, {"BAC"}},
        PreviewCase{"LeftAlongItsRow", {"ABC"}, {0, 2}, {{0, 1}, kNone}, {"A+B"}, {"ACB"}},
        PreviewCase{"OntoItsOwnPlace", {"ABC"}, {0, 1}, {{0, 1}, kRight}, {"A_C"}, {}},
        PreviewCase{"PastTheEndOfItsRow", {"ABC"}, {0, 0}, {{0, 5}, kNone}, {"BC+"}, {"BCA"}},
        PreviewCase{"BeforeACellOfAnotherRow",
                    {"AB", "C"},
                    {0, 0},
                    {{1, 0}, kNone},
                    {"B", "+C"},
                    {"B", "AC"}},
        PreviewCase{"AfterTheLastCellNearItsRightEdge",
                    {"AB", "C"},
                    {0, 0},
                    {{1, 0}, kRight},
                    {"B", "C+"},
                    {"B", "CA"}},
        PreviewCase{"BeforeACellThatIsNotLastEvenNearItsRightEdge",
                    {"AB", "CD"},
                    {0, 0},
                    {{1, 0}, kRight},
                    {"B", "+CD"},
                    {"B", "ACD"}},
        PreviewCase{"ACornerIsNoRightEdge",
                    {"AB", "C"},
                    {0, 0},
                    {{1, 0}, Edges(Edge::right) | Edge::top},
                    {"B", "+C"},
                    {"B", "AC"}},
        PreviewCase{"PastTheEndOfAnotherRow",
                    {"AB", "C"},
                    {0, 0},
                    {{1, 4}, kNone},
                    {"B", "C+"},
                    {"B", "CA"}},
        PreviewCase{"NearTheBottomOfTheLastRow",
                    {"AB", "C"},
                    {0, 0},
                    {{1, 0}, kBottom},
                    {"B", "+C", ""},
                    {"B", "AC"}},
        PreviewCase{"OverTheNewRow",
                    {"AB", "C"},
                    {0, 0},
                    {{2, 0}, kNone},
                    {"B", "C", "+"},
                    {"B", "C", "A"}},
        PreviewCase{"FarBelowTheGridIsTheNewRow",
                    {"AB", "C"},
                    {0, 1},
                    {{9, 0}, kNone},
                    {"A", "C", "+"},
                    {"A", "C", "B"}},
        PreviewCase{"TheOnlyCellOfARowTakesItsRowAlong",
                    {"A", "BC"},
                    {0, 0},
                    {{1, 0}, kNone},
                    {"", "+BC"},
                    {"ABC"}}),
    [](const auto& info) { return info.param.name; });

TEST(DropCommitTest, OnlyAPreviewWithOneLandingPlaceAndADraggedCellIsDropped) {
    const CellGrid grid = gridOf({"AB"});
    const auto dragged = grid.grid[0][0];
    EXPECT_FALSE(committedGrid(grid, dragged)) << "no landing place";
    const CellGrid twice =
        dropPreview(dropPreview(grid, {0, 0}, {{0, 1}, {}}).grid, {0, 0}, {{0, 2}, {}}).grid;
    EXPECT_FALSE(committedGrid(twice, dragged)) << "two landing places";
    const CellGrid once = dropPreview(grid, {0, 0}, {{0, 1}, {}}).grid;
    EXPECT_FALSE(committedGrid(once, nullptr)) << "no dragged cell";
    EXPECT_TRUE(committedGrid(once, dragged));
}

struct CoordsCase {
    const char* name;
    platform::Point point;
    GridCoords expected;
};

class PointerPlaces : public ::testing::TestWithParam<CoordsCase> {};

// Three columns and two rows of 100 by 100 points.
TEST_P(PointerPlaces, AreTheCellAndTheEdgesWithin20Points) {
    EXPECT_EQ(gridCoords(GetParam().point, {300, 200}, 3, 2), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Points, PointerPlaces,
    ::testing::Values(
        CoordsCase{"Inside", {150, 50}, {{0, 1}, {}}},
        CoordsCase{"Left", {119, 50}, {{0, 1}, Edge::left}},
        CoordsCase{"Right", {181, 50}, {{0, 1}, Edge::right}},
        CoordsCase{"Top", {150, 119}, {{1, 1}, Edge::top}},
        CoordsCase{"Bottom", {150, 181}, {{1, 1}, Edge::bottom}},
        CoordsCase{"Corner", {5, 5}, {{0, 0}, Edges(Edge::left) | Edge::top}},
        CoordsCase{
            "BeyondIsHeldToTheGrid", {450, 900}, {{1, 2}, Edges(Edge::right) | Edge::bottom}},
        CoordsCase{"BeforeIsHeldToTheGrid", {-30, -30}, {{0, 0}, Edges(Edge::left) | Edge::top}}),
    [](const auto& info) { return info.param.name; });

TEST(PointerPlaceTest, AGridWithoutRowsOrColumnsHasNoPlaces) {
    EXPECT_FALSE(gridCoords({10, 10}, {300, 200}, 0, 2));
    EXPECT_FALSE(gridCoords({10, 10}, {300, 200}, 3, 0));
    EXPECT_FALSE(gridCoords({10, 10}, {0, 0}, 3, 2));
}

}  // namespace
}  // namespace zelvana::gridpanel::test
