#include "platform/appkit/OutlineView.hpp"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/appkit/GraphicsContext.hpp"
#include "platform/appkit/VirtualKeyCodes.hpp"
#include "platform/appkit/Window.hpp"

namespace zelvana::platform {
namespace {

// Fruit (Apple, Pear), Vegetables (Leek), Bread.
class Tree : public OutlineViewDataSource, public OutlineViewDelegate {
public:
    const std::string fruit = "Fruit", apple = "Apple", pear = "Pear", vegetables = "Vegetables",
                      leek = "Leek", bread = "Bread";

    int numberOfChildrenOfItem(OutlineItem item) override {
        return static_cast<int>(children(item).size());
    }
    OutlineItem child(int index, OutlineItem item) override {
        return children(item).at(static_cast<std::size_t>(index));
    }
    bool isItemExpandable(OutlineItem item) override { return !children(item).empty(); }
    std::string objectValue(OutlineItem item) override {
        return *static_cast<const std::string*>(item);
    }
    void outlineViewSelectionDidChange(OutlineView& outline) override {
        selections.push_back(outline.selectedRow());
    }

    std::vector<int> selections;

private:
    std::vector<OutlineItem> children(OutlineItem item) const {
        if (!item) return {&fruit, &vegetables, &bread};
        if (item == &fruit) return {&apple, &pear};
        if (item == &vegetables) return {&leek};
        return {};
    }
};

class OutlineViewTest : public ::testing::Test {
protected:
    OutlineViewTest() {
        outline->setDataSource(&tree);
        outline->setDelegate(&tree);
        outline->reloadData();
        window.setContentView(outline);
        window.makeKeyWindow();
        window.makeFirstResponder(outline.get());
    }

    void press(std::uint16_t keyCode) {
        window.sendEvent(Event::keyEvent(EventType::keyDown, keyCode, {}, "", ""));
    }
    void click(double x, double y) {
        window.sendEvent(Event::mouseEvent(EventType::leftMouseDown, {x, y}, &window));
        window.sendEvent(Event::mouseEvent(EventType::leftMouseUp, {x, y}, &window));
    }
    std::vector<std::string> shownRows() {
        std::vector<std::string> shown;
        for (int row = 0; row < outline->numberOfRows(); ++row) {
            shown.push_back(std::string(outline->levelForRow(row), ' ') +
                            tree.objectValue(outline->itemAtRow(row)));
        }
        return shown;
    }

    Tree tree;
    Window window{Rect::make(0, 0, 200, 120)};
    std::shared_ptr<OutlineView> outline =
        std::make_shared<OutlineView>(Rect::make(0, 0, 200, 120));
};

TEST_F(OutlineViewTest, ExpandingShowsTheChildrenBelowTheirParent) {
    EXPECT_EQ(shownRows(), (std::vector<std::string>{"Fruit", "Vegetables", "Bread"}));
    outline->expandItem(&tree.vegetables);
    outline->expandItem(&tree.fruit);
    outline->expandItem(&tree.bread);  // a leaf
    EXPECT_EQ(shownRows(), (std::vector<std::string>{"Fruit", " Apple", " Pear", "Vegetables",
                                                     " Leek", "Bread"}));
    EXPECT_EQ(outline->parentForItem(&tree.leek), &tree.vegetables);
    EXPECT_EQ(outline->intrinsicContentSize().height, 6 * OutlineView::rowHeight);

    outline->collapseItem(&tree.fruit);
    EXPECT_EQ(shownRows(), (std::vector<std::string>{"Fruit", "Vegetables", " Leek", "Bread"}));
    EXPECT_EQ(outline->rowForItem(&tree.apple), -1);
}

TEST_F(OutlineViewTest, ArrowKeysWalkTheRowsAndOpenAndCloseThem) {
    press(kVK_DownArrow);
    EXPECT_EQ(outline->itemAtRow(outline->selectedRow()), &tree.fruit);
    press(kVK_RightArrow);
    press(kVK_DownArrow);
    press(kVK_DownArrow);
    EXPECT_EQ(outline->itemAtRow(outline->selectedRow()), &tree.pear);
    press(kVK_LeftArrow);  // a leaf: to its parent
    EXPECT_EQ(outline->itemAtRow(outline->selectedRow()), &tree.fruit);
    press(kVK_LeftArrow);
    EXPECT_FALSE(outline->isItemExpanded(&tree.fruit));
    press(kVK_UpArrow);
    EXPECT_EQ(outline->selectedRow(), 0) << "the top row stays";
    EXPECT_EQ(tree.selections, (std::vector<int>{0, 1, 2, 0}));
}

TEST_F(OutlineViewTest, ClicksSelectRowsAndTheTriangleOpensAndCloses) {
    const double row = OutlineView::rowHeight;
    click(80, 2.5 * row);
    EXPECT_EQ(outline->itemAtRow(outline->selectedRow()), &tree.bread);
    click(5, 0.5 * row);  // Fruit's triangle
    EXPECT_TRUE(outline->isItemExpanded(&tree.fruit));
    EXPECT_EQ(outline->itemAtRow(outline->selectedRow()), &tree.bread) << "the selection stays";
    click(80, 2.5 * row);
    EXPECT_EQ(outline->itemAtRow(outline->selectedRow()), &tree.pear);
    click(5, 0.5 * row);
    EXPECT_EQ(outline->itemAtRow(outline->selectedRow()), &tree.fruit)
        << "a hidden selection moves to the collapsed item";
    click(80, 6 * row);
    EXPECT_EQ(outline->selectedRow(), -1) << "below the rows";

    Image picture(Size{200, 120});
    outline->selectRow(1);
    {
        GraphicsContext context(picture);
        outline->drawRect(context, outline->bounds());
    }
    EXPECT_GT(picture.pixelAt(100, static_cast<int>(1.5 * row)).alpha, 0) << "the selected row";
    EXPECT_EQ(picture.pixelAt(100, static_cast<int>(4.5 * row)).alpha, 0) << "past the rows";
}

}  // namespace
}  // namespace zelvana::platform
