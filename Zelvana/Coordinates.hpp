#pragma once

#include <cstdint>

#include <nlohmann/json_fwd.hpp>

namespace zelvana::core {

// A cell of a display's grid, counted from 0 at the top left. JSON: an object
// with the required members "row" and "col".
struct Coordinates {
    std::int64_t row = 0;
    std::int64_t col = 0;

    bool operator==(const Coordinates&) const = default;
};

void to_json(nlohmann::json& json, const Coordinates& coordinates);
void from_json(const nlohmann::json& json, Coordinates& coordinates);

}  // namespace zelvana::core
