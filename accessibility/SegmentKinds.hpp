#pragma once

#include <array>

namespace zelvana::accessibility {

// Which way a window-edge segment runs.
enum class SegmentOrientation { vertical, horizontal };

// The four sides of a rectangle, named by the coordinate they lie on.
enum class RectEdge { minX, maxX, minY, maxY };
inline constexpr std::array<RectEdge, 4> kAllRectEdges{RectEdge::minX, RectEdge::maxX,
                                                       RectEdge::minY, RectEdge::maxY};

// Whether a segment lies on a rectangle's minimum or maximum side.
enum class Extrema { min, max };

}  // namespace zelvana::accessibility
