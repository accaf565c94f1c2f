#pragma once

#include <optional>

#include "platform/appkit/Color.hpp"
#include "platform/appkit/Font.hpp"

namespace zelvana::platform {

// The attributes of a run of text; an absent attribute takes the view's default.
struct TextAttributes {
    std::optional<Font> font;
    std::optional<Color> foregroundColor;
    std::optional<Color> backgroundColor;

    bool operator==(const TextAttributes&) const = default;
};

}  // namespace zelvana::platform
