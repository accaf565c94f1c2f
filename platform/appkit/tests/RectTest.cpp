#include "platform/appkit/Rect.hpp"

#include <gtest/gtest.h>

namespace zelvana::platform {
namespace {

const Rect kFrame = Rect::make(10, 20, 100, 50);

TEST(Rect, APointOnAMinEdgeIsInsideAndOnAMaxEdgeOutside) {
    EXPECT_TRUE(kFrame.contains(Point{10, 20}));
    EXPECT_TRUE(kFrame.contains(Point{109.5, 69.5}));
    EXPECT_FALSE(kFrame.contains(Point{110, 30}));
    EXPECT_FALSE(kFrame.contains(Point{50, 70}));
    EXPECT_FALSE(kFrame.contains(Point{9.5, 30}));
    EXPECT_FALSE(Rect::make(10, 20, 0, 0).contains(Point{10, 20}))
        << "an empty rect holds no point";
}

TEST(Rect, ARectTouchingTheBorderIsInsideAndOneCrossingItIsNot) {
    EXPECT_TRUE(kFrame.contains(kFrame));
    EXPECT_TRUE(kFrame.contains(Rect::make(60, 20, 50, 50)));
    EXPECT_FALSE(kFrame.contains(Rect::make(60, 20, 51, 50)));
    EXPECT_FALSE(kFrame.contains(Rect::make(10, 19, 10, 10)));
    EXPECT_FALSE(kFrame.contains(Rect::make(10, 20, 10, 51)));
    EXPECT_FALSE(Rect::make(0, 0, 10, 10).contains(Rect::make(-1, 0, 5, 5)));
    EXPECT_TRUE(kFrame.contains(Rect::make(50, 40, 0, 0))) << "an empty rect counts where it is";
    EXPECT_FALSE(kFrame.contains(Rect::make(200, 40, 0, 0)));
}

}  // namespace
}  // namespace zelvana::platform
