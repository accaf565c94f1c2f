#pragma once

#include <optional>

#include "platform/foundation/Date.hpp"
#include "settings/Default.hpp"

namespace zelvana::settings {

// A point-in-time setting; absent when the key is absent or holds no date.
// Setting none removes the key.
class DateDefault : public Default {
public:
    explicit DateDefault(std::string key);

    const std::optional<platform::Date>& value() const { return value_; }
    void setValue(std::optional<platform::Date> value);

    void update(const CodableDefault& codable) override;
    CodableDefault toCodable() const override;

private:
    std::optional<platform::Date> value_;
};

}  // namespace zelvana::settings
