#include <gtest/gtest.h>

#include "GridPanel/GridPanelView.hpp"
#include "GridPanel/tests/PanelTestSupport.hpp"
#include "platform/input/Mouse.hpp"

namespace zelvana::gridpanel::test {
namespace {

using platform::Application;
using platform::DraggingSession;
using platform::EventType;
using platform::Mouse;
using platform::Point;
using Titles = std::vector<std::vector<std::string>>;

// Cells dragged with the simulated mouse inside the open panel.
class GridPanelDragTest : public PanelTest {
protected:
    void SetUp() override {
        Mouse::shared().resetForTesting();
        reload(elementsOf({3}), 7);
        controller->show(AutoClose::off);
        for (std::int64_t c = 0; c < 3; ++c) centers.push_back(globalCenter({0, c}));
    }
    void TearDown() override { Mouse::shared().resetForTesting(); }

    // The pointer moves with the button held.
    void moveTo(Point point) {
        Mouse::shared().dragTo(point);
        Application::shared().dispatchPendingEvents();
    }
    // Onto a point, and a little further so the place is updated.
    void hover(Point point) {
        moveTo(point);
        moveTo({point.x + 1, point.y});
    }
    void button(EventType type) {
        Mouse::shared().press(type);
        Application::shared().dispatchPendingEvents();
    }
    void startDrag(std::int64_t col) {
        Mouse::shared().moveTo(centers[static_cast<std::size_t>(col)]);
        button(EventType::leftMouseDown);
        // The first drag event marks where the drag starts; 11 points on it begins.
        const Point from = centers[static_cast<std::size_t>(col)];
        moveTo({from.x + 1, from.y});
        moveTo({from.x + 12, from.y});
        ASSERT_NE(DraggingSession::current(), nullptr);
        moveTo({from.x + 12, from.y});  // the drag enters the panel
    }
    // The kinds of the cells shown: b(asic), f(ill), t(arget), i(nitial).
    std::string shown() {
        std::string kinds;
        for (std::int64_t c = 0; c < viewController().gridView()->numberOfColumns(); ++c) {
            GridUnitStackView* view = viewController().cellView(0, c);
            kinds += view ? "bfti"[static_cast<int>(view->unit()->type())] : '-';
        }
        return kinds;
    }
    GridPanelView& panelView() { return dynamic_cast<GridPanelView&>(*viewController().view()); }
    const Point outside{1400, 880};
    std::vector<Point> centers;
};

TEST_F(GridPanelDragTest, EnterMoveExitReenterAndDropHandTheArrangementToTheDelegate) {
    startDrag(0);
    EXPECT_EQ(viewController().draggedCell()->loc, (GridLoc{0, 0}));
    const auto& item = DraggingSession::current()->draggingItems().at(0);
    EXPECT_EQ(item.item.dataForType("com.quorrim.GridPanel.GridAction"),
              (platform::PasteboardData{'m', 'o', 'v', 'e'}));
    EXPECT_TRUE(item.image);
    EXPECT_EQ(shown(), "ibb") << "entering shows the origin's placeholder";

    hover(centers[1]);
    EXPECT_EQ(shown(), "btb");
    EXPECT_TRUE(viewController().gridModified);

    moveTo(outside);
    EXPECT_TRUE(panelView().dragOutside);
    EXPECT_EQ(shown(), "ibb") << "leaving restores the grid with the placeholder";

    hover(centers[2]);
    EXPECT_EQ(shown(), "bbt");
    button(EventType::leftMouseUp);
    EXPECT_EQ(delegate->gridChanges, (std::vector<std::optional<std::int64_t>>{7}));
    EXPECT_EQ(delegate->changedRows, (Titles{{"0,1", "0,2", "0,0"}}));
    EXPECT_EQ(viewController().grid->grid[0][2]->element()->title(), "0,0");
    EXPECT_EQ(shown(), "bbb");
    EXPECT_FALSE(viewController().draggedCell());
    EXPECT_FALSE(DraggingSession::current());
    EXPECT_FALSE(viewController().newGrid);
}

TEST_F(GridPanelDragTest, CancellingDroppingHomeOrEndingOutsideChangeNothing) {
    startDrag(0);
    hover(centers[1]);
    Application::shared().sendEvent(
        platform::Event::keyEvent(EventType::keyDown, 53, {}, "\x1b", "\x1b"));  // Escape
    EXPECT_FALSE(DraggingSession::current());
    EXPECT_TRUE(controller->isOpen()) << "Escape ended the drag, not the panel";
    EXPECT_EQ(shown(), "bbb");

    button(EventType::leftMouseUp);
    startDrag(1);
    hover(centers[1]);
    EXPECT_EQ(shown(), "bib");
    EXPECT_FALSE(viewController().gridModified);
    button(EventType::leftMouseUp);  // onto its own place

    startDrag(2);
    hover(centers[0]);
    moveTo(outside);
    button(EventType::leftMouseUp);
    EXPECT_EQ(shown(), "bbb");
    EXPECT_TRUE(delegate->gridChanges.empty());
    EXPECT_FALSE(viewController().draggedCell());
    EXPECT_FALSE(panelView().dragOutside);
    EXPECT_EQ(viewController().grid->grid[0][2]->element()->title(), "0,2");
}

TEST_F(GridPanelDragTest, ANewDragPreviewsItsFirstPlaceEvenWhereTheLastOneEnded) {
    startDrag(0);
    hover(centers[1]);
    moveTo(outside);
    button(EventType::leftMouseUp);
    EXPECT_FALSE(panelView().lastCellCoords);

    startDrag(0);
    moveTo(centers[1]);
    moveTo(centers[1]);  // the same place as the last drag's last update
    EXPECT_EQ(shown(), "btb");
}

TEST_F(GridPanelDragTest, AGridReloadedDuringTheDragIsNotOverwrittenByTheDrop) {
    startDrag(0);
    hover(centers[2]);
    reload(elementsOf({4}), 7);  // the host's new grid, a space more
    hover(centers[1]);
    button(EventType::leftMouseUp);
    EXPECT_TRUE(delegate->gridChanges.empty());
    EXPECT_EQ(viewController().grid->grid[0].size(), 4u);
}

TEST_F(GridPanelDragTest, ADropWithoutADraggedCellRestoresTheGrid) {
    startDrag(0);
    hover(centers[2]);
    viewController().setDraggedCell(std::nullopt);  // lost on the way
    button(EventType::leftMouseUp);
    EXPECT_TRUE(delegate->gridChanges.empty());
    EXPECT_EQ(shown(), "bbb");
    EXPECT_EQ(viewController().grid->grid[0][0]->element()->title(), "0,0");
}

}  // namespace
}  // namespace zelvana::gridpanel::test
