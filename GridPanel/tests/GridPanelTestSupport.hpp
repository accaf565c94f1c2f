#pragma once

#include <memory>
#include <string>
#include <vector>

#include "GridPanel/CellGrid.hpp"
#include "GridPanel/EmptyGridElement.hpp"

namespace zelvana::gridpanel::test {

// An element titled `title`.
inline GridElementRef element(const std::string& title) {
    auto made = std::make_shared<EmptyGridElement>();
    made->setTitle(title);
    return made;
}

// A grid whose rows are spelled out one letter a cell: {"AB", "", "C"}.
inline CellGrid gridOf(const std::vector<std::string>& rows) {
    CellGrid grid;
    for (const auto& letters : rows) {
        CellGrid::Row row;
        for (char letter : letters) {
            row.push_back(
                std::make_shared<CellUnit>(element(std::string(1, letter)), GridUnitType::basic));
        }
        grid.grid.push_back(std::move(row));
    }
    return grid;
}

}  // namespace zelvana::gridpanel::test
