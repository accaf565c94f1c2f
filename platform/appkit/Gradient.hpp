#pragma once

#include <optional>
#include <vector>

#include "platform/appkit/Color.hpp"

namespace zelvana::platform {

// Colours spread along a line, at given locations (0 to 1) or evenly. A value
// type; a graphics context draws it.
struct Gradient {
    std::vector<Color> colors;
    // Empty: evenly spread. Otherwise one per colour.
    std::vector<double> locations;

    // The location of colour `index`.
    double locationAt(std::size_t index) const;
};

}  // namespace zelvana::platform
