#include "GridPanel/Geometry.hpp"

#include <gtest/gtest.h>

namespace zelvana::gridpanel {
namespace {

using platform::Point;
using platform::Size;

TEST(GeometryTest, PointsAndSizesComputeComponentwise) {
    EXPECT_EQ((Point{1, 2} + Point{10, 20}), (Point{11, 22}));
    EXPECT_EQ((Size{5, 7} - Size{1, 2}), (Size{4, 5}));
    EXPECT_EQ((Size{2, 3} * Size{4, 5}), (Size{8, 15}));
    EXPECT_EQ((Point{2, 3} * 2.0), (Point{4, 6}));
    EXPECT_EQ((0.5 * Size{4, 6}), (Size{2, 3}));

    Point point{1, 1};
    point += Point{2, 3};
    point -= Point{1, 0};
    point *= Point{2, 5};
    point *= 0.5;
    EXPECT_EQ(point, (Point{2, 10}));
}

}  // namespace
}  // namespace zelvana::gridpanel
