#include "Zelvana/CodableScreen.hpp"

#include "Zelvana/JSONCoding.hpp"

namespace zelvana::core {

std::string CodableScreen::hardwareKey() const {
    return std::to_string(vendor) + ":" + std::to_string(model) + ":" + std::to_string(serial);
}

void to_json(nlohmann::json& json, const CodableScreen& screen) {
    json = {{"id", screen.id},
            {"frame", coding::encodeRect(screen.frame)},
            {"name", screen.name},
            {"vendor", screen.vendor},
            {"model", screen.model},
            {"serial", screen.serial},
            {"lastEncountered", coding::encodeDate(screen.lastEncountered)}};
}

void from_json(const nlohmann::json& json, CodableScreen& screen) {
    screen = CodableScreen{coding::integer<DisplayNumber>(coding::member(json, "id")),
                           coding::decodeRect(coding::member(json, "frame")),
                           coding::text(coding::member(json, "name")),
                           coding::integer<std::uint32_t>(coding::member(json, "vendor")),
                           coding::integer<std::uint32_t>(coding::member(json, "model")),
                           coding::integer<std::uint32_t>(coding::member(json, "serial")),
                           coding::decodeDate(coding::member(json, "lastEncountered"))};
}

void to_json(nlohmann::json& json, const CodableScreenMap& screens) {
    json = coding::encodeAlternating<CodableScreen>(screens);
}

void from_json(const nlohmann::json& json, CodableScreenMap& screens) {
    auto decoded = coding::decodeAlternating<CodableScreen>(json);
    screens = CodableScreenMap(decoded.begin(), decoded.end());
}

}  // namespace zelvana::core
