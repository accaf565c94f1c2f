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

}  // namespace
}  // namespace zelvana::gridpanel
