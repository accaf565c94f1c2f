#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>

#include "accessibility/Edge.hpp"
#include "accessibility/RectSegment.hpp"

namespace zelvana::accessibility::test {
namespace {

RectSegment segment(double k, std::optional<CGWindowInfo> window = std::nullopt) {
    return RectSegment(SegmentOrientation::vertical, RectEdge::minX, Extrema::min, 1, window, 0,
                       100, k);
}

TEST(EdgeSegments, SegmentsOrderByKAloneButCompareEveryField) {
    std::vector<RectSegment> segments{segment(30), segment(10), segment(20)};
    std::stable_sort(segments.begin(), segments.end());
    EXPECT_EQ(segments[0].k(), 10);
    EXPECT_EQ(segments[2].k(), 30);

    const auto windowed = segment(10, CGWindowInfo{7, 501, platform::Rect::make(0, 0, 9, 9), {}});
    EXPECT_NE(windowed, segment(10)) << "a window on one side only";
    EXPECT_FALSE(windowed < segment(10));
    EXPECT_FALSE(windowed > segment(10));
    EXPECT_TRUE(windowed <= segment(10) && windowed >= segment(10));
}

TEST(EdgeSegments, EdgeSetsActOnTheirBitsAndWriteThemInBaseTwo) {
    EXPECT_EQ((std::vector(kAllRectEdges.begin(), kAllRectEdges.end())),
              (std::vector{RectEdge::minX, RectEdge::maxX, RectEdge::minY, RectEdge::maxY}));
    EXPECT_TRUE(Edge().isEmpty());
    EXPECT_EQ(description(Edge()), "0");
    const Edge five = Edge::fromRaw(1) | Edge::fromRaw(4);
    EXPECT_EQ(five.rawValue(), 5);
    EXPECT_EQ(description(five), "101");
    EXPECT_EQ(description(Edge::fromRaw(-5)), "-101");
    EXPECT_EQ(description(Edge::fromRaw(std::numeric_limits<std::int64_t>::min())),
              "-1" + std::string(63, '0'));
}

}  // namespace
}  // namespace zelvana::accessibility::test
