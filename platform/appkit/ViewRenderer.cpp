#include "platform/appkit/ViewRenderer.hpp"

#include <algorithm>
#include <cmath>

#include "platform/appkit/View.hpp"
#include "platform/appkit/VisualEffectView.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

namespace {

constexpr double kLargestSide = 16384;

double side(double points, double scale) {
    const double pixels = points * scale;
    return std::isfinite(pixels) && pixels > 0 ? std::min(std::round(pixels), kLargestSide) : 0;
}

Image blankImage(Size size, double scale) {
    const double wide = side(size.width, scale);
    const double high = side(size.height, scale);
    if (wide == 0 || high == 0) return Image(Size{});
    return Image(Size{wide / scale, high / scale}, static_cast<int>(wide), static_cast<int>(high));
}

void drawBorder(const Layer& layer, Rect bounds, GraphicsContext& context) {
    if (!layer.borderColor || !(layer.borderWidth > 0)) return;
    const double inset = layer.borderWidth / 2;
    const Rect inner{{bounds.minX() + inset, bounds.minY() + inset},
                     {bounds.width() - layer.borderWidth, bounds.height() - layer.borderWidth}};
    context.setStrokeColor(*layer.borderColor);
    context.stroke(
        BezierPath::roundedRect(inner, layer.cornerRadius - inset, layer.cornerRadius - inset),
        layer.borderWidth);
}

// The shown behind-window materials in and under `view`, placed by where
// they lie in window coordinates from `contentArea`.
void collectBackdrops(const View& view, Point contentArea,
                      std::vector<ViewRenderer::Backdrop>& found) {
    if (view.isHidden()) return;
    const auto* effect = dynamic_cast<const VisualEffectView*>(&view);
    if (effect && effect->blendingMode() == VisualEffectView::BlendingMode::behindWindow) {
        found.push_back(
            {view.convertRectToView(view.bounds(), nullptr).offsetBy(contentArea.x, contentArea.y),
             view.layer() ? view.layer()->cornerRadius : 0});
    }
    for (const auto& subview : view.subviews()) collectBackdrops(*subview, contentArea, found);
}

}  // namespace

void ViewRenderer::draw(View& view, GraphicsContext& context) {
    platform::assertMainThread();
    if (view.isHidden()) return;
    const Rect bounds = view.bounds();
    const Layer* layer = view.layer();
    const double alpha = view.alphaValue() * (layer ? layer->opacity : 1);
    context.saveGraphicsState();
    context.clip(layer && layer->masksToBounds
                     ? BezierPath::roundedRect(bounds, layer->cornerRadius, layer->cornerRadius)
                     : BezierPath::rect(bounds));
    context.beginTransparencyLayer(alpha);
    if (layer && layer->backgroundColor) {
        context.setFillColor(*layer->backgroundColor);
        context.fill(BezierPath::roundedRect(bounds, layer->cornerRadius, layer->cornerRadius));
    }
    view.drawRect(context, bounds);
    const auto subviews = view.subviews();  // drawing may not change the tree under us
    for (const auto& subview : subviews) {
        context.saveGraphicsState();
        const Rect frame = subview->frame();
        const Rect subBounds = subview->bounds();
        context.translate(frame.minX() - subBounds.minX(), frame.minY() - subBounds.minY());
        draw(*subview, context);
        context.restoreGraphicsState();
    }
    if (layer) drawBorder(*layer, bounds, context);
    context.endTransparencyLayer();
    context.restoreGraphicsState();
}

Image ViewRenderer::imageOf(View& view, double scale) {
    platform::assertMainThread();
    const double pixelsPerPoint = std::isfinite(scale) && scale > 0 ? scale : 1;
    Image image = blankImage(view.bounds().size, pixelsPerPoint);
    if (image.pixelsWide() == 0) return image;
    {
        // The pixels reach the image when the context ends, before it is returned.
        GraphicsContext context(image);
        const Rect bounds = view.bounds();
        context.translate(-bounds.minX(), -bounds.minY());
        draw(view, context);
    }
    return image;
}

std::optional<Image> ViewRenderer::imageOf(const Window& window, double scale) {
    platform::assertMainThread();
    View* content = window.contentView();
    if (!content) return std::nullopt;
    const double pixelsPerPoint = std::isfinite(scale) && scale > 0 ? scale : 1;
    const Rect frame = window.frame();
    Image image = blankImage(frame.size, pixelsPerPoint);
    if (image.pixelsWide() == 0) return image;
    {
        GraphicsContext context(image);
        const Rect bounds{{}, frame.size};
        window.drawBackground(context, bounds);
        const Point area = contentAreaOrigin(window);
        context.saveGraphicsState();
        // The ring is placed in the content area's coordinates, the views in
        // the content view's.
        context.translate(area.x, area.y);
        context.saveGraphicsState();
        context.translate(content->frame().minX(), content->frame().minY());
        draw(*content, context);
        context.restoreGraphicsState();
        // Over the views, outside the one it surrounds.
        if (const auto ring = window.focusRing()) context.drawFocusRing(ring->mask, ring->bounds);
        context.restoreGraphicsState();
        window.drawTitleBar(context, bounds);
    }
    return image;
}

Point ViewRenderer::contentAreaOrigin(const Window& window) {
    const Rect frame = window.frame();
    const Rect inFrame = window.contentRectForFrameRect(frame);
    return {inFrame.minX() - frame.minX(), frame.maxY() - inFrame.maxY()};
}

std::vector<ViewRenderer::Backdrop> ViewRenderer::backdropsOf(const Window& window) {
    platform::assertMainThread();
    std::vector<Backdrop> found;
    if (View* content = window.contentView()) {
        collectBackdrops(*content, contentAreaOrigin(window), found);
    }
    return found;
}

}  // namespace zelvana::platform
