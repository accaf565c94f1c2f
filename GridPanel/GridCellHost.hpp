#pragma once

#include <optional>

#include "GridPanel/GridLoc.hpp"

namespace zelvana::gridpanel {

// What a cell of the grid panel asks of the panel that holds it: the
// highlight under the pointer, the one drag in progress, the scale of the
// cells and the life of its rename popover. Main thread only.
class GridCellHost {
public:
    // The pointer entered `cell`, or left a cell (none).
    virtual void pointerMoved(const std::optional<CellUnitAndLoc>& cell) = 0;

    // The cell being dragged, from the start of a drag to its drop.
    virtual const std::optional<CellUnitAndLoc>& draggedCell() const = 0;
    virtual void setDraggedCell(std::optional<CellUnitAndLoc> cell) = 0;

    // The share of its element's size a cell is drawn at: less than 1 while
    // the panel shrinks its cells to fit the screen.
    virtual double cellScale() const { return 1; }

    virtual void renameWillBegin() = 0;
    virtual void renameWillEnd() = 0;
    enum class RenameEnd { confirmed, cancelled };
    virtual void renameDidEnd(RenameEnd end) = 0;

protected:
    ~GridCellHost() = default;
};

}  // namespace zelvana::gridpanel
