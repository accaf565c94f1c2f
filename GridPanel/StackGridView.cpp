#include "GridPanel/StackGridView.hpp"

#include <algorithm>

#include "platform/core/MainThread.hpp"

namespace zelvana::gridpanel {

using platform::StackView;
using platform::View;

namespace {

std::int64_t count(const std::vector<std::shared_ptr<View>>& views) {
    return static_cast<std::int64_t>(views.size());
}

}  // namespace

StackGridView::StackGridView() {
    platform::assertMainThread();
    setOrientation(Orientation::vertical);
    setAlignment(Alignment::leading);
    setHuggingPriority(750, Orientation::vertical);
}

void StackGridView::setRows(const Rows& rows) {
    platform::assertMainThread();
    while (!arrangedSubviews().empty()) {
        const auto view = arrangedSubviews().front();
        removeArrangedSubview(view.get());
        view->removeFromSuperview();
    }
    const Rows shown = rows.empty() ? Rows{{std::make_shared<View>()}} : rows;
    for (const auto& row : shown) {
        auto stack = std::make_shared<StackView>();
        for (const auto& view : row)
            stack->addArrangedSubview(std::make_shared<SingleStackView>(view));
        addArrangedSubview(stack);
    }
    for (const auto& view : arrangedSubviews()) {
        if (auto* stack = dynamic_cast<StackView*>(view.get())) stack->setSpacing(columnSpacing);
    }
}

StackView* StackGridView::rowStack(std::int64_t row) const {
    if (row < 0 || row >= count(arrangedSubviews())) return nullptr;
    return dynamic_cast<StackView*>(arrangedSubviews()[static_cast<std::size_t>(row)].get());
}

std::int64_t StackGridView::numberOfColumns() const {
    std::int64_t columns = 0;
    for (std::int64_t row = 0; row < numberOfRows(); ++row) {
        if (const StackView* stack = rowStack(row)) {
            columns = std::max(columns, count(stack->arrangedSubviews()));
        }
    }
    return columns;
}

std::int64_t StackGridView::numberOfRows() const {
    return count(arrangedSubviews());
}

SingleStackView* StackGridView::singleStackView(std::int64_t row, std::int64_t col) const {
    const StackView* stack = rowStack(row);
    if (!stack || col < 0 || col >= count(stack->arrangedSubviews())) return nullptr;
    return dynamic_cast<SingleStackView*>(
        stack->arrangedSubviews()[static_cast<std::size_t>(col)].get());
}

void StackGridView::appendView(std::shared_ptr<View> view, std::int64_t row) {
    platform::assertMainThread();
    if (StackView* stack = rowStack(row)) {
        stack->addArrangedSubview(std::make_shared<SingleStackView>(std::move(view)));
    }
}

void StackGridView::removeViews(std::int64_t startCol, std::int64_t row) {
    platform::assertMainThread();
    StackView* stack = rowStack(row);
    if (!stack || startCol < 0 || count(stack->arrangedSubviews()) <= startCol) return;
    while (count(stack->arrangedSubviews()) > startCol) {
        const auto view = stack->arrangedSubviews().back();
        stack->removeArrangedSubview(view.get());
        view->removeFromSuperview();
    }
}

}  // namespace zelvana::gridpanel
