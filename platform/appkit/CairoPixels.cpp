#include "platform/appkit/CairoPixels.hpp"

#include <algorithm>
#include <cmath>

namespace zelvana::platform {

namespace {

// Most pixels are opaque or clear, and need no arithmetic.
std::uint32_t premultiplied(Pixel pixel) {
    if (pixel.alpha == 0) return 0;
    const auto scaled = [alpha = pixel.alpha](std::uint8_t channel) {
        return alpha == 255 ? std::uint32_t{channel}
                            : static_cast<std::uint32_t>((channel * alpha + 127) / 255);
    };
    return (std::uint32_t{pixel.alpha} << 24) | (scaled(pixel.red) << 16) |
           (scaled(pixel.green) << 8) | scaled(pixel.blue);
}

Pixel straight(std::uint32_t value) {
    const std::uint32_t alpha = value >> 24;
    const auto unscaled = [alpha](std::uint32_t channel) {
        if (alpha == 255) return static_cast<std::uint8_t>(channel);
        return static_cast<std::uint8_t>(
            alpha == 0 ? 0 : std::min(255u, (channel * 255 + alpha / 2) / alpha));
    };
    return Pixel{unscaled((value >> 16) & 0xff), unscaled((value >> 8) & 0xff),
                 unscaled(value & 0xff), static_cast<std::uint8_t>(alpha)};
}

std::uint32_t* rowOf(cairo_surface_t* surface, int y) {
    return reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface) +
                                            static_cast<std::ptrdiff_t>(y) *
                                                cairo_image_surface_get_stride(surface));
}

}  // namespace

cairo_operator_t cairoOperator(CompositingOperation operation) {
    switch (operation) {
        case CompositingOperation::copy:
            return CAIRO_OPERATOR_SOURCE;
        case CompositingOperation::sourceAtop:
            return CAIRO_OPERATOR_ATOP;
        case CompositingOperation::sourceOver:
            break;
    }
    return CAIRO_OPERATOR_OVER;
}

PixelRect PixelRect::covering(Rect pixels) {
    // Clamped before the casts, which would overflow for far-away rectangles.
    const auto whole = [](double value) { return static_cast<int>(std::clamp(value, -1e6, 1e6)); };
    const int left = whole(std::floor(pixels.minX()));
    const int top = whole(std::floor(pixels.minY()));
    return PixelRect{left, top, whole(std::ceil(pixels.maxX())) - left,
                     whole(std::ceil(pixels.maxY())) - top};
}

PixelRect PixelRect::united(const PixelRect& other) const {
    const int l = std::min(left, other.left);
    const int t = std::min(top, other.top);
    return PixelRect{l, t, std::max(left + width, other.left + other.width) - l,
                     std::max(top + height, other.top + other.height) - t};
}

PixelRect PixelRect::intersection(const PixelRect& other) const {
    const int l = std::max(left, other.left);
    const int t = std::max(top, other.top);
    const int r = std::min(left + width, other.left + other.width);
    const int b = std::min(top + height, other.top + other.height);
    return r > l && b > t ? PixelRect{l, t, r - l, b - t} : PixelRect{};
}

CairoPixels::CairoPixels(const Image& image, PixelRect region, Use use)
    : region_(region.intersection(PixelRect::of(image))) {
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, region_.width, region_.height);
    if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface_);
        surface_ = nullptr;
        return;
    }
    cairo_surface_flush(surface_);
    const auto& pixels = image.pixels();
    for (int y = 0; y < region_.height; ++y) {
        auto* row = rowOf(surface_, y);
        const auto first = static_cast<std::size_t>(region_.top + y) * image.pixelsWide() +
                           static_cast<std::size_t>(region_.left);
        for (int x = 0; x < region_.width; ++x) {
            row[x] = premultiplied(pixels[first + static_cast<std::size_t>(x)]);
        }
        if (use == Use::drawInto) original_.insert(original_.end(), row, row + region_.width);
    }
    cairo_surface_mark_dirty(surface_);
}

CairoPixels::~CairoPixels() {
    if (surface_) cairo_surface_destroy(surface_);
}

void CairoPixels::writeBack(Image& image) const {
    if (!surface_ || original_.empty()) return;
    cairo_surface_flush(surface_);
    auto& pixels = image.pixels();
    auto unchanged = original_.begin();
    for (int y = 0; y < region_.height; ++y) {
        const auto* row = rowOf(surface_, y);
        const auto first = static_cast<std::size_t>(region_.top + y) * image.pixelsWide() +
                           static_cast<std::size_t>(region_.left);
        for (int x = 0; x < region_.width; ++x, ++unchanged) {
            if (row[x] != *unchanged)
                pixels[first + static_cast<std::size_t>(x)] = straight(row[x]);
        }
    }
}

ImagePart::ImagePart(const Image& image, Rect part)
    : pixels_(image, PixelRect::covering(part), CairoPixels::Use::drawWith), part_(part) {
    // Relative to the pixels kept.
    part_.origin.x -= pixels_.region().left;
    part_.origin.y -= pixels_.region().top;
}

void ImagePart::paint(cairo_t* cr, Rect target, cairo_operator_t op, double alpha) const {
    if (!isReady()) return;
    cairo_save(cr);
    cairo_rectangle(cr, target.minX(), target.minY(), target.width(), target.height());
    cairo_clip(cr);
    cairo_translate(cr, target.minX(), target.minY());
    cairo_scale(cr, target.width() / part_.width(), target.height() / part_.height());
    cairo_set_source_surface(cr, pixels_.surface(), -part_.minX(), -part_.minY());
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_set_operator(cr, op);
    cairo_paint_with_alpha(cr, alpha);
    cairo_restore(cr);
}

}  // namespace zelvana::platform
