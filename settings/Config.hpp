#pragma once

#include <map>
#include <optional>
#include <string>

#include "platform/foundation/Date.hpp"
#include "settings/CodableDefault.hpp"

namespace zelvana::settings {

// The snapshot of the synced settings kept under "config" in the cloud store.
struct Config {
    std::string bundleId;
    std::string version;
    platform::Date timestamp;
    std::map<std::string, CodableDefault> defaults;

    bool operator==(const Config&) const = default;

    // Pretty-printed JSON with sorted member names; absent when it cannot be
    // encoded (text that is not UTF-8, a number that is not finite).
    std::optional<std::string> encode() const;
    // Absent unless the text is JSON with all four members of the right kinds
    // and a timestamp within the years 1 to 9999.
    static std::optional<Config> decode(const std::string& text);
};

}  // namespace zelvana::settings
