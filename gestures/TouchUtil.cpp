#include "gestures/TouchUtil.hpp"

#include <algorithm>
#include <cmath>

namespace zelvana::gestures::TouchUtil {

bool touchesStill(const std::vector<Touch>& before, const std::vector<Touch>& after,
                  double tolerance) {
    return std::all_of(before.begin(), before.end(), [&](const Touch& a) {
        const auto b = std::find_if(after.begin(), after.end(),
                                    [&](const Touch& candidate) { return candidate.id == a.id; });
        if (b == after.end()) return true;
        return std::abs(b->x() - a.x()) <= tolerance && std::abs(b->y() - a.y()) <= tolerance;
    });
}

}  // namespace zelvana::gestures::TouchUtil
