#include <gtest/gtest.h>

#include <memory>

#include "GridPanel/StackGridView.hpp"

namespace zelvana::gridpanel {
namespace {

using platform::View;

std::shared_ptr<View> box() {
    return std::make_shared<View>(platform::Rect::make(0, 0, 10, 10));
}

TEST(StackGridViewTest, RowsOfWrappedViewsAndTheirEdges) {
    StackGridView grid;
    grid.columnSpacing = 23;
    grid.setRows({});
    EXPECT_EQ(grid.numberOfRows(), 1);
    EXPECT_EQ(grid.numberOfColumns(), 1);

    auto first = box();
    grid.setRows({{first, box(), box()}, {box()}});
    EXPECT_EQ(grid.numberOfColumns(), 3);
    EXPECT_EQ(grid.singleStackView(0, 0)->arrangedSubviews().front(), first);
    for (auto [row, col] : {std::pair{-1, 0}, {0, -1}, {0, 3}, {2, 0}, {1, 1}}) {
        EXPECT_EQ(grid.singleStackView(row, col), nullptr) << row << "," << col;
    }
    auto* row = dynamic_cast<platform::StackView*>(grid.arrangedSubviews()[0].get());
    EXPECT_EQ(row->spacing(), 23);

    grid.appendView(box(), 1);
    grid.appendView(box(), 5);
    EXPECT_NE(grid.singleStackView(1, 1), nullptr);
    grid.removeViews(2, 0);  // from the last column: one view
    EXPECT_EQ(grid.numberOfColumns(), 2);
    grid.removeViews(2, 0);  // at the count: nothing
    grid.removeViews(0, 1);
    EXPECT_EQ(grid.singleStackView(1, 0), nullptr);
    EXPECT_EQ(grid.numberOfColumns(), 2);
}

// A view of a set size that counts how often it is measured.
class Measured : public View {
public:
    explicit Measured(double width) : width_(width) {}
    platform::Size fittingSize() const override {
        ++measured;
        return {width_, 10};
    }
    void grow(double width) {
        width_ = width;
        invalidateIntrinsicContentSize();
    }
    mutable int measured = 0;

private:
    double width_;
};

// Rows keep their measurements until a view in them says it changed: a grid
// of thousands of cells must not measure every cell on every show.
TEST(StackGridViewTest, ARowMeasuresAndPlacesAgainOnlyWhatToldItOfAChange) {
    auto first = std::make_shared<Measured>(30);
    auto second = std::make_shared<Measured>(20);
    StackGridView grid;
    grid.columnSpacing = 5;
    grid.setRows({{first, second}});
    grid.setFrame(platform::Rect::make(0, 0, 200, 40));
    grid.layout();
    const auto placed = [&] { return second->superview()->frame().minX(); };
    EXPECT_EQ(placed(), 35);
    EXPECT_EQ(grid.fittingSize().width, 55);

    first->measured = 0;
    grid.layout();
    EXPECT_EQ(grid.fittingSize().width, 55);
    EXPECT_EQ(first->measured, 0) << "nothing changed, nothing measured";

    first->grow(50);
    EXPECT_EQ(grid.fittingSize().width, 75);
    grid.layout();
    EXPECT_EQ(placed(), 55);

    first->setHidden(true);
    grid.layout();
    EXPECT_EQ(placed(), 5) << "a hidden view takes no room; its wrapper, the spacing";
}

}  // namespace
}  // namespace zelvana::gridpanel
