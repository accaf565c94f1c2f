#include "Zelvana/Coordinates.hpp"

#include "Zelvana/JSONCoding.hpp"
#include "platform/foundation/JSONCursor.hpp"

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

std::optional<Coordinates> readCoordinates(platform::JSONCursor& in) {
    static constexpr std::string_view members[] = {"row", "col"};
    if (!in.beginObject()) return std::nullopt;
    std::optional<std::int64_t> parts[2];
    while (const auto member = in.nextMember(members)) parts[*member] = in.integer();
    if (in.failed() || !parts[0] || !parts[1]) return in.fail();
    return Coordinates{*parts[0], *parts[1]};
}

}  // namespace zelvana::core
