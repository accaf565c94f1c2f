#include "GridPanel/DropPreview.hpp"

#include <algorithm>
#include <cmath>
#include <memory>

#include "GridPanel/EmptyGridElement.hpp"

namespace zelvana::gridpanel {

namespace {

using Row = CellGrid::Row;

std::int64_t length(const Row& row) {
    return static_cast<std::int64_t>(row.size());
}

// An empty cell of the same size as `beside`'s element; its kind marks its border.
CellUnitRef emptyUnit(const CellUnitRef& beside, GridUnitType type) {
    const auto size = beside ? beside->element()->size() : std::nullopt;
    return std::make_shared<CellUnit>(std::make_shared<EmptyGridElement>(size), type);
}

// The dragged cell moving within its own row.
Row withinRow(const Row& row, std::int64_t from, std::int64_t to, bool& modified) {
    to = std::min(to, length(row) - 1);
    Row result;
    for (std::int64_t c = 0; c < length(row); ++c) {
        const auto& cell = row[static_cast<std::size_t>(c)];
        if (c == to && to == from) {
            result.push_back(emptyUnit(cell, GridUnitType::initial));
            modified = false;
        } else if (c == to) {
            const auto target = emptyUnit(cell, GridUnitType::target);
            result.push_back(to < from ? target : cell);
            result.push_back(to < from ? cell : target);
        } else if (c != from) {
            result.push_back(cell);
        }
    }
    return result;
}

Row withoutCell(const Row& row, std::int64_t col) {
    Row result;
    for (std::int64_t c = 0; c < length(row); ++c) {
        if (c != col) result.push_back(row[static_cast<std::size_t>(c)]);
    }
    return result;
}

// The dragged cell arriving from another row.
Row intoRow(const Row& row, std::int64_t to, Edges edge, const CellUnitRef& first) {
    if (to >= length(row)) {
        Row result = row;
        result.push_back(emptyUnit(first, GridUnitType::target));
        return result;
    }
    Row result;
    for (std::int64_t c = 0; c < length(row); ++c) {
        const auto& cell = row[static_cast<std::size_t>(c)];
        if (c != to) {
            result.push_back(cell);
            continue;
        }
        const auto target = emptyUnit(cell, GridUnitType::target);
        const bool after = edge == Edges(Edge::right) && c == length(row) - 1;
        result.push_back(after ? cell : target);
        result.push_back(after ? target : cell);
    }
    return result;
}

}  // namespace

std::optional<GridCoords> gridCoords(platform::Point point, platform::Size size,
                                     std::int64_t columns, std::int64_t rows) {
    if (columns <= 0 || rows <= 0 || !(size.width > 0) || !(size.height > 0)) return std::nullopt;
    if (!std::isfinite(point.x) || !std::isfinite(point.y)) return std::nullopt;
    const double cellWidth = size.width / static_cast<double>(columns);
    const double cellHeight = size.height / static_cast<double>(rows);
    const auto col = std::clamp<std::int64_t>(
        static_cast<std::int64_t>(std::floor(std::clamp(point.x / cellWidth, -1.0, 1e9))), 0,
        columns - 1);
    const auto row = std::clamp<std::int64_t>(
        static_cast<std::int64_t>(std::floor(std::clamp(point.y / cellHeight, -1.0, 1e9))), 0,
        rows - 1);
    const double left = cellWidth * static_cast<double>(col);
    const double top = cellHeight * static_cast<double>(row);
    Edges edge;
    if (point.x < left + kDropEdgeMargin) {
        edge |= Edge::left;
    } else if (point.x > left + cellWidth - kDropEdgeMargin) {
        edge |= Edge::right;
    }
    if (point.y < top + kDropEdgeMargin) {
        edge |= Edge::top;
    } else if (point.y > top + cellHeight - kDropEdgeMargin) {
        edge |= Edge::bottom;
    }
    return GridCoords{GridLoc{row, col}, edge};
}

DropPreview dropPreview(const CellGrid& grid, GridLoc origin, GridCoords target) {
    const auto rows = static_cast<std::int64_t>(grid.grid.size());
    // Held to the grid and the one new row below it.
    const std::int64_t toRow = std::clamp<std::int64_t>(target.loc.row, 0, rows);
    const std::int64_t toCol = std::max<std::int64_t>(target.loc.col, 0);
    const CellUnitRef first = grid.firstCell();
    DropPreview preview{CellGrid{grid.id, {}}, true};
    for (std::int64_t r = 0; r < rows; ++r) {
        const Row& row = grid.grid[static_cast<std::size_t>(r)];
        if (r == origin.row && r == toRow) {
            preview.grid.grid.push_back(withinRow(row, origin.col, toCol, preview.modified));
        } else if (r == origin.row) {
            preview.grid.grid.push_back(withoutCell(row, origin.col));
        } else if (r == toRow) {
            preview.grid.grid.push_back(intoRow(row, toCol, target.edge, first));
        } else {
            preview.grid.grid.push_back(row);
        }
    }
    if (toRow == rows - 1 && target.edge == Edges(Edge::bottom)) preview.grid.grid.emplace_back();
    if (toRow == rows) preview.grid.grid.push_back(Row{emptyUnit(first, GridUnitType::target)});
    return preview;
}

std::optional<CellGrid> committedGrid(const CellGrid& preview, const CellUnitRef& dragged) {
    if (!dragged) return std::nullopt;
    std::int64_t targets = 0;
    CellGrid result{preview.id, {}};
    for (const Row& row : preview.grid) {
        Row kept;
        bool onlyFill = true;
        for (const auto& unit : row) {
            if (unit->type() == GridUnitType::initial) return std::nullopt;
            const bool isTarget = unit->type() == GridUnitType::target;
            targets += isTarget ? 1 : 0;
            onlyFill = onlyFill && unit->type() == GridUnitType::fill;
            kept.push_back(isTarget ? dragged : unit);
        }
        if (!row.empty() && !onlyFill) result.grid.push_back(std::move(kept));
    }
    if (targets != 1) return std::nullopt;
    return result;
}

}  // namespace zelvana::gridpanel
