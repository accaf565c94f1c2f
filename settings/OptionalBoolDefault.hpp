#pragma once

#include <optional>

#include "settings/IntEnumDefault.hpp"
#include "settings/OptionalBool.hpp"

namespace zelvana::settings {

// A check box that remembers whether the user ever chose: stored as 0
// (undefined), 1 (on) or 2 (off); any other number reads undefined.
class OptionalBoolDefault : public IntEnumDefault<OptionalBool> {
public:
    explicit OptionalBoolDefault(std::string key)
        : IntEnumDefault(std::move(key), OptionalBool::undefined) {}

    // None while undefined.
    std::optional<bool> optionalValue() const;
    // None stores undefined (0); the key is kept.
    void setOptionalValue(std::optional<bool> value);

    bool isUserEnabled() const { return value() == OptionalBool::userEnabled; }
    bool isUserDisabled() const { return value() == OptionalBool::userDisabled; }
};

}  // namespace zelvana::settings
