#pragma once

#include "accessibility/RectSegment.hpp"

namespace zelvana::accessibility {

// A window edge with the distance counted since it was last hit.
class DetectedEdge {
public:
    DetectedEdge(RectSegment segment, double distanceSinceHit)
        : segment(std::move(segment)), distanceSinceHit(distanceSinceHit) {}

    const RectSegment segment;
    double distanceSinceHit;
};

}  // namespace zelvana::accessibility
