#pragma once

#include <vector>

#include "gestures/Touch.hpp"

namespace zelvana::gestures::TouchUtil {

// Whether every touch of `before` that is still in `after` (same id) moved
// no more than `tolerance` device points along each axis. Touches without a
// partner are ignored, so empty sets are still.
bool touchesStill(const std::vector<Touch>& before, const std::vector<Touch>& after,
                  double tolerance);

}  // namespace zelvana::gestures::TouchUtil
