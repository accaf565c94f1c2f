#pragma once

#include <optional>

#include "platform/foundation/PropertyList.hpp"

namespace zelvana::settings {

// The object of a setting's change notification: the new and the previous
// value in the form that went to the user defaults (absent for a removed key).
struct DefaultUpdate {
    std::optional<platform::PropertyValue> value;
    std::optional<platform::PropertyValue> oldValue;

    bool operator==(const DefaultUpdate&) const = default;
};

}  // namespace zelvana::settings
