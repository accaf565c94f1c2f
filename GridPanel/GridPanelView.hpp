#pragma once

#include <memory>
#include <optional>

#include "GridPanel/GridLoc.hpp"
#include "GridPanel/StackGridView.hpp"
#include "platform/appkit/DraggingSession.hpp"
#include "platform/appkit/View.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::gridpanel {

class GridPanelViewController;

// The panel's content view and the drop side of a cell drag: while a cell
// is dragged over it, it shows where the cell would land, a drop makes that
// the grid, and leaving or ending elsewhere restores it. It knows its
// controller and the grid weakly. Main thread only.
class GridPanelView : public platform::View, public platform::DraggingDestination {
public:
    explicit GridPanelView(platform::Rect frame);

    platform::WeakRef<GridPanelViewController> viewController;
    std::weak_ptr<StackGridView> gridView;
    // The place of the last drag update, so the preview is rebuilt only when
    // the pointer reaches another cell or edge; none between drags.
    std::optional<GridCoords> lastCellCoords;
    // The drag has left the view since it last entered.
    bool dragOutside = false;

    // The cell and edges under a point in window coordinates.
    std::optional<GridCoords> gridCoords(platform::Point locationInWindow) const;

    platform::DragOperations draggingEntered(const platform::DraggingInfo& info) override;
    platform::DragOperations draggingUpdated(const platform::DraggingInfo& info) override;
    bool prepareForDragOperation(const platform::DraggingInfo& /*info*/) override { return true; }
    // False for a drop on the dragged cell's own place.
    bool performDragOperation(const platform::DraggingInfo& info) override;
    void draggingExited(const platform::DraggingInfo* info) override;
    void draggingEnded(const platform::DraggingInfo& info) override;
};

}  // namespace zelvana::gridpanel
