#include "GridPanel/ImageFitting.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace zelvana::gridpanel {
namespace {

using platform::Image;
using platform::Pixel;
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

// A picture redrawn in place, as a space's is when an application moves
// away, must not be shown fitted as it was before.
TEST(ImageFittingTest, FitsAPictureAgainAfterEachWayOfChangingIt) {
    using platform::Color;
    using platform::CompositingOperation;
    using platform::Rect;
    const Pixel red{255, 0, 0, 255};
    const Pixel blue{0, 0, 255, 255};
    const std::vector<std::pair<const char*, std::function<void(Image&)>>> changes{
        {"fill",
         [](Image& image) {
             image.fill(Color::rgb(0, 0, 1, 1), Rect{{}, image.size()}, CompositingOperation::copy);
         }},
        {"draw",
         [&](Image& image) {
             Image paint(image.size());
             for (auto& pixel : paint.pixels()) pixel = blue;
             image.draw(paint, Rect{{}, image.size()}, Rect{{}, image.size()},
                        CompositingOperation::copy);
         }},
        {"pixels", [&](Image& image) { image.pixels().assign(image.pixels().size(), blue); }},
        {"setPixel",
         [&](Image& image) {
             for (int y = 0; y < image.pixelsHigh(); ++y)
                 for (int x = 0; x < image.pixelsWide(); ++x) image.setPixel(x, y, blue);
         }},
    };
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        Image picture(Size{80, 40});
        picture.pixels().assign(picture.pixels().size(), red);
        ASSERT_EQ(fittedImage(picture, 20).pixelAt(5, 5), red);
        change(picture);
        EXPECT_EQ(fittedImage(picture, 20).pixelAt(5, 5), blue);
    }
}

TEST(ImageFittingTest, OneSourceFitsEachLargestDimensionApart) {
    const Image picture(Size{80, 40});
    EXPECT_EQ(fittedImage(picture, 20).size(), (Size{20, 10}));
    EXPECT_EQ(fittedImage(picture, 40).size(), (Size{40, 20}));
}

TEST(ImageFittingTest, APictureDrawnWhenNeededIsFittedWithoutDrawingIt) {
    int drawn = 0;
    const Image picture = Image::drawnWhenNeeded(Size{80, 40}, [&] {
        ++drawn;
        Image image(Size{80, 40});
        image.pixels().assign(image.pixels().size(), Pixel{255, 0, 0, 255});
        return image;
    });
    const Image fitted = fittedImage(picture, 20);
    EXPECT_EQ(fitted.size(), (Size{20, 10}));
    EXPECT_EQ(drawn, 0) << "a cell that is never shown draws nothing";
    EXPECT_EQ(fitted.pixelAt(5, 5), (Pixel{255, 0, 0, 255}));
    EXPECT_EQ(drawn, 1);
}

}  // namespace
}  // namespace zelvana::gridpanel
