// What the controls and windows look like, as the system draws them: read back
// from their pictures at a few telling pixels.

#include <gtest/gtest.h>

#include <memory>

#include "platform/appkit/Application.hpp"
#include "platform/appkit/Button.hpp"
#include "platform/appkit/GraphicsContext.hpp"
#include "platform/appkit/Label.hpp"
#include "platform/appkit/PopUpButton.hpp"
#include "platform/appkit/ViewRenderer.hpp"
#include "platform/appkit/VisualEffectView.hpp"
#include "platform/appkit/Window.hpp"

namespace zelvana::platform {
namespace {

bool isDark(Pixel p) {
    return p.alpha > 128 && p.red < 128 && p.green < 128 && p.blue < 128;
}

// Whether some pixel of the rectangle is dark, as drawn text is.
bool hasText(const Image& image, Rect rect) {
    for (int y = static_cast<int>(rect.minY()); y < rect.maxY(); ++y) {
        for (int x = static_cast<int>(rect.minX()); x < rect.maxX(); ++x) {
            if (isDark(image.pixelAt(x, y))) return true;
        }
    }
    return false;
}

TEST(ControlDrawingTest, ABorderedButtonHasABezelAndABorderlessOneOnlyItsTitle) {
    Button bordered("OK", "ok:");
    bordered.setFrame(Rect::make(0, 0, 80, 22));
    const Image withBezel = ViewRenderer::imageOf(bordered);
    EXPECT_EQ(withBezel.pixelAt(10, 11), (Pixel{255, 255, 255, 255})) << "the white bezel";
    EXPECT_GT(withBezel.pixelAt(40, 0).alpha, 0) << "its edge";
    EXPECT_TRUE(hasText(withBezel, Rect::make(25, 0, 30, 22))) << "the title, centred";

    Button info("\u24D8", "info:");
    info.setBordered(false);
    info.setFrame(Rect::make(0, 0, 22, 22));
    const Image bare = ViewRenderer::imageOf(info);
    EXPECT_EQ(bare.pixelAt(1, 11).alpha, 0);
    EXPECT_EQ(bare.pixelAt(11, 0).alpha, 0);
    EXPECT_TRUE(hasText(bare, Rect::make(0, 0, 22, 22)));
}

TEST(ControlDrawingTest, ASymbolButtonIsAFilledCircleInTheTextColourWithACutOutCross) {
    EXPECT_EQ(Image::systemSymbol("x.circle.filled", "Close"), std::nullopt) << "no such symbol";
    auto symbol = Image::systemSymbol("x.circle.fill", "Close");
    ASSERT_TRUE(symbol);
    EXPECT_EQ(symbol->accessibilityDescription(), "Close");
    EXPECT_EQ(Image::systemSymbol("x.circle.fill", "")->contentId(), symbol->contentId())
        << "drawn once, for every anchor alike";
    const auto button = Button::buttonWithImage(*symbol, {}, "close");
    button->setBordered(false);
    button->setFrameSize(button->intrinsicContentSize());
    EXPECT_EQ(button->frame().size, symbol->size()) << "a borderless symbol needs no padding";

    const Image drawn = ViewRenderer::imageOf(*button, 4);
    const auto at = [&](double x, double y) {
        return drawn.pixelAt(static_cast<int>(x * 4), static_cast<int>(y * 4));
    };
    const Size size = symbol->size();
    const Point centre{size.width / 2, size.height / 2};
    EXPECT_EQ(at(centre.x, centre.y).alpha, 0) << "the cross is cut out";
    EXPECT_TRUE(isDark(at(centre.x, centre.y - size.height / 3))) << "the circle, tinted";
    EXPECT_TRUE(isDark(at(centre.x - size.width / 3, centre.y)));
    EXPECT_EQ(at(0.2, 0.2).alpha, 0) << "round, not square";
}

TEST(ControlDrawingTest, APopUpShowsTheSelectedItemsTitleAndItsArrows) {
    PopUpButton popUp;
    popUp.setFrame(Rect::make(0, 0, 200, 22));
    const Image empty = ViewRenderer::imageOf(popUp);
    EXPECT_FALSE(hasText(empty, Rect::make(0, 0, 170, 22))) << "no item, no title";
    const Pixel arrows = empty.pixelAt(200 - 3 - 14, 11);
    EXPECT_GT(arrows.blue, arrows.red) << "the arrows sit on the accent colour";

    popUp.addItem("Four-finger swipe", 2);
    EXPECT_TRUE(hasText(ViewRenderer::imageOf(popUp), Rect::make(0, 0, 170, 22)));
}

TEST(ControlDrawingTest, ALabelIsPlainTextWhereAFieldHasABorderAndBackground) {
    Label label("Grid width:");
    label.setFrame(Rect::make(0, 0, 100, 17));
    const Image plain = ViewRenderer::imageOf(label);
    EXPECT_EQ(plain.pixelAt(99, 16).alpha, 0);
    EXPECT_TRUE(hasText(plain, Rect::make(0, 0, 100, 17)));

    TextField field("Grid width:");
    field.setFrame(Rect::make(0, 0, 100, 22));
    const Image boxed = ViewRenderer::imageOf(field);
    EXPECT_EQ(boxed.pixelAt(50, 20).alpha, 255) << "the background";
    EXPECT_LT(boxed.pixelAt(50, 0).red, 255) << "the border";
}

TEST(ControlDrawingTest, ATitledWindowHasItsTitleBarAboveItsContent) {
    Window window(Rect::make(0, 0, 300, 100), Window::Style::titled | Window::Style::closable,
                  Window::BackingStore::buffered, false);
    window.setTitle("Zelvana Settings");
    window.setContentView(std::make_shared<View>(Rect::make(0, 0, 300, 100)));
    window.makeKeyWindow();
    const auto image = ViewRenderer::imageOf(window);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixelsHigh(), 128) << "the bar above the content";
    const Pixel close = image->pixelAt(14, 14);
    EXPECT_GT(close.red, 200) << "the key window's close button is red";
    EXPECT_LT(close.green, 150);
    const Pixel zoom = image->pixelAt(54, 14);
    EXPECT_NEAR(zoom.red, zoom.green, 8) << "a window that cannot zoom shows its button grey";
    EXPECT_TRUE(hasText(*image, Rect::make(100, 0, 100, 28))) << "the title in the middle";
    EXPECT_EQ(image->pixelAt(0, 0).alpha, 0) << "rounded corners";

    // A popover takes the keys: the window stays main, and looks active while
    // its application is.
    Application::shared().activate(true);
    window.makeMainWindow();
    Window popover(Rect::make(0, 0, 10, 10), Window::Style::borderless,
                   Window::BackingStore::buffered, false);
    popover.makeKeyWindow();
    ASSERT_FALSE(window.isKeyWindow());
    EXPECT_LT(ViewRenderer::imageOf(window)->pixelAt(14, 14).green, 150) << "still red";
    Application::shared().deactivate();
    EXPECT_GT(ViewRenderer::imageOf(window)->pixelAt(14, 14).green, 180) << "grey";
    Application::shared().resetForTesting();

    window.makeKeyWindow();

    window.setTitleVisibility(Window::TitleVisibility::hidden);
    window.setStandardWindowButtonHidden(Window::ButtonType::close, true);
    const auto bare = ViewRenderer::imageOf(window);
    EXPECT_FALSE(hasText(*bare, Rect::make(100, 0, 100, 28)));
    EXPECT_LT(bare->pixelAt(14, 14).red, 240);
}

TEST(ControlDrawingTest, TheMaterialIsATintedRoundedBackdrop) {
    VisualEffectView backdrop(Rect::make(0, 0, 100, 60));
    backdrop.setWantsLayer(true);
    backdrop.layer()->cornerRadius = 10;
    const Image image = ViewRenderer::imageOf(backdrop);
    EXPECT_EQ(image.pixelAt(0, 0).alpha, 0) << "outside the rounded corner";
    EXPECT_GT(image.pixelAt(50, 30).alpha, 128) << "tinted inside";
    EXPECT_LT(image.pixelAt(50, 30).alpha, 255) << "yet translucent";
}

TEST(ControlDrawingTest, WhatLiesBehindAMaterialIsBlurredSoNoEdgeReadsAsALine) {
    Window window(Rect::make(100, 100, 200, 120), Window::Style::borderless,
                  Window::BackingStore::buffered, false);
    auto content = std::make_shared<View>(Rect::make(0, 0, 200, 120));
    auto material = std::make_shared<VisualEffectView>(Rect::make(20, 10, 160, 100));
    material->setWantsLayer(true);
    material->layer()->cornerRadius = 10;
    content->addSubview(material);
    window.setContentView(content);
    const auto backdrops = ViewRenderer::backdropsOf(window);
    ASSERT_EQ(backdrops.size(), 1u);
    EXPECT_EQ(backdrops[0].rect, Rect::make(20, 10, 160, 100));

    // A window's edge beneath: one black line across white.
    Image screen(Size{200, 120});
    {
        GraphicsContext context(screen);
        context.setFillColor(Color::white());
        context.fillRect(Rect::make(0, 0, 200, 120));
        context.setFillColor(Color::black());
        context.fillRect(Rect::make(0, 60, 200, 1));
        const auto& area = backdrops[0];
        context.blur(BezierPath::roundedRect(area.rect, area.cornerRadius, area.cornerRadius), 12);
    }
    EXPECT_GT(screen.pixelAt(100, 60).red, 200) << "the line is spread thin";
    EXPECT_LT(screen.pixelAt(100, 64).red, 255) << "over its neighbours";
    EXPECT_EQ(screen.pixelAt(5, 60).red, 0) << "outside the material it stays sharp";
}

}  // namespace
}  // namespace zelvana::platform
