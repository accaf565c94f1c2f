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

// Whether the row stack holds exactly these views, each in its wrapper.
bool holds(const View& row, const std::vector<std::shared_ptr<View>>& views) {
    const auto* stack = dynamic_cast<const StackView*>(&row);
    if (!stack || stack->arrangedSubviews().size() != views.size()) return false;
    for (std::size_t c = 0; c < views.size(); ++c) {
        const auto& wrapper = stack->arrangedSubviews()[c];
        if (views[c]->superview() != wrapper.get()) return false;
    }
    return true;
}

std::shared_ptr<StackView> makeRow(const std::vector<std::shared_ptr<View>>& views,
                                   double spacing) {
    auto stack = std::make_shared<SteadyStackView>();
    stack->setSpacing(spacing);
    for (const auto& view : views)
        stack->addArrangedSubview(std::make_shared<SingleStackView>(view));
    return stack;
}

}  // namespace

StackGridView::StackGridView() {
    platform::assertMainThread();
    setOrientation(Orientation::vertical);
    setAlignment(Alignment::leading);
    setHuggingPriority(750, Orientation::vertical);
}

// A row that holds the same views as before stays as it is: a grid of
// thousands of cells changes only where it changed.
void StackGridView::setRows(const Rows& rows) {
    platform::assertMainThread();
    // Not copied: each copied view is a reference count to touch, in thousands of cells.
    const Rows placeholder = rows.empty() ? Rows{{std::make_shared<View>()}} : Rows{};
    const Rows& shown = rows.empty() ? placeholder : rows;
    arranging_ = true;
    while (arrangedSubviews().size() > shown.size()) {
        const auto view = arrangedSubviews().back();
        removeArrangedSubview(view.get());
        view->removeFromSuperview();
    }
    for (std::size_t r = 0; r < shown.size(); ++r) {
        if (r < arrangedSubviews().size()) {
            const auto old = arrangedSubviews()[r];
            if (holds(*old, shown[r])) continue;
            removeArrangedSubview(old.get());
            old->removeFromSuperview();
        }
        insertArrangedSubview(makeRow(shown[r], columnSpacing), r);
    }
    for (const auto& view : arrangedSubviews()) {
        if (auto* stack = dynamic_cast<StackView*>(view.get())) stack->setSpacing(columnSpacing);
    }
    arranging_ = false;
    if (window()) layout();
}

void StackGridView::layout() {
    if (!arranging_) StackView::layout();
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
