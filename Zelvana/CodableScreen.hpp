#pragma once

#include <map>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "Zelvana/DisplayNumber.hpp"
#include "platform/appkit/Rect.hpp"
#include "platform/foundation/Date.hpp"

namespace zelvana::core {

// The stored record of a display seen so far. JSON members, all required:
// "id", "frame" ([[x, y], [width, height]]), "name", "vendor", "model",
// "serial" and "lastEncountered" (seconds since 2001-01-01 UTC).
struct CodableScreen {
    DisplayNumber id = 0;
    platform::Rect frame;
    std::string name;
    std::uint32_t vendor = 0;
    std::uint32_t model = 0;
    std::uint32_t serial = 0;
    platform::Date lastEncountered;

    // "vendor:model:serial" in decimal; equal keys mean the same physical
    // display, even when its display number changed.
    std::string hardwareKey() const;

    bool operator==(const CodableScreen&) const = default;
};

void to_json(nlohmann::json& json, const CodableScreen& screen);
void from_json(const nlohmann::json& json, CodableScreen& screen);

// The setting `screens`: records by display number, stored as one flat JSON
// array alternating number and record ([5, {...}, 7, {...}]); [] when empty.
struct CodableScreenMap : std::map<DisplayNumber, CodableScreen> {
    using std::map<DisplayNumber, CodableScreen>::map;
};

void to_json(nlohmann::json& json, const CodableScreenMap& screens);
void from_json(const nlohmann::json& json, CodableScreenMap& screens);

}  // namespace zelvana::core
