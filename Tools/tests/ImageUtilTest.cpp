#include "Tools/ImageUtil.hpp"

#include <gtest/gtest.h>

namespace zelvana::tools {
namespace {

using platform::Color;
using platform::Image;
using platform::Pixel;
using platform::Size;

Image solid(Size size, Pixel pixel, int scale = 1) {
    Image image(size, static_cast<int>(size.width) * scale, static_cast<int>(size.height) * scale);
    for (int y = 0; y < image.pixelsHigh(); ++y) {
        for (int x = 0; x < image.pixelsWide(); ++x) image.setPixel(x, y, pixel);
    }
    return image;
}

constexpr Pixel kRed{255, 0, 0, 255};

TEST(ImageUtilTest, ResizingFitsTheLongerSideOnlyWhenNeeded) {
    const Image small = solid(Size{20, 10}, kRed);
    EXPECT_EQ(ImageUtil::resized(small, 32), small);
    EXPECT_EQ(ImageUtil::resized(solid(Size{64, 32}, kRed), 32).size(), (Size{32, 16}));
    EXPECT_EQ(ImageUtil::resized(solid(Size{40, 80}, kRed), 32).size(), (Size{16, 32}));

    const Image exact = solid(Size{32, 32}, kRed, 2);
    const Image redrawn = ImageUtil::iconSized(exact);
    EXPECT_EQ(redrawn.size(), (Size{32, 32}));
    EXPECT_EQ(redrawn.pixelsWide(), 32) << "drawn anew, not returned";
    EXPECT_EQ(redrawn.pixelAt(31, 31), kRed);
}

TEST(ImageUtilTest, TintingColoursTheOpaquePartOfACopy) {
    Image image(Size{2, 1});
    image.setPixel(0, 0, Pixel{10, 20, 30, 200});
    image.setTemplate(true);
    const Image tinted = ImageUtil::tinted(image, Color::rgb(0, 0, 1));
    EXPECT_EQ(tinted.pixelAt(0, 0), (Pixel{0, 0, 255, 200}));
    EXPECT_EQ(tinted.pixelAt(1, 0), Pixel{});
    EXPECT_FALSE(tinted.isTemplate());
    EXPECT_TRUE(image.isTemplate());
    EXPECT_EQ(image.pixelAt(0, 0), (Pixel{10, 20, 30, 200})) << "the original stays";
}

TEST(ImageUtilTest, FiltersKeepTheImageSizeInPoints) {
    const Image retina = solid(Size{4, 4}, kRed, 2);
    const auto sepia = ImageUtil::applyFilter(retina, "CISepiaTone");
    ASSERT_TRUE(sepia);
    EXPECT_EQ(sepia->size(), (Size{4, 4}));
    EXPECT_EQ(sepia->pixelAt(2, 2), (Pixel{100, 89, 69, 255}));

    const auto wide = ImageUtil::applyFilter(solid(Size{6, 3}, kRed), "CISepiaTone");
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->size(), (Size{6, 3})) << "fits a square as wide as the image";
    EXPECT_FALSE(ImageUtil::applyFilter(retina, "CINoSuchFilter"));

    const auto grey = ImageUtil::grayscale(retina);
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->size(), (Size{4, 4}));
    EXPECT_EQ(grey->pixelsWide(), 4) << "one pixel per point";
    EXPECT_EQ(grey->pixelAt(1, 1), (Pixel{30, 30, 30, 255}));
}

}  // namespace
}  // namespace zelvana::tools
