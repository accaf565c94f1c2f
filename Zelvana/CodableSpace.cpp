#include "Zelvana/CodableSpace.hpp"

#include "Zelvana/JSONCoding.hpp"
#include "platform/foundation/JSONCursor.hpp"

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

namespace {

using platform::JSONCursor;

// A flat array alternating display number and cell; a later cell of a
// display replaces an earlier one, as the tree's reading does.
std::optional<std::map<DisplayNumber, Coordinates>> readCoordinateList(JSONCursor& in) {
    std::map<DisplayNumber, Coordinates> cells;
    if (!in.beginArray()) return std::nullopt;
    while (in.nextItem()) {
        const auto display = in.integer<DisplayNumber>();
        const auto cell = in.nextItem() ? readCoordinates(in) : std::nullopt;
        if (!display || !cell) return in.fail();
        cells[*display] = *cell;
    }
    if (in.failed()) return std::nullopt;
    return cells;
}

std::optional<std::string> readText(JSONCursor& in) {
    const auto text = in.string();
    return text ? std::optional<std::string>(*text) : std::nullopt;
}

std::optional<CodableSpace> readSpace(JSONCursor& in) {
    static constexpr std::string_view members[] = {"windowList", "coordinates",   "id",
                                                   "title",      "lastDisplayID", "lastActive",
                                                   "isStale",    "color",         "isActive"};
    if (!in.beginObject()) return std::nullopt;
    CodableSpace read;
    std::optional<std::vector<tools::WindowInfo>> windows;
    std::optional<std::map<DisplayNumber, Coordinates>> cells;
    while (const auto member = in.nextMember(members)) {
        switch (*member) {
            case 0:
                windows = platform::readArray(in, tools::readWindowInfo);
                break;
            case 1:
                cells = readCoordinateList(in);
                break;
            case 2:
                read.id = readText(in);
                break;
            case 3:
                read.title = readText(in);
                break;
            case 4:
                read.lastDisplayID = in.integer<DisplayNumber>();
                break;
            case 5:
                if (const auto seconds = in.real()) read.lastActive = platform::Date{*seconds};
                break;
            case 6:
                read.isStale = in.boolean();
                break;
            case 7:
                read.color = settings::readCodableColor(in);
                break;
            default:
                read.isActive = in.boolean();
        }
    }
    if (in.failed() || !windows || !cells) return in.fail();
    read.windowList = std::move(*windows);
    read.coordinates = std::move(*cells);
    return read;
}

}  // namespace

std::optional<std::vector<CodableSpace>> StoredGridReading::read(std::string_view text) {
    return platform::readWholeArray(text, readSpace);
}

}  // namespace zelvana::core
