#pragma once

#include <cstdint>
#include <memory>

#include "GridPanel/GridElement.hpp"

namespace zelvana::gridpanel {

// What a place in the panel's grid holds: an ordinary cell, an empty place,
// where a dragged cell would land, or where it came from.
enum class GridUnitType : std::uint8_t { basic = 0, fill = 1, target = 2, initial = 3 };

// One place of the panel's grid: the host's element and its kind. Making a
// drop target or a drag origin marks the element's border (indigo, dark
// grey). Main thread only.
class CellUnit {
public:
    CellUnit(GridElementRef element, GridUnitType type);

    const GridElementRef& element() const { return element_; }
    GridUnitType type() const { return type_; }

private:
    GridElementRef element_;
    GridUnitType type_;
};

using CellUnitRef = std::shared_ptr<CellUnit>;

}  // namespace zelvana::gridpanel
