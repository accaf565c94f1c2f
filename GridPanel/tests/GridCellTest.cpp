#include <gtest/gtest.h>

#include "GridPanel/tests/PanelTestSupport.hpp"
#include "platform/appkit/TextView.hpp"

namespace zelvana::gridpanel::test {
namespace {

using platform::Color;
using platform::Event;
using platform::EventType;

class GridCellTest : public PanelTest {
protected:
    void SetUp() override {
        elements = elementsOf({2, 1});
        reload(elements);
        controller->show(AutoClose::off);
    }
    void mouse(EventType type, GridUnitStackView& target, double dx = 0) {
        const auto point = target.convertPointToView({10 + dx, 10}, nullptr);
        window().sendEvent(Event::mouseEvent(type, point, &window()));
    }
    Elements elements;
};

TEST_F(GridCellTest, OutlinesFollowTheElementsState) {
    GridUnitStackView& plain = cell(0, 0);
    EXPECT_EQ(plain.outlineWidth(), 2);
    EXPECT_EQ(plain.outlineColor(), Color::lightGrayColor());
    elements[0][0]->current = true;
    EXPECT_EQ(plain.outlineWidth(), 5);
    EXPECT_EQ(plain.outlineColor(), Color::white());
    elements[0][0]->setIsNewSelection(true);
    EXPECT_EQ(plain.outlineWidth(), 5);
    EXPECT_EQ(plain.outlineColor(), Color::controlAccentColor().withAlpha(0.9));
    elements[0][0]->current = false;
    EXPECT_EQ(plain.outlineWidth(), 3);
    EXPECT_EQ(cell(1, 1).outlineColor(), std::nullopt);  // padding: its element's border, none
    EXPECT_EQ(cell(1, 1).translucentView(), nullptr);
    EXPECT_NE(plain.translucentView(), nullptr);
}

TEST_F(GridCellTest, ThePointerHighlightsRealCellsAndLeavingACellLetsGoOfTheHighlight) {
    hover(GridLoc{0, 1});
    hover(GridLoc{1, 1});  // padding never takes the highlight
    EXPECT_EQ(delegate->selections, (std::vector<std::optional<std::string>>{"0,1", std::nullopt}));
    hover(GridLoc{0, 0});
    controller->move(4);  // keys move it on
    controller->setCursorSelects(false);
    hover(std::nullopt);  // out and back in while the pointer does not select
    hover(GridLoc{0, 0});
    ASSERT_TRUE(viewController().newSelection);
    EXPECT_EQ(viewController().newSelection->loc, (GridLoc{0, 1}))
        << "the pointer is not selecting";
    controller->setCursorSelects(true);
    hover(std::nullopt);  // leaving (0, 0) lets go, wherever the keys put the highlight
    EXPECT_FALSE(viewController().newSelection);
}

TEST_F(GridCellTest, AClickSelectsUnlessItBecameADrag) {
    GridUnitStackView& target = cell(0, 0);
    mouse(EventType::leftMouseDown, target);
    mouse(EventType::leftMouseDragged, target);
    mouse(EventType::leftMouseDragged, target, 10);  // exactly 10: no drag
    mouse(EventType::leftMouseUp, target, 10);
    EXPECT_EQ(elements[0][0]->selections, 1);
    EXPECT_FALSE(target.dragOrigin());

    mouse(EventType::leftMouseDown, target);
    mouse(EventType::leftMouseDragged, target);
    mouse(EventType::leftMouseDragged, target, 11);
    EXPECT_EQ(viewController().draggedCell()->loc, (GridLoc{0, 0}));
    mouse(EventType::leftMouseUp, target, 11);
    EXPECT_EQ(elements[0][0]->selections, 1);
    EXPECT_FALSE(viewController().draggedCell());  // no drop took it: the next click selects again

    mouse(EventType::leftMouseDragged, cell(1, 1));  // padding never drags
    mouse(EventType::leftMouseDragged, cell(1, 1), 50);
    EXPECT_FALSE(viewController().draggedCell());
}

TEST_F(GridCellTest, ASelectionThatRebuildsTheGridLeavesTheClickedCellAlive) {
    elements[0][0]->onSelect = [this] { reload(elementsOf({1})); };
    mouse(EventType::leftMouseDown, cell(0, 0));
    mouse(EventType::leftMouseUp, cell(0, 0));  // the cell is replaced while it handles this
    EXPECT_EQ(elements[0][0]->selections, 1);
    EXPECT_EQ(viewController().gridView()->numberOfRows(), 1);
}

TEST_F(GridCellTest, RenamingMakesThePanelBusyAndTheEndRestoresItThroughTheControllers) {
    controller->show(AutoClose::on);
    elements[0][0]->setColor(Color::hsb(0, 1, 1));  // red: hue 0 is a colour
    GridUnitStackView& target = cell(0, 0);
    target.openRenameDialog(*target.titleButton());
    EXPECT_TRUE(controller->isRenaming());
    EXPECT_TRUE(controller->isEditing());
    EXPECT_FALSE(viewController().hasMonitors());
    clock.advance(3000);      // the rename stopped the auto-close
    controller->close();      // waits for the rename
    reload(elementsOf({1}));  // waits too
    EXPECT_TRUE(controller->isOpen());
    EXPECT_EQ(viewController().gridView()->numberOfRows(), 2);

    platform::Window& popoverWindow = *target.dialogPopover()->popover().window();
    EXPECT_FALSE(window().isKeyWindow());
    popoverWindow.sendEvent(Event::keyEvent(EventType::keyDown, 11, {}, "b", "b"));
    popoverWindow.sendEvent(Event::keyEvent(EventType::keyUp, 36, {}, "\r", "\r"));  // Return: OK
    EXPECT_EQ(elements[0][0]->title(), "0,0b");
    EXPECT_EQ(elements[0][0]->color(), Color::hsb(0, 1, 1));  // the slider was not moved
    EXPECT_EQ(delegate->gridChanges.size(), 1u);
    EXPECT_FALSE(controller->isRenaming());
    EXPECT_FALSE(controller->isEditing());
    EXPECT_TRUE(viewController().hasMonitors());
    EXPECT_EQ(viewController().gridView()->numberOfRows(), 1);  // the waiting rebuild ran
    EXPECT_FALSE(controller->isOpen());                         // and the waiting close
    EXPECT_EQ(delegate->closes, 1);
}

TEST_F(GridCellTest, CancellingOrClickingAwayChangesNothingAndKeepsThePanelOpen) {
    elements[0][1]->setTitle("");
    reload(elements);
    GridUnitStackView& target = cell(0, 1);
    EXPECT_TRUE(target.titleButton()->isHidden());
    EXPECT_TRUE(target.titleButton()->image());  // the pencil
    target.openRenameDialog(*target.titleButton());
    target.dialogPopover()->inputField().setStringValue("lost");
    target.dialogPopover()->cancelPressed();
    EXPECT_EQ(elements[0][1]->title(), "");
    EXPECT_FALSE(controller->isRenaming());
    EXPECT_TRUE(controller->isOpen());
    EXPECT_TRUE(window().isKeyWindow());

    target.openRenameDialog(*target.titleButton());
    platform::Application::shared().sendEvent(
        Event::mouseEvent(EventType::leftMouseDown, {1, 1}, &window()));  // outside the popover
    EXPECT_FALSE(target.dialogPopover()->popover().isShown());
    EXPECT_FALSE(controller->isRenaming());
    EXPECT_TRUE(delegate->gridChanges.empty());
    EXPECT_TRUE(controller->isOpen());
}

TEST_F(GridCellTest, TheLabelPopoverOpensBesideTheCellOrLeftOfItAtTheScreenEdge) {
    tools::LabelPopover label("Mail");
    // Borderless, as the panel is.
    platform::Window host(platform::Rect::make(100, 100, 200, 100),
                          platform::Window::Style::borderless,
                          platform::Window::BackingStore::buffered, false);
    auto view = std::make_shared<platform::View>(platform::Rect::make(0, 0, 200, 100));
    host.setContentView(view);
    label.show(*view);
    EXPECT_EQ(label.window().frame().origin, (platform::Point{320, 150}));
    EXPECT_TRUE(label.window().isVisible());
    host.setFrameOrigin({1300, 100});  // no room on the right
    label.show(*view);
    EXPECT_EQ(label.window().frame().maxX(), 1300);
    // A cell at the top right corner: the label stays below the menu bar, left of the cell.
    const platform::Rect visible = host.screen()->visibleFrame();
    host.setFrameOrigin({visible.maxX() - 200, visible.maxY() - 10});
    label.show(*view);
    EXPECT_TRUE(visible.contains(label.window().frame()));
    EXPECT_EQ(label.window().frame().maxX(), visible.maxX() - 200);
}

}  // namespace
}  // namespace zelvana::gridpanel::test
