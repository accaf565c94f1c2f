#include "Zelvana/SpaceGrid.hpp"

#include <gtest/gtest.h>

#include "Zelvana/tests/SpaceFixture.hpp"

namespace zelvana::core::test {
namespace {

using C = Coordinates;
using Cells = std::vector<Coordinates>;

class SpaceGridTest : public SpaceFixture {
protected:
    std::shared_ptr<Space> at(const platform::Screen& screen, std::int64_t row, std::int64_t col) {
        return spaceOn(screen, {{screen.screenNumber(), C{row, col}}});
    }
    static Cells cellsOf(const SpaceGrid::Rows& rows, DisplayNumber display) {
        Cells cells;
        for (const auto& row : rows) {
            for (const auto& space : row) cells.push_back(space->coordinates().at(display));
        }
        return cells;
    }
};

TEST_F(SpaceGridTest, NextCellFillsRowsOfTheGridWidth) {
    const auto screen = addDisplay(1);
    const auto other = addDisplay(2);
    SpaceGrid grid;
    EXPECT_EQ(grid.nextCoordinates(1), (C{0, 0}));

    grid = SpaceGrid({at(screen, 0, 0), at(screen, 0, 1), at(screen, 0, 2), at(other, 4, 0)});
    EXPECT_EQ(grid.nextCoordinates(1), (C{1, 0}));
    EXPECT_EQ(grid.nextCoordinates(2), (C{4, 1}));

    auto asleep = at(screen, 1, 0);
    asleep->anchor()->setIsActive(false);
    auto damaged = at(screen, 5000000000, 3);
    grid = SpaceGrid({at(screen, 0, 0), at(screen, 0, 1), at(screen, 0, 2), asleep, damaged});
    EXPECT_EQ(grid.nextCoordinates(1), (C{1, 0})) << "inactive and unusable cells do not count";
    asleep->anchor()->setIsActive(true);
    EXPECT_EQ(grid.nextCoordinates(1), (C{1, 1}));

    GlobalDefaults::gridWidth().setValue(1);
    EXPECT_EQ(grid.nextCoordinates(1), (C{2, 0}));

    std::int64_t width = 4;
    grid = SpaceGrid({at(screen, 0, 0), at(screen, 0, 1), at(screen, 0, 2)},
                     {.gridWidth = [&] { return width; }});
    EXPECT_EQ(grid.nextCoordinates(1), (C{0, 3})) << "the caller's width, not the setting";
    width = 2;
    EXPECT_EQ(grid.nextCoordinates(1), (C{1, 0}));
}

TEST_F(SpaceGridTest, TheMainScreenAndKnownAnchorsAreTheCallers) {
    const auto screen = addDisplay(1);
    const auto other = addDisplay(2);
    const auto a = at(screen, 0, 0), b = at(other, 0, 0), c = at(other, 0, 1);
    const SpaceGrid grid(
        {a, b, c},
        {.mainScreen = [&] { return std::optional(other); },
         .holdsAnchor = [&](const auto& anchor) { return &anchor == c->anchor().get(); }});
    EXPECT_EQ(grid.mainScreenActiveSpaces(), SpaceGrid::SpaceList{c});
}

TEST_F(SpaceGridTest, AddedSpacesAreKnownByIdAtOnce) {
    const auto screen = addDisplay(1);
    const auto first = spaceOn(screen);
    const auto twin = std::make_shared<Space>(Space::Fields{.id = first->id()});
    SpaceGrid grid({twin, first});
    EXPECT_EQ(grid.space(*first->id()), first) << "the later of two ids wins";

    const auto added = spaceOn(screen);
    EXPECT_TRUE(grid.add(added));
    EXPECT_EQ(added->coordinates().at(1), (C{0, 0}));
    EXPECT_TRUE(
        logged("added " + added->shortId() + " with coordinates Coordinates(row: 0, col: 0)"));
    EXPECT_EQ(grid.space(*added->id()), added);

    EXPECT_FALSE(grid.add(added));
    EXPECT_FALSE(grid.add(std::make_shared<Space>(Space::Fields{.id = "no anchor"})));
    EXPECT_TRUE(logged("Attempting to add a space that already exists"));
    EXPECT_EQ(grid.spaces().size(), 3u);

    grid.remove(*first->id());
    EXPECT_EQ(grid.spaces(), SpaceGrid::SpaceList{added});
    grid.clear();
    EXPECT_TRUE(grid.spaces().empty());
    EXPECT_TRUE(grid.map().empty());
    EXPECT_TRUE(grid.add(added)) << "a space found again after a clear is added again";
    EXPECT_EQ(grid.records().size(), 1u);
}

TEST_F(SpaceGridTest, MainScreenGridIsDenseInReadingOrder) {
    EXPECT_TRUE(SpaceGrid().mainScreenGrid().empty()) << "no main screen";
    const auto screen = addDisplay(1);
    const auto other = addDisplay(2);

    const auto a = at(screen, 0, 0), b = at(screen, 0, 2), c = at(screen, 3, 1);
    const auto same1 = at(screen, 3, 1);
    const auto unknown = std::make_shared<Space>(Space::Fields{
        .anchor = switcher::SpaceAnchor::makeAnchor(screen), .coordinates = {{1, C{0, 1}}}});
    const auto elsewhere = at(other, 0, 0);
    elsewhere->setCell(1, C{0, 1});
    SpaceGrid grid({a, b, c, same1, unknown, elsewhere});
    auto rows = grid.mainScreenGrid();
    // c and same1 shared a cell, so both went after the last cell, (3, 1).
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (SpaceGrid::SpaceList{a, b}));
    EXPECT_EQ(rows[1], SpaceGrid::SpaceList{c});
    EXPECT_EQ(rows[2], SpaceGrid::SpaceList{same1});
    EXPECT_EQ(cellsOf(rows, 1), (Cells{{0, 0}, {0, 1}, {1, 0}, {2, 0}}));
    EXPECT_EQ(unknown->coordinates().at(1), (C{0, 1})) << "not shown, not renumbered";
    EXPECT_EQ(elsewhere->coordinates().at(1), (C{0, 1}));
    EXPECT_EQ(a->lastDisplayID(), 1u);
    EXPECT_FALSE(elsewhere->lastDisplayID());
    EXPECT_TRUE(logged("Multiple current spaces"));

    // A space new to the display keeps its cell from the one it was last on,
    // unless that cell is taken; damaged cells are placed as new ones.
    const auto carried = at(other, 1, 2);
    carried->setLastDisplayID(2);
    carried->anchor()->setFrameOrigin(screen.frame().origin);
    carried->anchor()->setIsActive(true);
    const auto blocked = at(screen, 0, 0);
    blocked->setCoordinates({{2, C{0, 0}}});
    blocked->setLastDisplayID(2);
    const auto negative = at(screen, -1, 0);
    const auto huge = at(screen, 0, INT64_MAX);
    grid = SpaceGrid({a, b, c, same1, carried, blocked, negative, huge});
    rows = grid.mainScreenGrid();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1], (SpaceGrid::SpaceList{c, carried}));
    EXPECT_EQ(rows[2], (SpaceGrid::SpaceList{same1, blocked, negative}));
    EXPECT_EQ(rows[3], SpaceGrid::SpaceList{huge});
    EXPECT_EQ(cellsOf(rows, 1),
              (Cells{{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}, {2, 2}, {3, 0}}));
    EXPECT_EQ(blocked->coordinates().at(2), (C{0, 0})) << "other displays keep their cells";
}

TEST_F(SpaceGridTest, OfTwoSpacesWithOneIdOnOneCellOnlyTheLaterIsShown) {
    const auto screen = addDisplay(1);
    const auto left = at(screen, 0, 0), right = at(screen, 0, 2), first = at(screen, 0, 1);
    const auto twin = std::make_shared<Space>(
        Space::Fields{.id = first->id(), .anchor = first->anchor(), .coordinates = {{1, C{0, 1}}}});
    for (const auto& [earlier, later] : {std::pair{first, twin}, std::pair{twin, first}}) {
        SpaceGrid grid({left, earlier, later, right});
        const auto rows = grid.mainScreenGrid();
        ASSERT_EQ(rows.size(), 1u);
        std::vector<const Space*> shown;
        for (const auto& space : rows[0]) shown.push_back(space.get());
        EXPECT_EQ(shown, (std::vector<const Space*>{left.get(), later.get(), right.get()}))
            << (later == twin ? "the twin" : "the first") << " listed later";
    }
}

// A 3 x 3 grid whose last row has two cells:
//   A B C
//   D E F
//   G H
class NeighbourTest : public SpaceGridTest {
protected:
    void SetUp() override {
        const auto screen = addDisplay(1);
        for (int i = 0; i < 8; ++i) s.push_back(at(screen, i / 3, i % 3));
        A = s[0], B = s[1], C = s[2], D = s[3], E = s[4], F = s[5], G = s[6], H = s[7];
        // Listed out of reading order, so a wrap cannot rely on the list's order.
        grid = SpaceGrid({B, A, C, D, E, F, G, H});
    }
    std::string step(GridStep direction, const std::shared_ptr<Space>& from) const {
        const auto to = grid.neighbour(direction, from);
        if (!to) return "none";
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (to == s[i]) return std::string(1, static_cast<char>('A' + i));
        }
        return "other";
    }

    std::vector<std::shared_ptr<Space>> s;
    SpaceGrid grid;
    std::shared_ptr<Space> A, B, C, D, E, F, G, H;
};

TEST_F(NeighbourTest, EightDirectionsStopAtTheEdges) {
    using enum GridStep;
    EXPECT_EQ(step(up, A), "A");
    EXPECT_EQ(step(up, E), "B");
    EXPECT_EQ(step(down, B), "E");
    EXPECT_EQ(step(down, F), "F");
    EXPECT_EQ(step(down, H), "H");
    EXPECT_EQ(step(left, D), "D");
    EXPECT_EQ(step(left, E), "D");
    EXPECT_EQ(step(right, C), "C");
    EXPECT_EQ(step(right, G), "H");
    EXPECT_EQ(step(upLeft, B), "A") << "from the top row as left";
    EXPECT_EQ(step(upLeft, E), "A");
    EXPECT_EQ(step(upLeft, D), "D");
    EXPECT_EQ(step(upRight, A), "B");
    EXPECT_EQ(step(upRight, E), "C");
    EXPECT_EQ(step(upRight, F), "F");
    EXPECT_EQ(step(downLeft, B), "D");
    EXPECT_EQ(step(downLeft, H), "G") << "from the last row as left";
    EXPECT_EQ(step(downLeft, D), "D");
    EXPECT_EQ(step(downRight, A), "E");
    EXPECT_EQ(step(downRight, G), "H");
    EXPECT_EQ(step(downRight, H), "H");
    EXPECT_EQ(step(downRight, E), "E");
    EXPECT_EQ(step(none, E), "E");
}

TEST_F(NeighbourTest, ForwardAndBackwardWalkReadingOrderAndWrap) {
    using enum GridStep;
    EXPECT_EQ(step(forward, A), "B");
    EXPECT_EQ(step(forward, C), "D");
    EXPECT_EQ(step(forward, H), "A");
    EXPECT_EQ(step(backward, E), "D");
    EXPECT_EQ(step(backward, D), "C");
    EXPECT_EQ(step(backward, A), "H");

    std::string walk;
    auto at = A;
    for (int i = 0; i < 9; ++i) {
        at = grid.neighbour(forward, at);
        walk += step(none, at);
    }
    EXPECT_EQ(walk, "BCDEFGHAB");

    H->anchor()->setIsActive(false);
    EXPECT_EQ(step(backward, A), "G") << "an inactive space does not count";
    EXPECT_EQ(step(down, E), "H") << "but a direct step still finds it";
}

TEST_F(NeighbourTest, ForwardTakesTheFirstOfSpacesSharingACell) {
    const auto screen = desktop.display(1)->screen();
    const auto secondA = at(screen, 0, 0);
    const auto secondB = at(screen, 0, 1);
    const auto secondD = at(screen, 1, 0);
    grid = SpaceGrid({B, secondB, A, secondA, C, D, secondD, E, F, G, H});
    EXPECT_EQ(step(GridStep::forward, A), "B") << "the next cell";
    EXPECT_EQ(step(GridStep::forward, C), "D") << "the start of the next row";
    EXPECT_EQ(step(GridStep::forward, H), "A") << "round to the first space";
}

TEST_F(NeighbourTest, NoNeighbourWithoutACellOnAScreen) {
    EXPECT_EQ(grid.neighbour(GridStep::right, std::make_shared<Space>()), nullptr);
    A->setCoordinates({});
    EXPECT_EQ(grid.neighbour(GridStep::right, A), nullptr);
    A->setCell(1, Coordinates{-4, 0});
    EXPECT_EQ(grid.neighbour(GridStep::forward, A), nullptr);
}

TEST_F(SpaceGridTest, UpdateSpaceReplacesAMovedSpace) {
    const auto left = addDisplay(1);
    const auto right = addDisplay(2);
    const auto a = at(left, 0, 0), b = at(right, 0, 0), c = at(right, 0, 1);
    const auto d = at(right, 1, 0);
    SpaceGrid grid({a, b, c, d});
    std::set<DisplayNumber> asked;
    std::optional<DisplayNumber> answer;
    const auto lookup = [&](const platform::Screen&, const std::set<DisplayNumber>& among) {
        asked = among;
        return answer;
    };

    grid.updateSpace(*b->id(), lookup);
    EXPECT_EQ(b->coordinates().at(2), (C{0, 0})) << "a cell of its own stays";

    // Onto a display it has never been on: the last row, right of the widest.
    a->anchor()->setFrameOrigin(right.frame().origin);
    grid.updateSpace(*a->id(), lookup);
    EXPECT_EQ(asked, std::set<DisplayNumber>{1});
    EXPECT_EQ(a->coordinates().at(2), (C{1, 2}));
    EXPECT_TRUE(
        logged("updated " + a->shortId() + " with coordinates Coordinates(row: 1, col: 2)"));

    // The display changed its number: the cell follows it.
    answer = 9;
    d->setCoordinates({{9, C{0, 2}}});
    grid.updateSpace(*d->id(), lookup);
    EXPECT_EQ(d->coordinates(), (Space::CoordinateMap{{2, C{0, 2}}}));

    // A cell that another space holds is given up, even beyond the width.
    c->setCell(2, C{0, 0});
    grid.updateSpace(*c->id(), lookup);
    EXPECT_EQ(c->coordinates().at(2), (C{0, 3})) << "a is inactive, so row 1 is not in use";

    grid.updateSpace("unknown", lookup);
    desktop.focusDisplay(2);
    const auto rows = grid.mainScreenGrid();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (SpaceGrid::SpaceList{b, d, c}));
    EXPECT_EQ(c->coordinates().at(2), (C{0, 2}));
}

}  // namespace
}  // namespace zelvana::core::test
