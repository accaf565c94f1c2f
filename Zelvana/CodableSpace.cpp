#include "Zelvana/CodableSpace.hpp"

#include "Zelvana/JSONCoding.hpp"
#include "Zelvana/Space.hpp"

namespace zelvana::core {

namespace {

template <typename Value, typename Read>
void readOptional(const nlohmann::json& json, const char* key, std::optional<Value>& field,
                  Read read) {
    if (const auto* value = coding::optionalMember(json, key)) field = read(*value);
}

std::vector<tools::WindowInfo> readWindowList(const nlohmann::json& value) {
    if (!value.is_array()) throw std::invalid_argument("windowList is not an array");
    return value.get<std::vector<tools::WindowInfo>>();
}

}  // namespace

std::shared_ptr<Space> CodableSpace::makeSpace(bool keepStale) const {
    return std::make_shared<Space>(Space::Fields{
        .id = id,
        .title = title,
        .color = color ? std::optional(settings::decodeColor(*color)) : std::nullopt,
        .isStale = keepStale ? isStale.value_or(false) : true,
        .isActiveOnLoad = isActive.value_or(true),
        .windowList = windowList,
        .coordinates = coordinates,
        .lastActive = lastActive,
        .lastDisplayID = lastDisplayID,
    });
}

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
    read.windowList = readWindowList(coding::member(json, "windowList"));
    read.coordinates = coding::decodeAlternating<Coordinates>(coding::member(json, "coordinates"));
    readOptional(json, "id", read.id, coding::text);
    readOptional(json, "title", read.title, coding::text);
    readOptional(json, "lastDisplayID", read.lastDisplayID, coding::integer<DisplayNumber>);
    readOptional(json, "lastActive", read.lastActive, coding::decodeDate);
    readOptional(json, "isStale", read.isStale, coding::boolean);
    readOptional(json, "color", read.color,
                 [](const nlohmann::json& value) { return value.get<settings::CodableColor>(); });
    readOptional(json, "isActive", read.isActive, coding::boolean);
    space = std::move(read);
}

}  // namespace zelvana::core
