#include "platform/appkit/OutlineView.hpp"

#include <algorithm>
#include <cmath>

#include "platform/appkit/BezierPath.hpp"
#include "platform/appkit/Color.hpp"
#include "platform/appkit/Font.hpp"
#include "platform/appkit/GraphicsContext.hpp"
#include "platform/appkit/VirtualKeyCodes.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

void OutlineView::reloadData() {
    platform::assertMainThread();
    rebuildRows();
    std::erase_if(expanded_, [this](OutlineItem item) { return rowForItem(item) < 0; });
    if (selected_ && rowForItem(selected_) < 0) selectItem(nullptr);
    setNeedsDisplay(true);
}

void OutlineView::rebuildRows() {
    rows_.clear();
    if (dataSource_) appendChildren(nullptr, 0);
}

void OutlineView::appendChildren(OutlineItem parent, int level) {
    const int count = dataSource_->numberOfChildrenOfItem(parent);
    for (int index = 0; index < count; ++index) {
        const OutlineItem item = dataSource_->child(index, parent);
        rows_.push_back(Row{item, level, parent});
        if (expanded_.contains(item) && dataSource_->isItemExpandable(item)) {
            appendChildren(item, level + 1);
        }
    }
}

OutlineItem OutlineView::itemAtRow(int row) const {
    return row >= 0 && row < numberOfRows() ? rows_[static_cast<std::size_t>(row)].item : nullptr;
}

int OutlineView::rowForItem(OutlineItem item) const {
    const auto found = std::ranges::find(rows_, item, &Row::item);
    return found == rows_.end() || !item ? -1 : static_cast<int>(found - rows_.begin());
}

int OutlineView::levelForRow(int row) const {
    return row >= 0 && row < numberOfRows() ? rows_[static_cast<std::size_t>(row)].level : -1;
}

OutlineItem OutlineView::parentForItem(OutlineItem item) const {
    const int row = rowForItem(item);
    return row < 0 ? nullptr : rows_[static_cast<std::size_t>(row)].parent;
}

bool OutlineView::isExpandable(OutlineItem item) const {
    return dataSource_ && rowForItem(item) >= 0 && dataSource_->isItemExpandable(item);
}

bool OutlineView::isItemExpanded(OutlineItem item) const {
    return expanded_.contains(item);
}

void OutlineView::expandItem(OutlineItem item) {
    platform::assertMainThread();
    if (!isExpandable(item) || isItemExpanded(item)) return;
    expanded_.insert(item);
    rebuildRows();
    setNeedsDisplay(true);
}

void OutlineView::collapseItem(OutlineItem item) {
    platform::assertMainThread();
    if (!isItemExpanded(item)) return;
    expanded_.erase(item);
    rebuildRows();
    if (selected_ && rowForItem(selected_) < 0) selectItem(item);
    setNeedsDisplay(true);
}

int OutlineView::selectedRow() const {
    return selected_ ? rowForItem(selected_) : -1;
}

void OutlineView::selectRow(int row) {
    platform::assertMainThread();
    if (row == -1) return selectItem(nullptr);
    if (const OutlineItem item = itemAtRow(row)) selectItem(item);
}

void OutlineView::selectItem(OutlineItem item) {
    if (item == selected_) return;
    selected_ = item;
    setNeedsDisplay(true);
    if (delegate_) delegate_->outlineViewSelectionDidChange(*this);
}

Size OutlineView::intrinsicContentSize() const {
    return Size{noIntrinsicMetric, rowHeight * numberOfRows()};
}

void OutlineView::keyDown(const Event& event) {
    platform::assertMainThread();
    const int row = selectedRow();
    switch (event.keyCode) {
        case kVK_DownArrow:
            return selectRow(std::min(row + 1, numberOfRows() - 1));
        case kVK_UpArrow:
            return selectRow(row < 0 ? 0 : std::max(row - 1, 0));
        case kVK_RightArrow:
            return expandItem(selected_);
        case kVK_LeftArrow:
            if (isItemExpanded(selected_)) return collapseItem(selected_);
            if (const OutlineItem parent = parentForItem(selected_)) selectItem(parent);
            return;
        default:
            View::keyDown(event);
    }
}

Rect OutlineView::triangleRect(int row) const {
    return Rect::make(levelForRow(row) * indentationPerLevel, row * rowHeight, indentationPerLevel,
                      rowHeight);
}

void OutlineView::mouseDown(const Event& event) {
    platform::assertMainThread();
    const Point point = convertPointFromView(event.locationInWindow, nullptr);
    const int row = static_cast<int>(std::floor(point.y / rowHeight));
    const OutlineItem item = itemAtRow(row);
    if (!item) return selectItem(nullptr);
    if (isExpandable(item) && triangleRect(row).contains(point)) {
        return isItemExpanded(item) ? collapseItem(item) : expandItem(item);
    }
    selectItem(item);
}

void OutlineView::drawRect(GraphicsContext& context, Rect /*dirtyRect*/) {
    platform::assertMainThread();
    const Font font = Font::systemFont(13);
    for (int row = 0; row < numberOfRows(); ++row) {
        const Rect line = Rect::make(0, row * rowHeight, bounds().width(), rowHeight);
        const bool selected = row == selectedRow();
        if (selected) {
            context.setFillColor(Color::controlAccentColor());
            context.fillRect(line);
        }
        const Color textColor = selected ? Color::white() : Color::labelColor();
        const OutlineItem item = itemAtRow(row);
        if (isExpandable(item)) {
            // Pointing right when collapsed, down when expanded.
            const Rect box = triangleRect(row);
            const Point centre{box.minX() + box.width() / 2, box.minY() + box.height() / 2};
            BezierPath triangle;
            if (isItemExpanded(item)) {
                triangle.moveTo({centre.x - 4, centre.y - 2});
                triangle.lineTo({centre.x + 4, centre.y - 2});
                triangle.lineTo({centre.x, centre.y + 3});
            } else {
                triangle.moveTo({centre.x - 2, centre.y - 4});
                triangle.lineTo({centre.x + 3, centre.y});
                triangle.lineTo({centre.x - 2, centre.y + 4});
            }
            triangle.closePath();
            context.setFillColor(selected ? Color::white() : Color::secondaryLabelColor());
            context.fill(triangle);
        }
        context.drawText(dataSource_->objectValue(item),
                         Point{(levelForRow(row) + 1) * indentationPerLevel, line.minY() + 1}, font,
                         textColor);
    }
}

}  // namespace zelvana::platform
