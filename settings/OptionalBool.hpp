#pragma once

#include <array>
#include <cstdint>

#include "settings/IntEnumDefault.hpp"

namespace zelvana::settings {

// A user's explicit choice, or none yet.
enum class OptionalBool : std::int64_t {
    undefined = 0,
    userEnabled = 1,
    userDisabled = 2,
};

template <>
struct EnumCases<OptionalBool> {
    static constexpr std::array all{OptionalBool::undefined, OptionalBool::userEnabled,
                                    OptionalBool::userDisabled};
};

}  // namespace zelvana::settings
