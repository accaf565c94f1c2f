#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>

#include "platform/appkit/GraphicsContext.hpp"
#include "platform/appkit/ImageView.hpp"
#include "platform/appkit/Label.hpp"
#include "platform/appkit/ViewRenderer.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::platform {
namespace {

Image solid(Size size, Pixel pixel) {
    Image image(size);
    for (auto& p : image.pixels()) p = pixel;
    return image;
}

// Whether some pixel of the rectangle differs from `background`.
bool drawnIn(const Image& image, Rect rect, Pixel background) {
    for (int y = static_cast<int>(rect.minY()); y < rect.maxY(); ++y) {
        for (int x = static_cast<int>(rect.minX()); x < rect.maxX(); ++x) {
            if (image.pixelAt(x, y) != background) return true;
        }
    }
    return false;
}

const Pixel kRed{255, 0, 0, 255};
const Pixel kWhite{255, 255, 255, 255};

TEST(GraphicsTest, ContextFillsStrokesAndDrawsGradientsAndImages) {
    Image canvas(Size{40, 20});
    {
        GraphicsContext context(canvas);
        EXPECT_EQ(GraphicsContext::current(), &context);
        context.setFillColor(Color::rgb(0, 0, 1, 1));
        context.fillRect(Rect::make(0, 0, 10, 10));
        Gradient blackToWhite{{Color::black(), Color::white()}, {}};
        context.drawGradient(blackToWhite, Rect::make(20, 0, 20, 10), 0);
        context.drawImage(solid({4, 4}, kRed), Rect::make(0, 10, 8, 8), Rect::make(0, 0, 4, 4),
                          CompositingOperation::sourceOver, 1);
        context.setStrokeColor(Color::black());
        context.stroke(BezierPath::rect(Rect::make(10.5, 10.5, 8, 8)), std::nan(""));  // refused
    }
    EXPECT_EQ(GraphicsContext::current(), nullptr);
    EXPECT_EQ(canvas.pixelAt(5, 5), (Pixel{0, 0, 255, 255}));
    EXPECT_EQ(canvas.pixelAt(15, 5).alpha, 0);
    EXPECT_LT(canvas.pixelAt(21, 5).red, canvas.pixelAt(38, 5).red);  // dark to light
    EXPECT_EQ(canvas.pixelAt(4, 14), kRed);                           // scaled up twice
    EXPECT_EQ(canvas.pixelAt(14, 14).alpha, 0);
}

TEST(GraphicsTest, ALargeSourceIsSampledDownTheRightWayUp) {
    Image source(Size{100, 100});
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) source.setPixel(x, y, y < 50 ? kRed : kWhite);
    }
    Image canvas(Size{10, 10});
    {
        GraphicsContext context(canvas);
        context.drawImage(source, Rect::make(0, 0, 10, 10), Rect::make(0, 0, 100, 100),
                          CompositingOperation::sourceOver, 1);
    }
    EXPECT_EQ(canvas.pixelAt(5, 1), kRed);  // the top half stays on top
    EXPECT_EQ(canvas.pixelAt(5, 8), kWhite);
}

// Cairo works on premultiplied pixels, which lose the colour of nearly clear
// ones: drawing must not round-trip the pixels it leaves alone.
TEST(GraphicsTest, PixelsADrawingLeavesAloneKeepTheirExactColour) {
    constexpr Pixel kFaint{200, 100, 50, 3};
    Image filled = solid(Size{4, 4}, kFaint);
    {
        GraphicsContext context(filled);
        context.setFillColor(Color::rgb(1, 0, 0));
        context.fillRect(Rect::make(0, 0, 1, 1));
    }
    EXPECT_EQ(filled.pixelAt(0, 0), kRed);
    EXPECT_EQ(filled.pixelAt(3, 3), kFaint);

    Image shadowed = solid(Size{4, 4}, kFaint);
    shadowed.draw(solid(Size{1, 1}, kRed), Rect::make(0, 0, 1, 1), Rect::make(0, 0, 1, 1),
                  CompositingOperation::sourceOver, 1, Shadow{{1, 0}, 1, Color::black()});
    EXPECT_EQ(shadowed.pixelAt(0, 3), kRed);
    EXPECT_NE(shadowed.pixelAt(1, 3), kFaint) << "under the shadow";
    EXPECT_EQ(shadowed.pixelAt(3, 0), kFaint) << "beyond the shadow's reach";
}

TEST(GraphicsTest, RenderingATreeDrawsLayersContentAndAlphaAndWritesPNG) {
    auto root = std::make_shared<View>(Rect::make(0, 0, 60, 40));
    root->setWantsLayer(true);
    root->layer()->backgroundColor = Color::white();
    auto bordered = std::make_shared<View>(Rect::make(10, 10, 20, 20));
    bordered->setWantsLayer(true);
    bordered->layer()->borderColor = Color::rgb(0, 1, 0, 1);
    bordered->layer()->borderWidth = 2;
    auto picture = ImageView::imageViewWithImage(solid({10, 10}, kRed));
    picture->setFrameOrigin({40, 0});
    auto label = Label::labelWithString("Hi");
    label->setFrame(Rect::make(0, 25, 30, 15));
    root->addSubview(bordered);
    root->addSubview(picture);
    root->addSubview(label);

    Image image = ViewRenderer::imageOf(*root);
    ASSERT_EQ(image.pixelsWide(), 60);
    EXPECT_EQ(image.pixelAt(1, 1), kWhite);
    EXPECT_EQ(image.pixelAt(10, 20), (Pixel{0, 255, 0, 255}));  // the border, inside the frame
    EXPECT_EQ(image.pixelAt(20, 20), kWhite);
    EXPECT_EQ(image.pixelAt(45, 5), kRed);
    EXPECT_TRUE(drawnIn(image, Rect::make(0, 25, 30, 15), kWhite));  // the text

    picture->setAlphaValue(0.5);
    EXPECT_NEAR(ViewRenderer::imageOf(*root).pixelAt(45, 5).green, 128, 1);
    picture->setHidden(true);
    EXPECT_EQ(ViewRenderer::imageOf(*root).pixelAt(45, 5), kWhite);

    testing::TemporaryFolders folder;
    const auto path = folder.path("tree.png");
    EXPECT_TRUE(GraphicsContext::writePNG(image, path.string()));
    EXPECT_GT(std::filesystem::file_size(path), 0u);
    EXPECT_FALSE(GraphicsContext::writePNG(Image(Size{}), folder.path("empty.png").string()));
    View huge(Rect::make(0, 0, 1e12, std::nan("")));
    EXPECT_EQ(ViewRenderer::imageOf(huge).pixelsWide(), 0);
}

TEST(ViewRendererTest, AWindowsPictureHoldsItsBackgroundAndContent) {
    Window window(Rect::make(0, 0, 40, 20), Window::Style::borderless,
                  Window::BackingStore::buffered, false);
    window.setBackgroundColor(Color::rgb(0, 0, 1, 1));
    auto content = std::make_shared<View>(Rect::make(0, 0, 40, 20));
    content->addSubview(ImageView::imageViewWithImage(solid({10, 10}, kRed)));
    window.setContentView(content);
    const auto image = ViewRenderer::imageOf(window);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->pixelsWide(), 40);
    EXPECT_EQ(image->pixelAt(5, 5), kRed);
    EXPECT_EQ(image->pixelAt(30, 15), (Pixel{0, 0, 255, 255}));
}

}  // namespace
}  // namespace zelvana::platform
