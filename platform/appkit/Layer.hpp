#pragma once

#include <optional>

#include "platform/appkit/Color.hpp"

namespace zelvana::platform {

// The backing layer of a view that wants one: drawing properties only. The
// background fills the rounded bounds under the view's content; the border is
// stroked inside the rounded bounds over it. Main thread, like its view.
struct Layer {
    double cornerRadius = 0;
    std::optional<Color> backgroundColor;
    std::optional<Color> borderColor;
    double borderWidth = 0;
    bool masksToBounds = false;
    double opacity = 1.0;
};

}  // namespace zelvana::platform
