#include "Tools/ImageUtil.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace zelvana::tools {
namespace {

using platform::BitmapImage;
using platform::Color;
using platform::FilteredImage;
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

// Every pixel different, with partial alpha, so a swapped row, a flipped
// axis or a premultiplied round trip shows.
BitmapImage pattern(int width, int height) {
    std::vector<Pixel> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels.push_back(Pixel{static_cast<std::uint8_t>(40 * x + 7),
                                   static_cast<std::uint8_t>(30 * y + 3),
                                   static_cast<std::uint8_t>(x * y + 11),
                                   static_cast<std::uint8_t>(255 - 20 * (x + y))});
        }
    }
    return *BitmapImage::make(width, height, std::move(pixels));
}

struct Dimensions {
    int width;
    int height;
};

class ImageRoundTrip : public ::testing::TestWithParam<Dimensions> {};

TEST_P(ImageRoundTrip, BitmapsComeBackUnchangedThroughEveryKind) {
    const BitmapImage bitmap = pattern(GetParam().width, GetParam().height);
    const Image image = ImageUtil::nsImage(bitmap);
    EXPECT_EQ(image.size(),
              (Size{static_cast<double>(bitmap.width()), static_cast<double>(bitmap.height())}));
    EXPECT_EQ(ImageUtil::cgImage(image), bitmap);
    EXPECT_EQ(ImageUtil::cgImage(ImageUtil::ciImage(bitmap)), bitmap);
    EXPECT_EQ(ImageUtil::cgImage(*ImageUtil::ciImage(image)), bitmap);
    EXPECT_EQ(ImageUtil::cgImage(ImageUtil::nsImage(ImageUtil::ciImage(bitmap))), bitmap);
}

TEST_P(ImageRoundTrip, ImagesAtEitherScaleKeepTheirSizeAndPixels) {
    for (const int scale : {1, 2}) {
        const int wide = GetParam().width * scale;
        const int high = GetParam().height * scale;
        const Size points{static_cast<double>(GetParam().width),
                          static_cast<double>(GetParam().height)};
        const Image image(pattern(wide, high), points);
        EXPECT_EQ(image.pixelsWide(), wide);

        const auto bitmap = ImageUtil::cgImage(image);
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(*bitmap, pattern(wide, high)) << "scale " << scale;
        const Image back =
            ImageUtil::nsImage(*ImageUtil::ciImage(image),
                               Size{static_cast<double>(wide), static_cast<double>(high)}, points);
        EXPECT_EQ(back, image) << "scale " << scale;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ImageRoundTrip,
                         ::testing::Values(Dimensions{1, 1}, Dimensions{3, 5}, Dimensions{7, 2}),
                         [](const auto& info) {
                             return std::to_string(info.param.width) + "x" +
                                    std::to_string(info.param.height);
                         });

TEST(ImageUtilTest, EmptyImagesConvertToNothing) {
    const Image empty(Size{0, 0});
    EXPECT_FALSE(ImageUtil::cgImage(empty));
    EXPECT_FALSE(ImageUtil::ciImage(empty));
    EXPECT_FALSE(BitmapImage::make(0, 0, {}));

    const Image wrapped = ImageUtil::nsImage(FilteredImage::empty());
    EXPECT_EQ(wrapped.size(), (Size{0, 0}));
    EXPECT_EQ(wrapped.representations().size(), 1u);
    EXPECT_FALSE(ImageUtil::cgImage(wrapped));
    EXPECT_FALSE(ImageUtil::cgImage(FilteredImage::empty()));
}

TEST(ImageUtilTest, AnImageOfAFilteredImageHoldsItAsItsOneRepresentation) {
    const FilteredImage sepia = *ImageUtil::ciImage(pattern(4, 2)).applyingFilter("CISepiaTone");
    const Image natural = ImageUtil::nsImage(sepia);
    ASSERT_EQ(natural.representations().size(), 1u);
    EXPECT_NE(natural.representations()[0].filteredImage(), nullptr);
    EXPECT_EQ(natural.size(), (Size{4, 2})) << "the extent's size";

    const Image sized = ImageUtil::nsImage(sepia, Size{8.9, 4.2}, Size{2, 1});
    const auto rep = sized.representations().at(0);
    EXPECT_EQ(rep.pixelsWide(), 8) << "fractions dropped";
    EXPECT_EQ(rep.pixelsHigh(), 4);
    EXPECT_EQ(sized.size(), (Size{2, 1})) << "the representation's size";
    EXPECT_EQ(sized.pixelsWide(), 8);

    Image drawnInto = natural;
    drawnInto.setPixel(0, 0, kRed);
    EXPECT_EQ(drawnInto.representations().at(0).bitmap()->pixelAt(0, 0), kRed)
        << "drawing into it leaves a bitmap of what it now shows";

    const Image refused =
        ImageUtil::nsImage(sepia, Size{std::numeric_limits<double>::infinity(), 2});
    EXPECT_EQ(refused.pixelsWide(), 4) << "refused: drawn at the extent's pixels";
}

}  // namespace
}  // namespace zelvana::tools
