#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "GridPanel/CellUnit.hpp"
#include "GridPanel/Directional.hpp"
#include "GridPanel/GridLoc.hpp"

namespace zelvana::gridpanel {

// The panel's grid: rows of cells, which may differ in length or be empty,
// and the host's tag for it. The walkers find the cell that keyboard
// navigation moves to; none of them lands in an empty row or outside a row,
// and a start outside its row (left over from an older grid) is pulled back
// into it first. Main thread only.
struct CellGrid {
    using Row = std::vector<CellUnitRef>;
    // Gets the cell, its row and column; returns whether to go on.
    using Visitor = std::function<bool(const CellUnitRef&, std::int64_t, std::int64_t)>;

    // The host's tag, handed back with every change.
    std::optional<std::int64_t> id;
    std::vector<Row> grid;

    auto begin() const { return grid.begin(); }
    auto end() const { return grid.end(); }

    // The cell at a place; none outside the grid.
    std::optional<CellUnitAndLoc> at(GridLoc loc) const;

    // The first cell of the first row with cells; null when there is none.
    CellUnitRef firstCell() const;
    std::optional<CellUnitAndLoc> firstCellAndLoc() const;
    // The last cell of the last row with cells.
    std::optional<CellUnitAndLoc> lastCell() const;

    // Reading order, wrapping from the last cell to the first; none without
    // a start.
    std::optional<CellUnitAndLoc> nextCell(const std::optional<CellUnitAndLoc>& start) const;
    // Reading order backwards, wrapping from the first cell to the last.
    std::optional<CellUnitAndLoc> previousCell(const std::optional<CellUnitAndLoc>& start) const;
    // The neighbour in a direction, staying put at the edges; without a
    // start, the first cell.
    std::optional<CellUnitAndLoc> cellInDirection(Directional direction,
                                                  const std::optional<CellUnitAndLoc>& start) const;

    // Every cell in reading order until the visitor says stop.
    void forEachCell(const Visitor& visitor) const;

private:
    std::int64_t rowCount() const;
    // 0 for a row that does not exist.
    std::int64_t rowLength(std::int64_t row) const;
    // The start inside its row; none when its row is gone or empty.
    std::optional<GridLoc> clampedStart(const CellUnitAndLoc& start) const;

    std::optional<CellUnitAndLoc> vertical(GridLoc from, std::int64_t toRow) const;
    std::optional<CellUnitAndLoc> left(GridLoc from) const;
    std::optional<CellUnitAndLoc> right(GridLoc from) const;
    std::optional<CellUnitAndLoc> upLeft(GridLoc from) const;
    std::optional<CellUnitAndLoc> diagonalRight(GridLoc from, std::int64_t toRow) const;
    std::optional<CellUnitAndLoc> downLeft(GridLoc from) const;
};

}  // namespace zelvana::gridpanel
