#include "platform/appkit/Image.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <utility>
#include <vector>

namespace zelvana::platform {
namespace {

constexpr Pixel kRed{255, 0, 0, 255};
constexpr Pixel kBlue{0, 0, 255, 255};
constexpr Pixel kClear{};

Image solid(Size size, Pixel pixel) {
    Image image(size);
    for (int y = 0; y < image.pixelsHigh(); ++y) {
        for (int x = 0; x < image.pixelsWide(); ++x) image.setPixel(x, y, pixel);
    }
    return image;
}

Rect whole(const Image& image) {
    return Rect{{}, image.size()};
}

TEST(ImageTest, SizesInPointsAndPixels) {
    const Image plain(Size{20.4, 10.6});
    EXPECT_EQ(plain.pixelsWide(), 20);
    EXPECT_EQ(plain.pixelsHigh(), 11);
    EXPECT_EQ(plain.pixelAt(0, 0), kClear);

    const Image retina(Size{16, 16}, 32, 32);
    EXPECT_EQ(retina.size(), (Size{16, 16}));
    EXPECT_EQ(retina.pixelsWide(), 32);

    Image image(Size{2, 2});
    image.setPixel(1, 0, kRed);
    image.setPixel(5, 5, kRed);  // outside: ignored
    EXPECT_EQ(image.pixelAt(1, 0), kRed);
    EXPECT_EQ(image.pixelAt(-1, 0), kClear);
    Image copy = image;
    copy.setPixel(1, 0, kBlue);
    Image filled = image;
    filled.fill(Color::rgb(0, 0, 1), whole(filled), CompositingOperation::copy);
    Image drawn = image;
    drawn.draw(filled, whole(drawn), whole(filled), CompositingOperation::copy);
    Image edited = image;
    edited.pixels()[1] = kBlue;
    EXPECT_EQ(image.pixelAt(1, 0), kRed) << "copies are independent, however they change";
    EXPECT_EQ(edited.pixelAt(1, 0), kBlue);
}

TEST(ImageTest, FillComposites) {
    Image image(Size{3, 1});
    image.setPixel(0, 0, Pixel{0, 0, 0, 255});
    image.setPixel(1, 0, Pixel{10, 20, 30, 128});
    image.fill(Color::rgb(0, 1, 0), whole(image), CompositingOperation::sourceAtop);
    EXPECT_EQ(image.pixelAt(0, 0), (Pixel{0, 255, 0, 255}));
    EXPECT_EQ(image.pixelAt(1, 0), (Pixel{0, 255, 0, 128})) << "the colour, with the alpha kept";
    EXPECT_EQ(image.pixelAt(2, 0), kClear) << "nothing where the image is clear";

    Image black = solid(Size{2, 1}, Pixel{0, 0, 0, 255});
    black.fill(Color::rgb(1, 1, 1, 0.5), Rect::make(0, 0, 1, 1), CompositingOperation::sourceOver);
    EXPECT_EQ(black.pixelAt(0, 0), (Pixel{128, 128, 128, 255}));
    EXPECT_EQ(black.pixelAt(1, 0), (Pixel{0, 0, 0, 255})) << "outside the rectangle";
    black.fill(Color::clear(), Rect::make(1, 0, 1, 1), CompositingOperation::copy);
    EXPECT_EQ(black.pixelAt(1, 0), kClear);
}

TEST(ImageTest, DrawingScalesIntoTheRectangleFromTheBottomLeft) {
    const Image dot = solid(Size{1, 1}, kRed);
    Image left(Size{4, 4});
    left.draw(dot, Rect::make(0, 0, 2, 4), whole(dot), CompositingOperation::sourceOver);
    EXPECT_EQ(left.pixelAt(1, 3), kRed);
    EXPECT_EQ(left.pixelAt(2, 0), kClear);

    Image bottom(Size{4, 4});
    bottom.draw(dot, Rect::make(0, 0, 4, 2), whole(dot), CompositingOperation::sourceOver);
    EXPECT_EQ(bottom.pixelAt(0, 3), kRed) << "y grows upwards: the bottom rows";
    EXPECT_EQ(bottom.pixelAt(0, 1), kClear);

    Image pair(Size{2, 1});
    pair.setPixel(0, 0, kRed);
    pair.setPixel(1, 0, kBlue);
    Image wide(Size{4, 1});
    wide.draw(pair, whole(wide), whole(pair), CompositingOperation::copy);
    EXPECT_EQ(wide.pixelAt(0, 0), kRed);
    EXPECT_EQ(wide.pixelAt(3, 0), kBlue);
    EXPECT_GT(wide.pixelAt(1, 0).red, wide.pixelAt(2, 0).red) << "blended between";
    EXPECT_GT(wide.pixelAt(1, 0).blue, 0);

    Image faint(Size{1, 1});
    faint.draw(dot, whole(faint), whole(dot), CompositingOperation::sourceOver, 0.5);
    EXPECT_EQ(faint.pixelAt(0, 0), (Pixel{255, 0, 0, 128}));

    Image shifted(Size{2, 1});
    shifted.draw(pair, Rect::make(-1, 0, 2, 1), whole(pair), CompositingOperation::copy);
    EXPECT_EQ(shifted.pixelAt(0, 0), kBlue) << "partly outside, the rest in its place";
    EXPECT_EQ(shifted.pixelAt(1, 0), kClear);

    Image half(Size{2, 1});
    half.draw(pair, whole(half), Rect::make(1, 0, 1, 1), CompositingOperation::copy);
    EXPECT_EQ(half.pixelAt(0, 0), kBlue) << "only the source's chosen part";
}

TEST(ImageTest, ShadowsFallBehindAtTheirOffset) {
    const Image square = solid(Size{2, 2}, kRed);
    Image sharp(Size{10, 10});
    sharp.draw(square, Rect::make(2, 2, 2, 2), whole(square), CompositingOperation::sourceOver, 1.0,
               Shadow{{3, 0}, 0, Color::black()});
    EXPECT_EQ(sharp.pixelAt(2, 6), kRed);
    EXPECT_EQ(sharp.pixelAt(5, 6), (Pixel{0, 0, 0, 255}));
    EXPECT_EQ(sharp.pixelAt(7, 6), kClear);

    Image soft(Size{10, 10});
    soft.draw(square, Rect::make(2, 2, 2, 2), whole(square), CompositingOperation::sourceOver, 1.0,
              Shadow{{3, 0}, 1, Color::black()});
    EXPECT_GT(soft.pixelAt(7, 6).alpha, 0) << "blurred outwards";
    EXPECT_LT(soft.pixelAt(7, 6).alpha, soft.pixelAt(5, 6).alpha);
    EXPECT_EQ(soft.pixelAt(2, 6), kRed) << "the image lies on top";
}

TEST(ImageTest, ABlurredShadowSpreadsEvenlyOverItsRadiusAndNoFurther) {
    const Image dot = solid(Size{1, 1}, kRed);
    Image image(Size{20, 20});
    image.draw(dot, Rect::make(10, 10, 1, 1), whole(dot), CompositingOperation::sourceOver, 1.0,
               Shadow{{0, 0}, 2, Color::black()});
    // The dot is pixel (10, 9); its shadow is a 5 by 5 square of a 25th of it.
    constexpr Pixel kShade{0, 0, 0, 10};
    using Place = std::pair<int, int>;
    for (const auto& [x, y] :
         {Place{8, 7}, Place{12, 7}, Place{8, 11}, Place{12, 11}, Place{9, 9}}) {
        EXPECT_EQ(image.pixelAt(x, y), kShade) << x << "," << y;
    }
    EXPECT_EQ(image.pixelAt(10, 9), kRed);
    for (const auto& [x, y] : {Place{7, 9}, Place{13, 9}, Place{10, 6}, Place{10, 12}}) {
        EXPECT_EQ(image.pixelAt(x, y), kClear) << x << "," << y;
    }
}

TEST(ImageTest, ContentIdFollowsTheContentNotTheObject) {
    Image image = solid(Size{2, 2}, kRed);
    const Image copy = image;
    EXPECT_EQ(copy.contentId(), image.contentId());
    image.setTemplate(true);
    EXPECT_NE(copy.contentId(), image.contentId());
    image.setTemplate(false);
    EXPECT_EQ(image, copy) << "equal pixels are equal images whatever their ids";
    EXPECT_NE(image, solid(Size{2, 2}, kBlue));
}

TEST(ImageTest, AnImageDrawnWhenNeededIsDrawnOnceForAllItsCopies) {
    int drawn = 0;
    Image image = Image::drawnWhenNeeded(Size{2, 3}, [&] {
        ++drawn;
        return solid(Size{2, 3}, kRed);
    });
    const Image copy = image;
    EXPECT_EQ(image.pixelsWide(), 2);
    EXPECT_EQ(drawn, 0) << "its size needs no drawing";

    Image canvas(Size{4, 4});
    canvas.draw(copy, Rect::make(0, 0, 2, 3), whole(copy), CompositingOperation::copy);
    EXPECT_EQ(canvas.pixelAt(0, 3), kRed);
    EXPECT_EQ(image.pixelAt(1, 2), kRed);
    EXPECT_EQ(drawn, 1) << "drawing one copy draws it for all";

    image.setPixel(0, 0, kBlue);
    EXPECT_EQ(copy.pixelAt(0, 0), kRed) << "a change stays with its own copy";
    // One of another size is scaled to the size promised.
    const Image small = Image::drawnWhenNeeded(Size{2, 2}, [] { return solid(Size{1, 1}, kBlue); });
    EXPECT_EQ(small.pixels().size(), 4u);
    EXPECT_EQ(small.pixelAt(1, 1), kBlue);
}

TEST(ImageTest, ThreadsReadAnImageDrawnWhenNeededAndItsCopiesTogether) {
    std::atomic<int> drawn = 0;
    const Image image = Image::drawnWhenNeeded(Size{4, 4}, [&] {
        ++drawn;
        return solid(Size{4, 4}, kRed);
    });
    const Image copy = image;
    // Every kind of read, on threads that start together (the thread
    // sanitizer build catches a read that writes the image).
    std::vector<Pixel> seen(4);
    std::thread first([&] {
        seen[0] = image.pixelAt(3, 3);
        seen[1] = image.representations().front().bitmap()->pixelAt(0, 0);
    });
    std::thread second([&] {
        seen[2] = image.pixels().front();
        seen[3] = copy.cgImageForProposedRect(whole(copy))->pixelAt(1, 1);
    });
    first.join();
    second.join();
    EXPECT_EQ(seen, std::vector<Pixel>(4, kRed));
    EXPECT_EQ(drawn, 1);
}

}  // namespace
}  // namespace zelvana::platform
