#pragma once

#include <vector>

#include "accessibility/RectSegment.hpp"

namespace zelvana::accessibility {

// The edge segments of a set of windows.
class WindowLines {
public:
    std::vector<RectSegment> segments;
};

}  // namespace zelvana::accessibility
