#pragma once

#include <optional>
#include <string>

#include "platform/appkit/Color.hpp"
#include "settings/Default.hpp"

namespace zelvana::settings {

// A colour setting stored as the JSON text of its components (CodableColor).
// Stored text that does not decode leaves the default.
class ColorDefault : public Default {
public:
    ColorDefault(std::string key, platform::Color defaultValue);

    const platform::Color& value() const { return value_; }
    // Writes on every call, even for an equal colour. The notification
    // carries the new and the previous colour's JSON text.
    void setValue(platform::Color value);

    // The cached colour's JSON text; absent when it cannot be encoded.
    std::optional<std::string> colorJSON() const;
    // Caches the colour of `text`; false, leaving the cache, when it does not decode.
    bool loadColor(const std::string& text);

    // Takes only text that decodes to a colour.
    void update(const CodableDefault& codable) override;
    CodableDefault toCodable() const override;

private:
    platform::Color value_;
};

}  // namespace zelvana::settings
