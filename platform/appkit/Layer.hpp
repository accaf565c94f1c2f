#pragma once

#include <optional>

#include "platform/appkit/Color.hpp"

namespace zelvana::platform {

// The backing layer of a view that wants one: drawing properties only.
struct Layer {
    double cornerRadius = 0;
    std::optional<Color> backgroundColor;
    bool masksToBounds = false;
    double opacity = 1.0;
};

}  // namespace zelvana::platform
