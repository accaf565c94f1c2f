#include "platform/appkit/Image.hpp"
#include "platform/appkit/CairoPixels.hpp"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>
#include <utility>

namespace zelvana::platform {

namespace {

std::uint64_t freshContentId() {
    static std::atomic<std::uint64_t> next{1};
    return next.fetch_add(1, std::memory_order_relaxed);
}

double nonNegative(double value) {
    return std::isfinite(value) && value > 0 ? value : 0;
}

int pixelCount(double points) {
    return static_cast<int>(std::lround(nonNegative(points)));
}

bool isEmpty(Rect rect) {
    return !(rect.width() > 0) || !(rect.height() > 0);
}

// One box-blur pass along the lines of a row-major plane of whole numbers:
// line `l` starts at l * stride and its items lie `step` apart. Each item
// becomes the sum of the items within `radius` of it (none beyond the ends),
// kept in a running sum, so the pass costs the same whatever the radius.
void boxSum(std::vector<std::uint64_t>& plane, int length, int lines, int stride, int step,
            int radius) {
    // Beyond the line's length a wider window takes in nothing more.
    radius = std::min(radius, length);
    std::vector<std::uint64_t> line(static_cast<std::size_t>(length));
    for (int l = 0; l < lines; ++l) {
        const std::size_t base = static_cast<std::size_t>(l) * stride;
        for (int i = 0; i < length; ++i) line[i] = plane[base + static_cast<std::size_t>(i) * step];
        std::uint64_t sum = 0;
        for (int k = 0; k <= std::min(length - 1, radius); ++k) sum += line[k];
        for (int i = 0; i < length; ++i) {
            plane[base + static_cast<std::size_t>(i) * step] = sum;
            if (i + radius + 1 < length) sum += line[i + radius + 1];
            if (i - radius >= 0) sum -= line[i - radius];
        }
    }
}

// A rectangle of an image's points (origin bottom-left) in its pixels (origin top-left).
Rect inPixels(const Image& image, Rect points) {
    const double scaleX = image.pixelsWide() / image.size().width;
    const double scaleY = image.pixelsHigh() / image.size().height;
    return Rect{{points.minX() * scaleX, (image.size().height - points.maxY()) * scaleY},
                {points.width() * scaleX, points.height() * scaleY}};
}

// A drop shadow's blurred coverage: an alpha mask over `region`, a target's pixels.
class ShadowMask {
public:
    ShadowMask(const ImagePart& source, Rect target, double alpha, int radius)
        : region_(PixelRect::covering(target).grown(radius)),
          mask_(cairo_image_surface_create(CAIRO_FORMAT_A8, region_.width, region_.height)) {
        if (cairo_surface_status(mask_) != CAIRO_STATUS_SUCCESS) return;
        cairo_t* cr = cairo_create(mask_);
        cairo_translate(cr, -region_.left, -region_.top);
        source.paint(cr, target, CAIRO_OPERATOR_OVER, alpha);
        cairo_destroy(cr);
        if (radius > 0) blur(radius);
    }
    ~ShadowMask() { cairo_surface_destroy(mask_); }
    ShadowMask(const ShadowMask&) = delete;
    ShadowMask& operator=(const ShadowMask&) = delete;

    PixelRect region() const { return region_; }
    void paint(cairo_t* cr, const Color& color) const {
        if (cairo_surface_status(mask_) != CAIRO_STATUS_SUCCESS) return;
        cairo_set_source_rgba(cr, color.red(), color.green(), color.blue(), color.alpha());
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
        cairo_mask_surface(cr, mask_, region_.left, region_.top);
    }

private:
    // Cairo has no blur: a box blur across, then down, in whole numbers, so
    // the sums are exact.
    void blur(int radius) {
        cairo_surface_flush(mask_);
        unsigned char* data = cairo_image_surface_get_data(mask_);
        const int stride = cairo_image_surface_get_stride(mask_);
        const auto at = [&](int x, int y) -> unsigned char& {
            return data[static_cast<std::ptrdiff_t>(y) * stride + x];
        };
        const int wide = region_.width;
        const int high = region_.height;
        std::vector<std::uint64_t> sums(static_cast<std::size_t>(wide) * high);
        for (int y = 0; y < high; ++y) {
            for (int x = 0; x < wide; ++x) sums[static_cast<std::size_t>(y) * wide + x] = at(x, y);
        }
        boxSum(sums, wide, high, wide, 1, radius);
        boxSum(sums, high, wide, 1, wide, radius);
        const std::uint64_t window = static_cast<std::uint64_t>(2 * radius + 1) * (2 * radius + 1);
        for (int y = 0; y < high; ++y) {
            for (int x = 0; x < wide; ++x) {
                const auto sum = sums[static_cast<std::size_t>(y) * wide + x];
                at(x, y) = static_cast<unsigned char>((sum + window / 2) / window);
            }
        }
        cairo_surface_mark_dirty(mask_);
    }

    PixelRect region_;
    cairo_surface_t* mask_;
};

}  // namespace

// What the copies of an image drawn when needed share: the recipe, until
// one of them has run it, and then what it made.
struct Image::Drawing {
    std::once_flag once;
    std::function<Image()> make;
    std::shared_ptr<std::vector<Pixel>> pixels;
    std::shared_ptr<const ImageRep> representation;
};

Image::Image(Size size) : Image(size, pixelCount(size.width), pixelCount(size.height)) {}

Image Image::drawnWhenNeeded(Size size, std::function<Image()> make) {
    Image image(Size{}, 0, 0);
    image.size_ = Size{nonNegative(size.width), nonNegative(size.height)};
    image.pixelsWide_ = pixelCount(size.width);
    image.pixelsHigh_ = pixelCount(size.height);
    image.drawing_ = std::make_shared<Drawing>();
    image.drawing_->make = std::move(make);
    return image;
}

const Image::Drawing& Image::drawn() const {
    Drawing& drawing = *drawing_;
    std::call_once(drawing.once, [&] {
        Image made = drawing.make();
        // What it holds is no longer needed; kept until now should it throw,
        // for the next reader to try again.
        drawing.make = nullptr;
        if (made.pixelsWide_ != pixelsWide_ || made.pixelsHigh_ != pixelsHigh_) {
            Image scaled(size_, pixelsWide_, pixelsHigh_);
            scaled.draw(made, Rect{{}, size_}, Rect{{}, made.size_}, CompositingOperation::copy);
            made = std::move(scaled);
        }
        made.takeDrawing();
        drawing.pixels = std::move(made.pixels_);
        drawing.representation = std::move(made.representation_);
    });
    return drawing;
}

const std::vector<Pixel>& Image::drawnPixels() const {
    return *drawn().pixels;
}

const std::shared_ptr<const ImageRep>& Image::representation() const {
    return drawing_ ? drawn().representation : representation_;
}

void Image::takeDrawing() {
    if (!drawing_) return;
    const Drawing& drawing = drawn();
    pixels_ = drawing.pixels;
    representation_ = drawing.representation;
    drawing_.reset();
}

Image::Image(Size size, int pixelsWide, int pixelsHigh)
    : size_{nonNegative(size.width), nonNegative(size.height)},
      pixelsWide_(std::max(0, pixelsWide)),
      pixelsHigh_(std::max(0, pixelsHigh)),
      pixels_(std::make_shared<std::vector<Pixel>>(static_cast<std::size_t>(pixelsWide_) *
                                                   static_cast<std::size_t>(pixelsHigh_))),
      contentId_(freshContentId()) {}

bool Image::operator==(const Image& other) const {
    return size_ == other.size_ && pixelsWide_ == other.pixelsWide_ &&
           pixelsHigh_ == other.pixelsHigh_ && isTemplate_ == other.isTemplate_ &&
           (contentId_ == other.contentId_ || pixels() == other.pixels());
}

void Image::changed() {
    takeDrawing();
    if (pixels_.use_count() > 1) pixels_ = std::make_shared<std::vector<Pixel>>(*pixels_);
    contentId_ = freshContentId();
    representation_.reset();
}

bool Image::hasPixels() const {
    return pixelsWide_ > 0 && pixelsHigh_ > 0 && !isEmpty(Rect{{}, size_});
}

bool Image::contains(int x, int y) const {
    return x >= 0 && y >= 0 && x < pixelsWide_ && y < pixelsHigh_;
}

Pixel Image::pixelAt(int x, int y) const {
    return contains(x, y) ? pixels()[static_cast<std::size_t>(y) * pixelsWide_ + x] : Pixel{};
}

void Image::setPixel(int x, int y, Pixel pixel) {
    changed();
    store(x, y, pixel);
}

void Image::store(int x, int y, Pixel pixel) {
    if (contains(x, y)) (*pixels_)[static_cast<std::size_t>(y) * pixelsWide_ + x] = pixel;
}

void Image::fill(const Color& color, Rect rect, CompositingOperation operation) {
    if (isEmpty(rect) || !hasPixels()) return;
    const Rect area = inPixels(*this, rect);
    changed();
    drawInto(*this, PixelRect::covering(area), [&](cairo_t* cr) {
        cairo_rectangle(cr, area.minX(), area.minY(), area.width(), area.height());
        cairo_set_source_rgba(cr, color.red(), color.green(), color.blue(), color.alpha());
        cairo_set_operator(cr, cairoOperator(operation));
        cairo_fill(cr);
    });
}

void Image::draw(const Image& source, Rect into, Rect from, CompositingOperation operation,
                 double fraction, const std::optional<Shadow>& shadow) {
    if (isEmpty(into) || isEmpty(from) || !hasPixels() || !source.hasPixels()) return;
    const ImagePart part(source, inPixels(source, from));
    if (!part.isReady()) return;
    const Rect target = inPixels(*this, into);
    const double alpha = std::clamp(std::isfinite(fraction) ? fraction : 1.0, 0.0, 1.0);
    std::optional<ShadowMask> mask;
    PixelRect region = PixelRect::covering(target);
    if (shadow) {
        Rect moved = into;
        moved.origin.x += shadow->offset.x;
        moved.origin.y += shadow->offset.y;
        // Far wider than any image: no cast overflows.
        const double radius =
            std::min(nonNegative(shadow->blurRadius) * pixelsWide_ / size_.width, 1e6);
        mask.emplace(part, inPixels(*this, moved), alpha, static_cast<int>(std::lround(radius)));
        region = region.united(mask->region());
    }
    changed();
    drawInto(*this, region, [&](cairo_t* cr) {
        if (mask) mask->paint(cr, shadow->color);
        part.paint(cr, target, cairoOperator(operation), alpha);
    });
}

}  // namespace zelvana::platform
