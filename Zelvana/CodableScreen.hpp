#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "Zelvana/DisplayNumber.hpp"
#include "platform/appkit/Rect.hpp"
#include "platform/foundation/Date.hpp"
#include "platform/foundation/PropertyList.hpp"

namespace zelvana::platform {
class Screen;
}  // namespace zelvana::platform

namespace zelvana::core {

struct CodableSpace;

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

    // The record of a live screen as it is now, encountered now.
    static CodableScreen make(const platform::Screen& screen);

    bool operator==(const CodableScreen&) const = default;
};

void to_json(nlohmann::json& json, const CodableScreen& screen);
void from_json(const nlohmann::json& json, CodableScreen& screen);

// The setting `screens`: records by display number, stored as one flat JSON
// array alternating number and record ([5, {...}, 7, {...}]); [] when empty.
struct CodableScreenMap : std::map<DisplayNumber, CodableScreen> {
    using std::map<DisplayNumber, CodableScreen>::map;

    // How long a record that no space refers to is kept after its display
    // was last encountered: 30 days.
    static constexpr platform::TimeInterval unreferencedLifetime = 2592000;

    // Removes the records that no space has a cell for and whose display was
    // last encountered more than unreferencedLifetime before `now`; recent
    // ones stay, so a display unplugged for a while keeps its identity.
    // True when any record went.
    bool prune(const std::vector<CodableSpace>& spaces, platform::Date now);
    // The same with the displays the spaces have cells on already gathered.
    bool pruneKeeping(const std::set<DisplayNumber>& referenced, platform::Date now);
};

// Every display that one of the spaces has a cell on.
std::set<DisplayNumber> referencedDisplays(const std::vector<CodableSpace>& spaces);

void to_json(nlohmann::json& json, const CodableScreenMap& screens);
void from_json(const nlohmann::json& json, CodableScreenMap& screens);

// The screen's display number: "NSScreenNumber" of its device description.
DisplayNumber displayNumber(const platform::Screen& screen);
// The display's product name from the display registry: "Unknown screen"
// when the registry has no entry for it, "Unnamed screen" when the entry has
// no name.
std::string displayName(const platform::Screen& screen);
// The registry entry whose vendor and product numbers are the attached
// display's; none for a display that is not attached or not registered.
std::optional<platform::PropertyDictionary> infoForDisplay(DisplayNumber display);

}  // namespace zelvana::core
