#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>

#include <nlohmann/json_fwd.hpp>

namespace zelvana::platform {
class JSONCursor;
}

namespace zelvana::core {

// A cell of a display's grid, counted from 0 at the top left. JSON: an object
// with the required members "row" and "col". Ordered in reading order: row by
// row, left to right.
struct Coordinates {
    // No display holds anywhere near this many rows or columns of spaces; a
    // stored cell beyond it (or negative) is damage, and the space is placed
    // afresh rather than trusted with the arithmetic and the grid's size.
    static constexpr std::int64_t limit = 10000;

    std::int64_t row = 0;
    std::int64_t col = 0;

    bool isUsable() const { return row >= 0 && col >= 0 && row < limit && col < limit; }
    // "Coordinates(row: 1, col: 2)", as the log shows it.
    std::string description() const;

    auto operator<=>(const Coordinates&) const = default;
};

void to_json(nlohmann::json& json, const Coordinates& coordinates);
void from_json(const nlohmann::json& json, Coordinates& coordinates);
// The same form read straight from stored text; none, with the cursor failed,
// where the text is not in the plain form (see JSONCursor) or from_json
// would refuse it.
std::optional<Coordinates> readCoordinates(platform::JSONCursor& in);

}  // namespace zelvana::core
