#include "settings/OptionalBoolDefault.hpp"

namespace zelvana::settings {

std::optional<bool> OptionalBoolDefault::optionalValue() const {
    switch (value()) {
        case OptionalBool::userEnabled:
            return true;
        case OptionalBool::userDisabled:
            return false;
        case OptionalBool::undefined:
            break;
    }
    return std::nullopt;
}

void OptionalBoolDefault::setOptionalValue(std::optional<bool> value) {
    if (!value) return setValue(OptionalBool::undefined);
    setValue(*value ? OptionalBool::userEnabled : OptionalBool::userDisabled);
}

}  // namespace zelvana::settings
