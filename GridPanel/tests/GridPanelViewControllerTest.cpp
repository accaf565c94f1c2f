#include <gtest/gtest.h>

#include <cmath>

#include "GridPanel/tests/PanelTestSupport.hpp"
#include "platform/simulator/Mouse.hpp"

namespace zelvana::gridpanel::test {
namespace {

using platform::Mouse;
using platform::Point;
using platform::Size;

class GridPanelViewControllerTest : public PanelTest {};

TEST_F(GridPanelViewControllerTest, PadsShortRowsAndSizesThePanelAroundTheGrid) {
    reload(elementsOf({3, 1, 0}));
    StackGridView& grid = *viewController().gridView();
    EXPECT_EQ(grid.numberOfRows(), 3);
    EXPECT_EQ(grid.numberOfColumns(), 3);
    EXPECT_EQ(cell(1, 1).unit()->type(), GridUnitType::fill);
    EXPECT_EQ(cell(1, 2).fittingSize(), (Size{100, 80}));   // sized like its row's element
    EXPECT_EQ(cell(2, 0).fittingSize(), (Size{200, 200}));  // an empty row's: no size
    EXPECT_EQ(cell(1, 2).loc, (GridLoc{1, 2}));
    EXPECT_EQ(viewController().grid->grid[1].size(), 1u);  // padding is only in the views
    EXPECT_EQ(viewController().cellView(0, 3), nullptr);

    // The widest row (three unsized fills of 200) with two gaps of 23; rows of
    // 80, 80 and 200 with two gaps; 20 around.
    const Size content{3 * 200 + 2 * 23 + 40, 80 + 80 + 200 + 2 * 23 + 40};
    EXPECT_EQ(window().frame().size, content);
    EXPECT_EQ(viewController().transparentView()->frame().size, content);
    EXPECT_DOUBLE_EQ(window().frame().minX(), (1440 - content.width) / 2);
}

TEST_F(GridPanelViewControllerTest, OddInputStillBuildsAPanel) {
    reload({});
    EXPECT_EQ(viewController().gridView()->numberOfColumns(), 1);
    EXPECT_EQ(viewController().cellView(0, 0), nullptr);  // a plain empty view
    Elements odd{{std::make_shared<TestElement>(std::string(10000, 'x'), Size{NAN, -5}),
                  std::make_shared<TestElement>("", Size{1e5, 1e5})}};
    odd[0][0]->setImage(platform::Image(Size{}));
    odd[0][1]->setImage(platform::Image(Size{10000, 10000}, 1, 1));
    odd[0][1]->setBackgroundImage(platform::Image(Size{10000, 1}, 1, 1));
    reload(odd);
    // The huge cell shrinks the grid as far as it goes: the unsized one keeps its square.
    const Size unsized = cell(0, 0).fittingSize();
    EXPECT_EQ(unsized.width, unsized.height);
    EXPECT_EQ(unsized.height, 40) << "the smallest a cell gets";
    EXPECT_LE(cell(0, 0).titleButton()->frame().width(), unsized.width);
    EXPECT_TRUE(platform::Screen::main()->visibleFrame().contains(window().frame()));
    EXPECT_LE(cell(0, 1).imageView()->fittingSize().width, 1e5 - 20);
    controller->show(AutoClose::off);
    controller->close();
    EXPECT_EQ(delegate->closes, 1);
}

TEST_F(GridPanelViewControllerTest, ReloadsKeepOrTakeTheHighlightAndClampAStaleOne) {
    auto elements = elementsOf({3, 3});
    elements[1][0]->current = true;
    elements[1][2]->setIsNewSelection(true);
    reload(elements);
    EXPECT_EQ(viewController().current->loc, (GridLoc{1, 0}));
    EXPECT_EQ(viewController().newSelection->loc, (GridLoc{1, 2}));
    EXPECT_EQ(delegate->selections, (std::vector<std::optional<std::string>>{"1,2"}));

    reload(elements);  // the same highlight, told again
    auto quiet = elementsOf({3, 3});
    reload(quiet);  // nobody highlighted: the recorded cell stays
    EXPECT_EQ(viewController().newSelection->loc, (GridLoc{1, 2}));

    reload(elementsOf({2}));  // the old place is gone: the nearest cell takes it
    EXPECT_EQ(viewController().newSelection->loc, (GridLoc{0, 1}));
    EXPECT_EQ(viewController().current->loc, (GridLoc{0, 0}));
    EXPECT_EQ(delegate->selections.back(), "0,1");
    reload({{}});
    EXPECT_FALSE(viewController().newSelection);
    viewController().move(input::Directional::r);  // nothing to walk to
    EXPECT_FALSE(viewController().newSelection);
}

TEST_F(GridPanelViewControllerTest, AReloadWithAHighlightStopsTheAutoClose) {
    auto elements = elementsOf({2});
    reload(elements);
    controller->show(AutoClose::on);
    elements[0][1]->setIsNewSelection(true);
    reload(elements);
    clock.advance(3000);
    EXPECT_TRUE(controller->isOpen());
}

TEST_F(GridPanelViewControllerTest, AClosedPanelBuildsItsCellsOnlyWhenShown) {
    auto elements = elementsOf({2, 1});
    elements[0][1]->current = true;
    reload(elements);
    reload(elements);
    const auto& gridRows = viewController().gridStackView()->arrangedSubviews().front();
    EXPECT_TRUE(gridRows->subviews().empty()) << "no cells while closed";
    EXPECT_EQ(viewController().current->loc, (GridLoc{0, 1})) << "yet the grid is known";

    controller->show(AutoClose::off);
    EXPECT_EQ(gridRows->subviews().size(), 2u);
    EXPECT_EQ(cell(0, 1).unit()->element(), elements[0][1]);
    EXPECT_EQ(cell(1, 1).unit()->type(), GridUnitType::fill);
}

TEST_F(GridPanelViewControllerTest, AReloadKeepsTheCellsOfUnchangedElementsOnly) {
    auto elements = elementsOf({2, 1});
    reload(elements);
    controller->show(AutoClose::off);
    GridUnitStackView* kept = &cell(0, 0);
    GridUnitStackView* retitled = &cell(0, 1);
    elements[0][1]->setTitle("renamed");
    reload(elements);
    EXPECT_EQ(&cell(0, 0), kept);
    EXPECT_NE(&cell(0, 1), retitled);
    EXPECT_EQ(cell(0, 1).titleButton()->title(), "renamed");

    elements[0][0]->setImage(platform::Image(Size{4, 4}));
    reload({{elements[1][0], elements[0][0]}});  // moved and with a picture
    EXPECT_NE(&cell(0, 1), kept);
    EXPECT_NE(cell(0, 1).imageView(), nullptr);
    EXPECT_EQ(cell(0, 1).loc, (GridLoc{0, 1}));
}

TEST_F(GridPanelViewControllerTest, APanelShownAgainShowsAndPlacesWhatChangedWhileItWasClosed) {
    Mouse::shared().resetForTesting();
    auto elements = elementsOf({2});
    reload(elements);
    controller->show(AutoClose::off);
    const auto inWindow = [&](GridLoc loc) {
        const auto& target = cell(loc.row, loc.col);
        return target.convertPointToView({0, 0}, nullptr);
    };
    const Point corner = inWindow({0, 0});  // the first cell's, from the window's
    controller->close();

    // The first space gets a picture and a wider screen; a space starts a row.
    elements[0][0]->setImage(platform::Image(Size{4, 4}));
    elements[0][0]->setSize(Size{150, 80});
    elements.push_back({std::make_shared<TestElement>("1,0")});
    reload(elements);
    controller->show(AutoClose::off);
    EXPECT_NE(cell(0, 0).imageView(), nullptr) << "the new picture, not the cell shown before";

    const auto origin = platform::Desktop::shared().boundsFromFrame(window().frame()).origin;
    const auto click = [&](double x, double y) {
        Mouse::shared().moveTo({origin.x + corner.x + x, origin.y + corner.y + y});
        for (const auto type :
             {platform::EventType::leftMouseDown, platform::EventType::leftMouseUp}) {
            Mouse::shared().press(type);
            platform::Application::shared().dispatchPendingEvents();
        }
    };
    click(150 + 23 + 50, 40);  // the second cell, pushed right by the wider first
    click(50, 80 + 23 + 40);   // the new row's cell, under the first
    EXPECT_EQ(elements[0][1]->selections, 1);
    EXPECT_EQ(elements[1][0]->selections, 1);
    EXPECT_EQ(elements[0][0]->selections, 0);
}

}  // namespace
}  // namespace zelvana::gridpanel::test
