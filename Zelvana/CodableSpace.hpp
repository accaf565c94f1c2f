#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "Tools/WindowInfo.hpp"
#include "Zelvana/Coordinates.hpp"
#include "Zelvana/DisplayNumber.hpp"
#include "platform/foundation/Date.hpp"
#include "settings/CodableColor.hpp"

namespace zelvana::core {

class Space;

// Whether a restored space keeps the staleness of its record (after a
// relaunch) or starts stale.
enum class StoredStaleness { keep, drop };

// The stored form of a space; the setting `grid` holds a JSON array of them.
// "windowList" and "coordinates" are always written and required; every other
// member is written only when present (never as null) and optional.
// "coordinates" is a flat array alternating display number and cell, and
// "lastActive" counts seconds since 2001-01-01 UTC.
struct CodableSpace {
    std::optional<std::string> id{};
    std::optional<std::string> title{};
    std::vector<tools::WindowInfo> windowList{};
    std::map<DisplayNumber, Coordinates> coordinates{};
    std::optional<DisplayNumber> lastDisplayID{};
    std::optional<platform::Date> lastActive{};
    std::optional<bool> isStale{};
    std::optional<settings::CodableColor> color{};
    std::optional<bool> isActive{};

    // A live space, without anchor until the hub matches one. It is stale
    // unless the stored staleness is kept (after a relaunch); a record
    // without "isActive" counts as active.
    std::shared_ptr<Space> makeSpace(StoredStaleness staleness) const;

    bool operator==(const CodableSpace&) const = default;
};

// Records shared between the live spaces and the saves that write them.
using StoredRecords = std::vector<std::shared_ptr<const CodableSpace>>;

void to_json(nlohmann::json& json, const CodableSpace& space);
void from_json(const nlohmann::json& json, CodableSpace& space);

// Reads the setting `grid` straight from its text, without a JSON tree: a
// grid of thousands of spaces is read at every launch. Gives up, with none,
// on a text that is not in the plain form saves write (see JSONCursor) or
// that from_json would refuse; the setting then reads it through the tree,
// which decides.
struct StoredGridReading {
    static std::optional<std::vector<CodableSpace>> read(std::string_view text);
};

}  // namespace zelvana::core
