#pragma once

#include <optional>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "platform/appkit/Color.hpp"

namespace zelvana::platform {
class JSONCursor;
}

namespace zelvana::settings {

// The stored form of a colour: JSON members "red", "green", "blue" (required)
// and "alpha" (left out when absent; absent means opaque).
struct CodableColor {
    double red = 0;
    double green = 0;
    double blue = 0;
    std::optional<double> alpha = 1.0;

    bool operator==(const CodableColor&) const = default;

    // Compact JSON text; absent when a component is not finite.
    std::optional<std::string> jsonText() const;
    // Absent unless the text is a JSON object with numeric components.
    static std::optional<CodableColor> fromJSONText(const std::string& text);
};

// For records that embed a colour; they throw as nlohmann's conversions do.
void to_json(nlohmann::json& json, const CodableColor& color);
void from_json(const nlohmann::json& json, CodableColor& color);
// The same form read straight from stored text; none, with the cursor failed,
// where the text is not in the plain form (see JSONCursor) or from_json
// would refuse it.
std::optional<CodableColor> readCodableColor(platform::JSONCursor& in);

// The colour's components, alpha always present.
CodableColor encodeColor(const platform::Color& color);
// A component colour; opaque when the record has no alpha.
platform::Color decodeColor(const CodableColor& color);

}  // namespace zelvana::settings
