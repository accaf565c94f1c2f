#include "Zelvana/Coordinates.hpp"

#include "Zelvana/JSONCoding.hpp"

namespace zelvana::core {

std::string Coordinates::description() const {
    return "Coordinates(row: " + std::to_string(row) + ", col: " + std::to_string(col) + ")";
}

void to_json(nlohmann::json& json, const Coordinates& coordinates) {
    json = {{"row", coordinates.row}, {"col", coordinates.col}};
}

void from_json(const nlohmann::json& json, Coordinates& coordinates) {
    coordinates = Coordinates{coding::required(json, "row", coding::integer<std::int64_t>),
                              coding::required(json, "col", coding::integer<std::int64_t>)};
}

}  // namespace zelvana::core
