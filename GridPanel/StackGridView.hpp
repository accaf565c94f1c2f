#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "GridPanel/SingleStackView.hpp"
#include "platform/appkit/StackView.hpp"

namespace zelvana::gridpanel {

// The panel's cells as rows of equal spacing: a vertical stack of horizontal
// row stacks, each cell wrapped in a SingleStackView. Main thread only.
class StackGridView : public platform::StackView {
public:
    using Rows = std::vector<std::vector<std::shared_ptr<platform::View>>>;

    StackGridView();

    double columnSpacing = 0;
    // Kept for the host; the rows' spacing is columnSpacing.
    double rowSpacing = 0;

    // Replaces the rows; a row holding the same views as before is kept as
    // it is. No rows gives one row holding one empty view.
    void setRows(const Rows& rows);
    // The longest row's length; 0 without rows.
    std::int64_t numberOfColumns() const;
    std::int64_t numberOfRows() const;
    // The wrapper at a place; null outside the grid.
    SingleStackView* singleStackView(std::int64_t row, std::int64_t col) const;
    // Wraps `view` and appends it to the row; nothing for a row that is not there.
    void appendView(std::shared_ptr<platform::View> view, std::int64_t row);
    // Removes the row's views from `startCol` to its end.
    void removeViews(std::int64_t startCol, std::int64_t row);

    // Once the rows are all in place, not for each row put in.
    void layout() override;

private:
    bool arranging_ = false;
    platform::StackView* rowStack(std::int64_t row) const;
};

}  // namespace zelvana::gridpanel
