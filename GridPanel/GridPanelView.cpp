#include "GridPanel/GridPanelView.hpp"

#include <algorithm>
#include <utility>

#include "GridPanel/DropPreview.hpp"
#include "GridPanel/GridPanelViewController.hpp"
#include "GridPanel/GridUnitStackView.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::gridpanel {

using platform::DraggingInfo;
using platform::DragOperation;
using platform::DragOperations;

namespace {

std::size_t longestRow(const CellGrid& grid) {
    std::size_t longest = 0;
    for (const auto& row : grid) longest = std::max(longest, row.size());
    return longest;
}

bool sameShape(const CellGrid& a, const CellGrid& b) {
    return a.grid.size() == b.grid.size() && longestRow(a) == longestRow(b);
}

// The first landing place of a preview, in reading order.
std::optional<GridLoc> firstTarget(const CellGrid& grid) {
    std::optional<GridLoc> found;
    grid.forEachCell([&](const CellUnitRef& unit, std::int64_t row, std::int64_t col) {
        if (unit->type() != GridUnitType::target) return true;
        found = GridLoc{row, col};
        return false;
    });
    return found;
}

// The dragged cell's own place shows as empty while it is away.
void showDragOrigin(GridPanelViewController& controller) {
    if (const auto& dragged = controller.draggedCell())
        controller.showEmptyCell(dragged->loc.row, dragged->loc.col);
}

}  // namespace

GridPanelView::GridPanelView(platform::Rect frame) : View(frame) {
    platform::assertMainThread();
    registerForDraggedTypes({gridActionType()});
}

std::optional<GridCoords> GridPanelView::gridCoords(platform::Point locationInWindow) const {
    const auto grid = gridView.lock();
    if (!grid) return std::nullopt;
    // Measured on the panel as it would be uncut: the grid with its margins
    // around it, wherever a grid larger than the screen is scrolled to.
    const platform::Point point = convertPointFromView(locationInWindow, nullptr);
    const platform::Rect shown = grid->convertRectToView(grid->bounds(), this);
    constexpr double margin = GridPanelViewController::gridInset;
    return gridpanel::gridCoords({point.x - shown.minX() + margin, point.y - shown.minY() + margin},
                                 {shown.width() + 2 * margin, shown.height() + 2 * margin},
                                 grid->numberOfColumns(), grid->numberOfRows());
}

DragOperations GridPanelView::draggingEntered(const DraggingInfo& /*info*/) {
    platform::assertMainThread();
    dragOutside = false;
    lastCellCoords.reset();  // a new drag starts with a fresh preview
    GridPanelViewController* controller = viewController.get();
    if (controller) showDragOrigin(*controller);
    return DragOperation::move;
}

DragOperations GridPanelView::draggingUpdated(const DraggingInfo& info) {
    platform::assertMainThread();
    dragOutside = false;
    const auto coords = gridCoords(info.draggingLocation);
    if (!coords || coords == lastCellCoords) return DragOperation::move;
    if (GridPanelViewController* controller = viewController.get()) {
        controller->previewDrop(*coords);
    }
    lastCellCoords = coords;
    return DragOperation::move;
}

bool GridPanelView::performDragOperation(const DraggingInfo& info) {
    platform::assertMainThread();
    const auto coords = gridCoords(info.draggingLocation);
    GridPanelViewController* controller = viewController.get();
    if (!controller) return true;
    const auto& dragged = controller->draggedCell();
    const bool onOrigin = dragged && coords && coords->loc == dragged->loc;
    if (onOrigin && controller->grid) {
        controller->displayGrid(controller->grid->id, controller->grid->grid);
    } else if (!onOrigin) {
        controller->commitDrop();
    }
    controller->setDraggedCell(std::nullopt);
    return !onOrigin;
}

void GridPanelView::draggingExited(const DraggingInfo* /*info*/) {
    platform::assertMainThread();
    dragOutside = true;
    GridPanelViewController* controller = viewController.get();
    if (!controller || !controller->newGrid || !controller->grid) return;
    if (sameShape(*controller->newGrid, *controller->grid)) {
        controller->displayGrid(controller->grid->id, controller->grid->grid);
        showDragOrigin(*controller);
    } else if (const auto target = firstTarget(*controller->newGrid)) {
        // The preview keeps its extra row or column, with the landing place emptied.
        controller->showEmptyCell(target->row, target->col);
    }
}

void GridPanelView::draggingEnded(const DraggingInfo& /*info*/) {
    platform::assertMainThread();
    lastCellCoords.reset();
    const bool endedOutside = std::exchange(dragOutside, false);
    GridPanelViewController* controller = viewController.get();
    if (!controller) return;
    controller->setDraggedCell(std::nullopt);
    if (endedOutside && controller->grid) {
        controller->displayGrid(controller->grid->id, controller->grid->grid);
    }
    // Nothing of this drag's preview is left for the next.
    controller->newGrid.reset();
    controller->gridModified = false;
}

}  // namespace zelvana::gridpanel
