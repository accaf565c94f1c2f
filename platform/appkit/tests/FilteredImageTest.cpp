#include "platform/appkit/FilteredImage.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace zelvana::platform {
namespace {

constexpr Pixel kRed{255, 0, 0, 255};
constexpr Pixel kHalfBlue{0, 0, 255, 128};
constexpr Pixel kGreen{0, 255, 0, 255};

BitmapImage row(std::vector<Pixel> pixels) {
    const int width = static_cast<int>(pixels.size());
    return *BitmapImage::make(width, 1, std::move(pixels));
}

TEST(FilteredImageTest, NamedFiltersUseTheirStandardFormulas) {
    const FilteredImage image(row({kRed, kHalfBlue, kGreen}));
    const FilterContext context;

    const auto sepia = context.createCGImage(*image.applyingFilter("CISepiaTone"), image.extent());
    ASSERT_TRUE(sepia);
    EXPECT_EQ(sepia->pixelAt(0, 0), (Pixel{100, 89, 69, 255}));
    EXPECT_EQ(sepia->pixelAt(1, 0), (Pixel{48, 43, 33, 128}));

    const auto noir =
        context.createCGImage(*image.applyingFilter("CIPhotoEffectNoir"), image.extent());
    ASSERT_TRUE(noir);
    EXPECT_EQ(noir->pixelAt(0, 0), (Pixel{30, 30, 30, 255}));
    EXPECT_EQ(noir->pixelAt(1, 0), (Pixel{4, 4, 4, 128}));
    EXPECT_EQ(noir->pixelAt(2, 0), (Pixel{205, 205, 205, 255}));

    EXPECT_FALSE(image.applyingFilter("CIGaussianBlur"));
    EXPECT_FALSE(image.applyingFilter(""));
    EXPECT_EQ(context.createCGImage(image, image.extent())->pixelAt(0, 0), kRed)
        << "filtering made a new recipe; the original renders as it was";
}

TEST(FilteredImageTest, FiltersRunInTheOrderApplied) {
    const FilteredImage image(row({kRed}));
    const FilterContext context;
    const auto noirThenSepia =
        image.applyingFilter("CIPhotoEffectNoir")->applyingFilter("CISepiaTone");
    const auto sepiaThenNoir =
        image.applyingFilter("CISepiaTone")->applyingFilter("CIPhotoEffectNoir");
    const auto first = context.createCGImage(*noirThenSepia, image.extent());
    const auto second = context.createCGImage(*sepiaThenNoir, image.extent());
    EXPECT_NE(first->pixelAt(0, 0), second->pixelAt(0, 0));
    EXPECT_EQ(second->pixelAt(0, 0).red, second->pixelAt(0, 0).blue) << "grey comes last";
}

TEST(FilteredImageTest, RendersWholePixelsOfARectCountedFromTheBottom) {
    // Two rows: red on top, green below.
    const FilteredImage image(*BitmapImage::make(1, 2, {kRed, kGreen}));
    const FilterContext context;
    EXPECT_EQ(image.extent(), Rect::make(0, 0, 1, 2));
    EXPECT_EQ(context.createCGImage(image, Rect::make(0, 0, 1, 1))->pixelAt(0, 0), kGreen);
    const auto widened = context.createCGImage(image, Rect::make(0.5, 1.2, 1, 0.5));
    ASSERT_TRUE(widened);
    EXPECT_EQ(widened->width(), 2);
    EXPECT_EQ(widened->height(), 1);
    EXPECT_EQ(widened->pixelAt(0, 0), kRed);
    EXPECT_EQ(widened->pixelAt(1, 0), Pixel{}) << "clear outside the extent";

    const double infinity = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(context.createCGImage(image, Rect::make(0, 0, infinity, 1)));
    EXPECT_FALSE(context.createCGImage(image, Rect::make(0, 0, 0, 1)));
    EXPECT_FALSE(context.createCGImage(image, Rect::make(0, 0, 1e9, 1e9))) << "too large to hold";
    EXPECT_FALSE(context.createCGImage(FilteredImage::empty(), Rect::make(0, 0, 1, 1)));
}

}  // namespace
}  // namespace zelvana::platform
