#include "platform/appkit/GraphicsContext.hpp"
#include "platform/appkit/CairoPixels.hpp"
#include "platform/appkit/PangoText.hpp"
#include "platform/core/MainThread.hpp"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#if defined(__SANITIZE_ADDRESS__)
#define ZELVANA_ADDRESS_SANITIZER 1  // gcc's word for it
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZELVANA_ADDRESS_SANITIZER 1  // clang's
#endif
#endif

#ifdef ZELVANA_ADDRESS_SANITIZER
// Fontconfig keeps its font caches for the life of the process, on purpose.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}
// Programs whose standard error is compared must not get the suppression summary.
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}
#endif

#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
// Pango matches fonts on a thread of its own, and glib and fontconfig are not
// built with the thread sanitizer, so their locks are invisible to it.
extern "C" const char* __tsan_default_suppressions() {
    return "race:libglib-2.0.so\nrace:libfontconfig.so\nrace:libpango\n";
}
// Programs whose standard error is compared must not get the suppression summary.
extern "C" const char* __tsan_default_options() {
    return "print_suppressions=0";
}
#endif
#endif

namespace zelvana::platform {

namespace {

thread_local GraphicsContext* currentContext = nullptr;

double finiteOr(double value, double fallback) {
    return std::isfinite(value) ? value : fallback;
}

bool isDrawable(Rect rect) {
    return rect.width() > 0 && rect.height() > 0 && std::isfinite(rect.width()) &&
           std::isfinite(rect.height()) && std::isfinite(rect.minX()) && std::isfinite(rect.minY());
}

}  // namespace

struct GraphicsContext::Cairo {
    explicit Cairo(const Image& target) : pixels(target), cr(cairo_create(pixels.surface())) {}
    Cairo(const Cairo&) = delete;
    Cairo& operator=(const Cairo&) = delete;
    CairoPixels pixels;
    cairo_t* cr;
    ~Cairo() { cairo_destroy(cr); }
};

GraphicsContext::GraphicsContext(Image& target)
    : target_(target), cairo_(std::make_unique<Cairo>(target)), previous_(currentContext) {
    const Size size = target.size();
    cairo_scale(cairo_->cr, size.width > 0 ? target.pixelsWide() / size.width : 1,
                size.height > 0 ? target.pixelsHigh() / size.height : 1);
    currentContext = this;
}

GraphicsContext::~GraphicsContext() {
    cairo_->pixels.writeBack(target_);
    currentContext = previous_;
}

bool GraphicsContext::writePNG(const Image& image, const std::string& path) {
    platform::assertMainThread();
    const CairoPixels pixels(image, CairoPixels::Use::drawWith);
    return pixels.surface() && image.pixelsWide() > 0 && image.pixelsHigh() > 0 &&
           cairo_surface_write_to_png(pixels.surface(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

GraphicsContext* GraphicsContext::current() {
    platform::assertMainThread();
    return currentContext;
}

void GraphicsContext::saveGraphicsState() {
    platform::assertMainThread();
    cairo_save(cairo_->cr);
}

void GraphicsContext::restoreGraphicsState() {
    platform::assertMainThread();
    cairo_restore(cairo_->cr);
}

void GraphicsContext::translate(double dx, double dy) {
    platform::assertMainThread();
    cairo_translate(cairo_->cr, finiteOr(dx, 0), finiteOr(dy, 0));
}

void GraphicsContext::clip(const BezierPath& path) {
    platform::assertMainThread();
    applyPath(path);
    cairo_clip(cairo_->cr);
}

void GraphicsContext::beginTransparencyLayer(double alpha) {
    platform::assertMainThread();
    layerAlphas_.push_back(std::clamp(finiteOr(alpha, 1), 0.0, 1.0));
    cairo_push_group(cairo_->cr);
}

void GraphicsContext::endTransparencyLayer() {
    platform::assertMainThread();
    if (layerAlphas_.empty()) return;
    cairo_pop_group_to_source(cairo_->cr);
    cairo_set_operator(cairo_->cr, CAIRO_OPERATOR_OVER);
    cairo_paint_with_alpha(cairo_->cr, layerAlphas_.back());
    layerAlphas_.pop_back();
}

void GraphicsContext::setCompositingOperation(CompositingOperation operation) {
    platform::assertMainThread();
    operation_ = operation;
}

void GraphicsContext::setSource(const Color& color) {
    cairo_set_source_rgba(cairo_->cr, color.red(), color.green(), color.blue(), color.alpha());
    cairo_set_operator(cairo_->cr, cairoOperator(operation_));
}

void GraphicsContext::applyPath(const BezierPath& path) {
    cairo_t* cr = cairo_->cr;
    cairo_new_path(cr);
    for (const auto& element : path.elements()) {
        const Point* p = element.points;
        switch (element.type) {
            case BezierPath::ElementType::moveTo:
                cairo_move_to(cr, p[0].x, p[0].y);
                break;
            case BezierPath::ElementType::lineTo:
                cairo_line_to(cr, p[0].x, p[0].y);
                break;
            case BezierPath::ElementType::curveTo:
                cairo_curve_to(cr, p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y);
                break;
            case BezierPath::ElementType::closePath:
                cairo_close_path(cr);
                break;
        }
    }
}

void GraphicsContext::fillRect(Rect rect) {
    platform::assertMainThread();
    if (isDrawable(rect)) fill(BezierPath::rect(rect));
}

void GraphicsContext::fill(const BezierPath& path) {
    platform::assertMainThread();
    applyPath(path);
    setSource(fill_);
    cairo_fill(cairo_->cr);
}

void GraphicsContext::stroke(const BezierPath& path, double lineWidth) {
    platform::assertMainThread();
    if (!(lineWidth > 0) || !std::isfinite(lineWidth)) return;
    applyPath(path);
    setSource(stroke_);
    cairo_set_line_width(cairo_->cr, lineWidth);
    cairo_set_line_cap(cairo_->cr, lineCap_ == LineCapStyle::round    ? CAIRO_LINE_CAP_ROUND
                                   : lineCap_ == LineCapStyle::square ? CAIRO_LINE_CAP_SQUARE
                                                                      : CAIRO_LINE_CAP_BUTT);
    cairo_stroke(cairo_->cr);
}

void GraphicsContext::drawGradient(const Gradient& gradient, Rect rect, double angle) {
    platform::assertMainThread();
    if (!isDrawable(rect) || gradient.colors.empty()) return;
    const double radians = finiteOr(angle, 0) * std::numbers::pi / 180;
    const double cx = rect.minX() + rect.width() / 2;
    const double cy = rect.minY() + rect.height() / 2;
    // Half the length of the rectangle's projection on the gradient's direction.
    const double dx = std::cos(radians);
    const double dy = -std::sin(radians);
    const double half = (std::abs(dx) * rect.width() + std::abs(dy) * rect.height()) / 2;
    cairo_pattern_t* pattern =
        cairo_pattern_create_linear(cx - dx * half, cy - dy * half, cx + dx * half, cy + dy * half);
    for (std::size_t i = 0; i < gradient.colors.size(); ++i) {
        const Color& c = gradient.colors[i];
        cairo_pattern_add_color_stop_rgba(pattern, gradient.locationAt(i), c.red(), c.green(),
                                          c.blue(), c.alpha());
    }
    cairo_t* cr = cairo_->cr;
    cairo_save(cr);
    cairo_rectangle(cr, rect.minX(), rect.minY(), rect.width(), rect.height());
    cairo_set_source(cr, pattern);
    cairo_set_operator(cr, cairoOperator(operation_));
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_pattern_destroy(pattern);
}

void GraphicsContext::drawImage(const Image& image, Rect into, Rect from,
                                CompositingOperation operation, double fraction) {
    platform::assertMainThread();
    if (!isDrawable(into) || !isDrawable(from) || image.pixelsWide() == 0 ||
        image.pixelsHigh() == 0 || !(image.size().width > 0) || !(image.size().height > 0)) {
        return;
    }
    const double pixelsPerPointX = image.pixelsWide() / image.size().width;
    const double pixelsPerPointY = image.pixelsHigh() / image.size().height;
    const ImagePart part(image,
                         Rect{{from.minX() * pixelsPerPointX, from.minY() * pixelsPerPointY},
                              {from.width() * pixelsPerPointX, from.height() * pixelsPerPointY}});
    part.paint(cairo_->cr, into, cairoOperator(operation),
               std::clamp(finiteOr(fraction, 1), 0.0, 1.0));
}

void GraphicsContext::drawFocusRing(const Image& mask, Rect into) {
    platform::assertMainThread();
    if (!isDrawable(into) || mask.pixelsWide() == 0 || mask.pixelsHigh() == 0) return;
    const ImagePart shape(
        mask,
        Rect{{}, {static_cast<double>(mask.pixelsWide()), static_cast<double>(mask.pixelsHigh())}});
    if (!shape.isReady()) return;
    // The shape grown by the ring's width, as copies of it all round, less
    // the shape itself.
    constexpr double kRingWidth = 3;
    constexpr int kDirections = 24;
    cairo_t* cr = cairo_->cr;
    cairo_push_group(cr);
    for (double reach = 1; reach <= kRingWidth; ++reach) {
        for (int i = 0; i < kDirections; ++i) {
            const double angle = 2 * std::numbers::pi * i / kDirections;
            const Rect moved = into.offsetBy(reach * std::cos(angle), reach * std::sin(angle));
            shape.paint(cr, moved, CAIRO_OPERATOR_OVER, 1);
        }
    }
    shape.paint(cr, into, CAIRO_OPERATOR_DEST_OUT, 1);
    cairo_pattern_t* ring = cairo_pop_group(cr);
    setSource(Color::keyboardFocusIndicatorColor());
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_mask(cr, ring);
    cairo_pattern_destroy(ring);
}

void GraphicsContext::blur(const BezierPath& shape, double radius) {
    platform::assertMainThread();
    cairo_t* cr = cairo_->cr;
    applyPath(shape);
    double left = 0, top = 0, right = 0, bottom = 0;
    cairo_path_extents(cr, &left, &top, &right, &bottom);
    cairo_user_to_device(cr, &left, &top);
    cairo_user_to_device(cr, &right, &bottom);
    const double factor = std::max(1.0, finiteOr(radius, 1));
    const int wide = static_cast<int>(std::ceil((right - left) / factor)) + 1;
    const int high = static_cast<int>(std::ceil((bottom - top) / factor)) + 1;
    if (!(right > left) || !(bottom > top) || wide > 16384 || high > 16384) {
        cairo_new_path(cr);
        return;
    }
    // Shrunk with cairo's averaging filter, then stretched back smoothly:
    // each pixel becomes the mean of the `factor`-wide square around it.
    cairo_surface_t* target = cairo_get_target(cr);
    cairo_surface_flush(target);
    cairo_surface_t* small = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, wide, high);
    cairo_t* shrink = cairo_create(small);
    cairo_scale(shrink, 1 / factor, 1 / factor);
    cairo_set_source_surface(shrink, target, -left, -top);
    cairo_pattern_set_filter(cairo_get_source(shrink), CAIRO_FILTER_GOOD);
    cairo_set_operator(shrink, CAIRO_OPERATOR_SOURCE);
    cairo_paint(shrink);
    cairo_destroy(shrink);
    cairo_save(cr);
    cairo_clip(cr);
    cairo_identity_matrix(cr);
    cairo_translate(cr, left, top);
    cairo_scale(cr, factor, factor);
    cairo_set_source_surface(cr, small, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(small);
}

void GraphicsContext::drawText(const std::string& text, Point origin, const Font& font,
                               const Color& color) {
    platform::assertMainThread();
    if (text.empty() || !(font.pointSize() > 0)) return;
    drawText(TextLayout(text, font), origin, 0, TextAlignment::left, color);
}

void GraphicsContext::drawText(const TextLayout& text, Point origin, double width,
                               TextAlignment alignment, const Color& color) {
    platform::assertMainThread();
    setSource(color);
    showTextLayout(cairo_->cr, text, Point{finiteOr(origin.x, 0), finiteOr(origin.y, 0)},
                   finiteOr(width, 0), alignment);
}

}  // namespace zelvana::platform
