#pragma once

#include <cstdint>

#include "GridPanel/CellUnit.hpp"
#include "platform/core/Flags.hpp"

namespace zelvana::gridpanel {

// A place in the grid, counted from 0: row 0 at the top, column 0 at the left.
struct GridLoc {
    std::int64_t row = 0;
    std::int64_t col = 0;
    bool operator==(const GridLoc&) const = default;
};

// A cell together with where it is.
struct CellUnitAndLoc {
    CellUnitRef unit;
    GridLoc loc;
};

// The edges of a cell that the pointer is near; none means inside.
enum class Edge : std::int64_t { left = 1, right = 2, top = 4, bottom = 8 };
ZELVANA_FLAGS(Edge)
using Edges = platform::Flags<Edge>;

// The pointer over the grid: the cell and the edges of it that it is near.
struct GridCoords {
    GridLoc loc;
    Edges edge;
    bool operator==(const GridCoords&) const = default;
};

}  // namespace zelvana::gridpanel
