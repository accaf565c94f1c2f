#include "Zelvana/CodableSpace.hpp"

#include "Zelvana/JSONCoding.hpp"

namespace zelvana::core {

namespace {

std::vector<tools::WindowInfo> readWindowList(const nlohmann::json& value) {
    if (!value.is_array()) {
        throw std::invalid_argument(std::string("expected an array, found ") + value.type_name());
    }
    return value.get<std::vector<tools::WindowInfo>>();
}

settings::CodableColor readColor(const nlohmann::json& value) {
    return value.get<settings::CodableColor>();
}

}  // namespace

void to_json(nlohmann::json& json, const CodableSpace& space) {
    json = {{"windowList", space.windowList},
            {"coordinates", coding::encodeAlternating(space.coordinates)}};
    if (space.id) json["id"] = *space.id;
    if (space.title) json["title"] = *space.title;
    if (space.lastDisplayID) json["lastDisplayID"] = *space.lastDisplayID;
    if (space.lastActive) json["lastActive"] = coding::encodeDate(*space.lastActive);
    if (space.isStale) json["isStale"] = *space.isStale;
    if (space.color) json["color"] = *space.color;
    if (space.isActive) json["isActive"] = *space.isActive;
}

void from_json(const nlohmann::json& json, CodableSpace& space) {
    CodableSpace read;
    read.windowList = coding::required(json, "windowList", readWindowList);
    read.coordinates =
        coding::required(json, "coordinates", coding::decodeAlternating<Coordinates>);
    coding::optional(json, "id", read.id, coding::text);
    coding::optional(json, "title", read.title, coding::text);
    coding::optional(json, "lastDisplayID", read.lastDisplayID, coding::integer<DisplayNumber>);
    coding::optional(json, "lastActive", read.lastActive, coding::decodeDate);
    coding::optional(json, "isStale", read.isStale, coding::boolean);
    coding::optional(json, "color", read.color, readColor);
    coding::optional(json, "isActive", read.isActive, coding::boolean);
    space = std::move(read);
}

}  // namespace zelvana::core
