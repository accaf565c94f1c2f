#include "GridPanel/CellGrid.hpp"

#include <algorithm>

#include "platform/core/MainThread.hpp"

namespace zelvana::gridpanel {

std::int64_t CellGrid::rowCount() const {
    return static_cast<std::int64_t>(grid.size());
}

std::int64_t CellGrid::rowLength(std::int64_t row) const {
    if (row < 0 || row >= rowCount()) return 0;
    return static_cast<std::int64_t>(grid[static_cast<std::size_t>(row)].size());
}

std::optional<CellUnitAndLoc> CellGrid::at(GridLoc loc) const {
    platform::assertMainThread();
    if (loc.col < 0 || loc.col >= rowLength(loc.row)) return std::nullopt;
    const auto& row = grid[static_cast<std::size_t>(loc.row)];
    return CellUnitAndLoc{row[static_cast<std::size_t>(loc.col)], loc};
}

CellUnitRef CellGrid::firstCell() const {
    platform::assertMainThread();
    auto first = firstCellAndLoc();
    return first ? first->unit : nullptr;
}

std::optional<CellUnitAndLoc> CellGrid::firstCellAndLoc() const {
    platform::assertMainThread();
    for (std::int64_t row = 0; row < rowCount(); ++row) {
        if (rowLength(row) > 0) return at({row, 0});
    }
    return std::nullopt;
}

std::optional<CellUnitAndLoc> CellGrid::lastCell() const {
    platform::assertMainThread();
    for (std::int64_t row = rowCount() - 1; row >= 0; --row) {
        if (rowLength(row) > 0) return at({row, rowLength(row) - 1});
    }
    return std::nullopt;
}

std::optional<GridLoc> CellGrid::clampedStart(const CellUnitAndLoc& start) const {
    const std::int64_t length = rowLength(start.loc.row);
    if (length == 0) return std::nullopt;
    return GridLoc{start.loc.row, std::clamp<std::int64_t>(start.loc.col, 0, length - 1)};
}

std::optional<CellUnitAndLoc> CellGrid::nextCell(const std::optional<CellUnitAndLoc>& start) const {
    platform::assertMainThread();
    if (!start) return std::nullopt;
    const auto from = clampedStart(*start);
    if (!from) return firstCellAndLoc();
    if (from->col + 1 < rowLength(from->row)) return at({from->row, from->col + 1});
    // Empty rows are passed over: they have no cell to land on.
    for (std::int64_t row = from->row + 1; row < rowCount(); ++row) {
        if (rowLength(row) > 0) return at({row, 0});
    }
    return firstCellAndLoc();
}

std::optional<CellUnitAndLoc> CellGrid::previousCell(
    const std::optional<CellUnitAndLoc>& start) const {
    platform::assertMainThread();
    if (!start) return std::nullopt;
    const auto from = clampedStart(*start);
    if (!from) return lastCell();
    if (from->col - 1 >= 0) return at({from->row, from->col - 1});
    for (std::int64_t row = from->row - 1; row >= 0; --row) {
        if (rowLength(row) > 0) return at({row, rowLength(row) - 1});
    }
    return lastCell();
}

std::optional<CellUnitAndLoc> CellGrid::cellInDirection(
    Directional direction, const std::optional<CellUnitAndLoc>& start) const {
    platform::assertMainThread();
    if (!start) return firstCellAndLoc();
    const auto from = clampedStart(*start);
    if (!from) return firstCellAndLoc();
    switch (direction) {
        case Directional::u:
            return vertical(*from, from->row - 1);
        case Directional::d:
            return vertical(*from, from->row + 1);
        case Directional::l:
            return left(*from);
        case Directional::r:
            return right(*from);
        case Directional::ul:
            return upLeft(*from);
        case Directional::ur:
            return diagonalRight(*from, from->row - 1);
        case Directional::dl:
            return downLeft(*from);
        case Directional::dr:
            return diagonalRight(*from, from->row + 1);
    }
    return at(*from);
}

// Same column, or the end of a shorter row; stays at the top and bottom and
// before an empty row.
std::optional<CellUnitAndLoc> CellGrid::vertical(GridLoc from, std::int64_t toRow) const {
    const std::int64_t length = rowLength(toRow);
    if (length == 0) return at(from);
    return at({toRow, std::min(from.col, length - 1)});
}

// At column 0 it gives column 0 again.
std::optional<CellUnitAndLoc> CellGrid::left(GridLoc from) const {
    return at({from.row, std::max<std::int64_t>(from.col - 1, 0)});
}

// At the end of the row it gives the same column again.
std::optional<CellUnitAndLoc> CellGrid::right(GridLoc from) const {
    return at({from.row, std::min(from.col + 1, rowLength(from.row) - 1)});
}

// Falls back to column 0 when the column before lies beyond the row above.
std::optional<CellUnitAndLoc> CellGrid::upLeft(GridLoc from) const {
    const std::int64_t toRow = from.row - 1;
    if (toRow < 0) return left(from);
    const std::int64_t length = rowLength(toRow);
    if (length == 0) return at(from);
    const std::int64_t col = from.col - 1;
    return at({toRow, col >= 0 && col < length ? col : 0});
}

// Stays put when neither the next nor the same column exists in that row.
std::optional<CellUnitAndLoc> CellGrid::diagonalRight(GridLoc from, std::int64_t toRow) const {
    if (toRow < 0 || toRow >= rowCount()) return right(from);
    const std::int64_t length = rowLength(toRow);
    if (from.col + 1 < length) return at({toRow, from.col + 1});
    if (from.col < length) return at({toRow, from.col});
    return at(from);
}

// Stays put when the column before lies beyond the row below.
std::optional<CellUnitAndLoc> CellGrid::downLeft(GridLoc from) const {
    const std::int64_t toRow = from.row + 1;
    if (toRow >= rowCount()) return left(from);
    const std::int64_t col = std::max<std::int64_t>(from.col - 1, 0);
    if (col < rowLength(toRow)) return at({toRow, col});
    return at(from);
}

void CellGrid::forEachCell(const Visitor& visitor) const {
    platform::assertMainThread();
    for (std::int64_t row = 0; row < rowCount(); ++row) {
        for (std::int64_t col = 0; col < rowLength(row); ++col) {
            if (!visitor(grid[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)], row,
                         col)) {
                return;
            }
        }
    }
}

}  // namespace zelvana::gridpanel
