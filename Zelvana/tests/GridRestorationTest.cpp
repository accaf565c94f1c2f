#include "Zelvana/GridRestoration.hpp"

#include <gtest/gtest.h>

#include "Tools/WindowUtil.hpp"
#include "Zelvana/ScreenManager.hpp"
#include "Zelvana/tests/SpaceFixture.hpp"

namespace zelvana::core::test {
namespace {

using restoration::guaranteedWindowList;
using restoration::restoreGrid;

constexpr double kDay = 86400;

class GridRestorationTest : public SpaceFixture {
protected:
    // A restored anchor on the screen, and a stored record naming it.
    CodableSpace storedFor(const platform::Screen& screen, Space::CoordinateMap cells = {}) {
        const auto anchor = switcher::SpaceSwitcher::shared().addAnchor(screen);
        return CodableSpace{.id = anchor->id(), .coordinates = std::move(cells)};
    }
    std::unique_ptr<SpaceGrid> restore(std::vector<CodableSpace> stored,
                                       StoredStaleness staleness = StoredStaleness::drop) {
        GlobalDefaults::grid().setTypedValue(std::move(stored));
        return restoreGrid(switcher::SpaceSwitcher::shared(), *screens, staleness);
    }
    std::unique_ptr<ScreenManager> screens = std::make_unique<ScreenManager>();
};

TEST_F(GridRestorationTest, MatchesStoredSpacesWithRestoredAnchors) {
    const auto screen = addDisplay(1);
    auto kept = storedFor(screen, {{1, Coordinates{0, 1}}});
    kept.title = "Mail";
    kept.isActive = false;
    const CodableSpace orphan{.id = "F00D"};
    const auto grid = restore({orphan, kept});

    ASSERT_EQ(grid->spaces().size(), 1u);
    const auto& space = grid->spaces().front();
    EXPECT_EQ(space->title(), "Mail");
    EXPECT_EQ(space->anchor(), switcher::SpaceSwitcher::shared().idAnchors().at(*kept.id));
    EXPECT_FALSE(space->anchor()->isActive()) << "the anchor takes the stored isActive";
    EXPECT_TRUE(space->isStale()) << "an ordinary start";
    EXPECT_TRUE(logged("codable space without matching anchor F00D"));
    EXPECT_FALSE(restore({kept}, StoredStaleness::keep)->spaces().front()->isStale())
        << "a relaunch";
}

TEST_F(GridRestorationTest, ClosesSpacesIdleForMoreThanThirtyDaysAndKeepsTheStoredDate) {
    const auto screen = addDisplay(1);
    const auto now = platform::Date::now();
    auto old = storedFor(screen);
    old.lastActive = platform::Date{now.sinceReferenceDate - 31 * kDay};
    auto recent = storedFor(screen);
    recent.lastActive = platform::Date{now.sinceReferenceDate - 29 * kDay};
    const auto undated = storedFor(screen);
    const auto oldAnchor = switcher::SpaceSwitcher::shared().idAnchors().at(*old.id);

    const auto grid = restore({old, recent, undated});
    EXPECT_EQ(grid->spaces().size(), 2u);
    EXPECT_FALSE(grid->space(*old.id));
    EXPECT_TRUE(oldAnchor->isClosed());
    EXPECT_TRUE(logged("inactive for 30 days, closing " + *old.id));
    EXPECT_EQ(grid->space(*recent.id)->anchor()->lastActive(), recent.lastActive)
        << "the stored date survives the launch, so a month away does not forget everything";
}

TEST_F(GridRestorationTest, AdoptsRestoredAnchorsThatNoStoredSpaceNames) {
    const auto screen = addDisplay(1);
    const auto stranger = switcher::SpaceSwitcher::shared().addAnchor(screen);
    const auto grid = restore({});
    ASSERT_TRUE(grid->space(stranger->id()));
    EXPECT_EQ(grid->space(stranger->id())->coordinates().at(1), (Coordinates{0, 0}));
    EXPECT_TRUE(logged("restored anchor without matching codable space <SpaceAnchor " +
                       stranger->id() + ">"));
}

TEST_F(GridRestorationTest, CellsStoredUnderTheDisplaysFormerNumberMoveToItsCurrentOne) {
    const auto screen = addDisplay(1);
    // The display was number 7 when the cells were stored.
    auto former = CodableScreen::make(screen);
    former.id = 7;
    CodableScreenMap known{{7, former}};
    GlobalDefaults::screens().setTypedValue(known);
    screens = std::make_unique<ScreenManager>();
    const auto stored = storedFor(screen, {{7, Coordinates{1, 2}}});
    const auto grid = restore({stored});
    EXPECT_EQ(grid->space(*stored.id)->coordinates(),
              (Space::CoordinateMap{{1, Coordinates{1, 2}}}));
}

TEST_F(GridRestorationTest, AWindowListWithTwoActiveAnchorsOnOneDisplayIsNotTrusted) {
    const auto screen = addDisplay(1);
    auto& switcher = switcher::SpaceSwitcher::shared();
    const auto first = switcher.addAnchor(screen);
    ASSERT_TRUE(guaranteedWindowList(switcher)) << "one active anchor per display";
    const auto second = switcher.addAnchor(screen);
    first->setIsActive(true);
    second->setIsActive(true);
    tools::WindowUtil::resetCachesForTesting();
    EXPECT_FALSE(guaranteedWindowList(switcher));
    EXPECT_TRUE(logged("multiple active anchors found, window list is being ignored"));
}

}  // namespace
}  // namespace zelvana::core::test
