#pragma once

#include <cstdint>
#include <optional>

#include "accessibility/CGWindowInfo.hpp"
#include "accessibility/SegmentKinds.hpp"

namespace zelvana::accessibility {

// One edge of a window as a line segment: its side, its extent [min, max]
// along its line, the line's position k across it (fixed at creation), and
// the owning window and its stacking position. Equal when every field is;
// ordered by k alone. A value type.
class RectSegment {
public:
    RectSegment(SegmentOrientation orientation, RectEdge edge, Extrema extrema,
                std::optional<std::int64_t> zIndex, std::optional<CGWindowInfo> windowInfo,
                double min, double max, double k)
        : orientation(orientation),
          edge(edge),
          extrema(extrema),
          zIndex(zIndex),
          windowInfo(std::move(windowInfo)),
          min(min),
          max(max),
          k_(k) {}

    SegmentOrientation orientation;
    RectEdge edge;
    Extrema extrema;
    std::optional<std::int64_t> zIndex;
    std::optional<CGWindowInfo> windowInfo;
    double min;
    double max;
    // The x of a vertical segment, the y of a horizontal one.
    double k() const { return k_; }

    bool operator==(const RectSegment&) const = default;
    bool operator<(const RectSegment& other) const { return k_ < other.k_; }
    bool operator>(const RectSegment& other) const { return k_ > other.k_; }
    bool operator<=(const RectSegment& other) const { return !(*this > other); }
    bool operator>=(const RectSegment& other) const { return !(*this < other); }

private:
    double k_;
};

}  // namespace zelvana::accessibility
