#include "GridPanel/ImageFitting.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace zelvana::gridpanel {
namespace {

using platform::Image;
using platform::Size;

struct FitCase {
    const char* name;
    Size image;
    double largest;
    Size expected;
};

class ImageFitting : public ::testing::TestWithParam<FitCase> {};

TEST_P(ImageFitting, KeepsTheAspectWithinTheLargestDimension) {
    const auto& c = GetParam();
    EXPECT_EQ(fittedImage(Image(c.image), c.largest).size(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Shapes, ImageFitting,
                         ::testing::Values(FitCase{"SmallIsNotEnlarged", {10, 10}, 200, {10, 10}},
                                           FitCase{"Wide", {400, 100}, 200, {200, 50}},
                                           FitCase{"Tall", {100, 400}, 200, {50, 200}},
                                           FitCase{"Square", {300, 300}, 200, {200, 200}},
                                           FitCase{"OneSideBelow", {100, 250}, 200, {80, 200}},
                                           FitCase{
                                               "OneSideAtTheLimit", {200, 100}, 200, {200, 100}},
                                           FitCase{"DefaultLargestIs32", {64, 16}, 32, {32, 8}},
                                           FitCase{"Empty", {0, 0}, 32, {0, 0}},
                                           FitCase{"ZeroLargest", {10, 20}, 0, {0, 0}},
                                           FitCase{"VeryWide", {10000, 40}, 32, {32, 0.128}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ImageFittingTest, DefaultsToThirtyTwo) {
    EXPECT_EQ(fittedImage(Image(Size{16, 64})).size(), (Size{8, 32}));
}

TEST(ImageFittingTest, RefusesALargestDimensionThatIsNoSize) {
    const Image image(Size{50, 40});
    EXPECT_EQ(fittedImage(image, -5), image);
    EXPECT_EQ(fittedImage(image, std::numeric_limits<double>::quiet_NaN()), image);
    EXPECT_EQ(fittedImage(image, std::numeric_limits<double>::infinity()), image);
}

}  // namespace
}  // namespace zelvana::gridpanel
