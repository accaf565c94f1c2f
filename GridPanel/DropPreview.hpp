#pragma once

#include <cstdint>
#include <optional>

#include "GridPanel/CellGrid.hpp"
#include "GridPanel/GridLoc.hpp"
#include "platform/appkit/Rect.hpp"

namespace zelvana::gridpanel {

// What a drag would make of the grid: the arrangement shown while a cell is
// dragged over the panel, and whether it differs from the grid.
struct DropPreview {
    CellGrid grid;
    bool modified = true;
};

// How near an edge of a cell the pointer must be to count as at it.
inline constexpr double kDropEdgeMargin = 20;

// The cell and edges under `point` (view coordinates, y down) of a view of
// `size` divided evenly into `rows` by `columns`; the row and column are
// held inside the grid. None for a grid without rows or columns.
std::optional<GridCoords> gridCoords(platform::Point point, platform::Size size,
                                     std::int64_t columns, std::int64_t rows);

// The grid with the cell at `origin` taken out and a target landing place at
// `target`: before the cell under the pointer, after it when moving right
// along its own row or near the right edge of a row's last cell, in a new
// row below when near the bottom of the last row (or over that new row).
// Back on its own place the cell shows as a placeholder and nothing differs.
DropPreview dropPreview(const CellGrid& grid, GridLoc origin, GridCoords target);

// The grid a drop of `dragged` onto `preview` makes: its target replaced by
// the dragged cell, empty rows left out. None unless the preview holds
// exactly one target, so a drop never loses the cell or places an empty one.
std::optional<CellGrid> committedGrid(const CellGrid& preview, const CellUnitRef& dragged);

}  // namespace zelvana::gridpanel
