#pragma once

// Inside the platform only: an image's pixels as a cairo surface and back.

#include <cairo.h>

#include <cstdint>
#include <vector>

#include "platform/appkit/Image.hpp"

namespace zelvana::platform {

cairo_operator_t cairoOperator(CompositingOperation operation);

// Columns [left, left + width) and rows [top, top + height) of pixels.
struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    static PixelRect of(const Image& image) {
        return {0, 0, image.pixelsWide(), image.pixelsHigh()};
    }
    // The whole pixels a rectangle of pixels covers any part of.
    static PixelRect covering(Rect pixels);
    bool isEmpty() const { return width <= 0 || height <= 0; }
    PixelRect intersection(const PixelRect& other) const;
    PixelRect united(const PixelRect& other) const;
    PixelRect grown(int by) const { return {left - by, top - by, width + 2 * by, height + 2 * by}; }
};

// A premultiplied copy of part of an image, its top-left pixel at the
// surface's origin, for cairo to draw with or into. Writing back leaves the
// pixels cairo did not touch exactly as they were: premultiplying loses the
// colour of nearly clear pixels.
class CairoPixels {
public:
    // Pixels drawn with are not written back, so they need no copy kept.
    enum class Use { drawInto, drawWith };
    CairoPixels(const Image& image, PixelRect region, Use use = Use::drawInto);
    explicit CairoPixels(const Image& image, Use use = Use::drawInto)
        : CairoPixels(image, PixelRect::of(image), use) {}
    ~CairoPixels();
    CairoPixels(const CairoPixels&) = delete;
    CairoPixels& operator=(const CairoPixels&) = delete;

    // Null when cairo could not make the surface; empty for an empty region.
    cairo_surface_t* surface() const { return surface_; }
    // The part of the image held: what was asked for, within the image.
    const PixelRect& region() const { return region_; }
    // Only for pixels drawn into.
    void writeBack(Image& image) const;

private:
    PixelRect region_;
    cairo_surface_t* surface_ = nullptr;
    std::vector<std::uint32_t> original_;
};

// Draws with cairo into `region` of an image (its pixels, origin top-left,
// as are the context's units) and keeps what changed.
template <typename Draw>
void drawInto(Image& image, PixelRect region, Draw&& draw) {
    const CairoPixels pixels(image, region);
    if (!pixels.surface()) return;
    cairo_t* cr = cairo_create(pixels.surface());
    cairo_translate(cr, -pixels.region().left, -pixels.region().top);
    draw(cr);
    cairo_destroy(cr);
    pixels.writeBack(image);
}

// The pixels of an image under `part` (its pixels, origin top-left), ready to paint.
class ImagePart {
public:
    ImagePart(const Image& image, Rect part);
    bool isReady() const { return pixels_.surface() != nullptr; }
    // Paints the part scaled onto `target` (the context's units): bilinear
    // when enlarging, averaging when reducing, its edge pixels repeated
    // rather than blended with what lies beyond it.
    void paint(cairo_t* cr, Rect target, cairo_operator_t op, double alpha) const;

private:
    CairoPixels pixels_;
    Rect part_;  // within pixels_
};

}  // namespace zelvana::platform
