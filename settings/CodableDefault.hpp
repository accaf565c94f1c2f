#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "platform/foundation/Date.hpp"

namespace zelvana::settings {

// One setting's value in a cloud snapshot: at most one field is set by a
// setting's toCodable(). JSON members "bool", "int", "float", "double",
// "string" and "date" (seconds since 2001-01-01), each only when present.
struct CodableDefault {
    std::optional<bool> boolValue;
    std::optional<std::int64_t> intValue;
    std::optional<float> floatValue;
    std::optional<double> doubleValue;
    std::optional<std::string> stringValue;
    std::optional<platform::Date> dateValue;

    bool operator==(const CodableDefault&) const = default;

    nlohmann::json toJSON() const;
    // Absent when a member holds the wrong kind of JSON value, a float beyond
    // the float range or a date outside the years 1 to 9999.
    static std::optional<CodableDefault> fromJSON(const nlohmann::json& json);
};

}  // namespace zelvana::settings
