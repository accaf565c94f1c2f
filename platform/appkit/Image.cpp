#include "platform/appkit/Image.hpp"

#include <algorithm>
#include <atomic>
#include <cmath>

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

// Single precision: 8-bit channels need no more, and drawing is per pixel.
// Rounds half up like lround for this non-negative range, without the library
// call that dominated drawing.
std::uint8_t channel(float value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f);
}

float unit(std::uint8_t value) {
    constexpr float perLevel = 1.0f / 255.0f;
    return value * perLevel;
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

}  // namespace

// Single precision: 8-bit channels need no more, and drawing is per pixel.
struct Image::Premultiplied {
    float red = 0;
    float green = 0;
    float blue = 0;
    float alpha = 0;

    static Premultiplied of(Pixel pixel) {
        const float alpha = unit(pixel.alpha);
        return {unit(pixel.red) * alpha, unit(pixel.green) * alpha, unit(pixel.blue) * alpha,
                alpha};
    }
    static Premultiplied of(const Color& color) {
        const double alpha = std::clamp(color.alpha(), 0.0, 1.0);
        return {static_cast<float>(color.red() * alpha), static_cast<float>(color.green() * alpha),
                static_cast<float>(color.blue() * alpha), static_cast<float>(alpha)};
    }
    Pixel pixel() const {
        if (alpha <= 0) return Pixel{};
        const float perAlpha = 1.0f / alpha;
        return Pixel{channel(red * perAlpha), channel(green * perAlpha), channel(blue * perAlpha),
                     channel(alpha)};
    }
    Premultiplied scaled(float factor) const {
        return {red * factor, green * factor, blue * factor, alpha * factor};
    }
    Premultiplied plus(const Premultiplied& other) const {
        return {red + other.red, green + other.green, blue + other.blue, alpha + other.alpha};
    }
};

Image::Image(Size size) : Image(size, pixelCount(size.width), pixelCount(size.height)) {}

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
           (contentId_ == other.contentId_ || *pixels_ == *other.pixels_);
}

void Image::changed() {
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
    return contains(x, y) ? (*pixels_)[static_cast<std::size_t>(y) * pixelsWide_ + x] : Pixel{};
}

void Image::setPixel(int x, int y, Pixel pixel) {
    changed();
    store(x, y, pixel);
}

void Image::store(int x, int y, Pixel pixel) {
    if (contains(x, y)) (*pixels_)[static_cast<std::size_t>(y) * pixelsWide_ + x] = pixel;
}

// The pixels under `rect` (points): columns and rows, first and last.
Image::PixelBounds Image::pixelBounds(Rect rect) const {
    const double scaleX = pixelsWide_ / size_.width;
    const double scaleY = pixelsHigh_ / size_.height;
    // Clamped before the cast, which would overflow for far-away rectangles.
    const auto column = [this](double value) {
        return static_cast<int>(std::clamp(value, 0.0, pixelsWide_ - 1.0));
    };
    const auto row = [this](double value) {
        return static_cast<int>(std::clamp(value, 0.0, pixelsHigh_ - 1.0));
    };
    return PixelBounds{column(std::floor(rect.minX() * scaleX)),
                       column(std::ceil(rect.maxX() * scaleX) - 1),
                       row(std::floor((size_.height - rect.maxY()) * scaleY)),
                       row(std::ceil((size_.height - rect.minY()) * scaleY) - 1)};
}

// Bilinear, between pixel centres and within `bounds`; (u, v) in pixels from
// the top-left corner.
Image::Premultiplied Image::sample(double u, double v, const PixelBounds& bounds) const {
    const double x =
        std::clamp(u - 0.5, static_cast<double>(bounds.left), static_cast<double>(bounds.right));
    const double y =
        std::clamp(v - 0.5, static_cast<double>(bounds.top), static_cast<double>(bounds.bottom));
    const int x0 = static_cast<int>(x);
    const int y0 = static_cast<int>(y);
    const int x1 = std::min(x0 + 1, bounds.right);
    const int y1 = std::min(y0 + 1, bounds.bottom);
    const auto fx = static_cast<float>(x - x0);
    const auto fy = static_cast<float>(y - y0);
    const auto at = [this](int px, int py) { return Premultiplied::of(pixelAt(px, py)); };
    const auto top = at(x0, y0).scaled(1 - fx).plus(at(x1, y0).scaled(fx));
    const auto bottom = at(x0, y1).scaled(1 - fx).plus(at(x1, y1).scaled(fx));
    return top.scaled(1 - fy).plus(bottom.scaled(fy));
}

void Image::composite(int x, int y, const Premultiplied& source, CompositingOperation operation) {
    const auto destination = Premultiplied::of(pixelAt(x, y));
    Premultiplied result = source;
    if (operation == CompositingOperation::sourceOver) {
        result = source.plus(destination.scaled(1 - source.alpha));
    } else if (operation == CompositingOperation::sourceAtop) {
        result = source.scaled(destination.alpha).plus(destination.scaled(1 - source.alpha));
    }
    store(x, y, result.pixel());
}

void Image::fill(const Color& color, Rect rect, CompositingOperation operation) {
    if (isEmpty(rect) || !hasPixels()) return;
    changed();
    const auto source = Premultiplied::of(color);
    const double scaleX = pixelsWide_ / size_.width;
    const double scaleY = pixelsHigh_ / size_.height;
    for (int y = 0; y < pixelsHigh_; ++y) {
        const double pointY = size_.height - (y + 0.5) / scaleY;
        if (pointY < rect.minY() || pointY >= rect.maxY()) continue;
        for (int x = 0; x < pixelsWide_; ++x) {
            const double pointX = (x + 0.5) / scaleX;
            if (pointX >= rect.minX() && pointX < rect.maxX()) composite(x, y, source, operation);
        }
    }
}

void Image::draw(const Image& source, Rect into, Rect from, CompositingOperation operation,
                 double fraction, const std::optional<Shadow>& shadow) {
    if (isEmpty(into) || isEmpty(from) || !hasPixels() || !source.hasPixels()) return;
    changed();
    if (shadow) drawShadow(source, into, from, fraction, *shadow);
    const double scaleX = pixelsWide_ / size_.width;
    const double scaleY = pixelsHigh_ / size_.height;
    const double sourceScaleX = source.pixelsWide_ / source.size_.width;
    const double sourceScaleY = source.pixelsHigh_ / source.size_.height;
    const auto opacity = static_cast<float>(std::clamp(fraction, 0.0, 1.0));
    const PixelBounds bounds = source.pixelBounds(from);
    // Only the pixels under `into` can change; the checks below keep the edges exact.
    const PixelBounds target = pixelBounds(into);
    for (int y = target.top; y <= target.bottom; ++y) {
        const double pointY = size_.height - (y + 0.5) / scaleY;
        if (pointY < into.minY() || pointY >= into.maxY()) continue;
        const double sourceY = from.minY() + (pointY - into.minY()) * from.height() / into.height();
        const double v = (source.size_.height - sourceY) * sourceScaleY;
        for (int x = target.left; x <= target.right; ++x) {
            const double pointX = (x + 0.5) / scaleX;
            if (pointX < into.minX() || pointX >= into.maxX()) continue;
            const double sourceX =
                from.minX() + (pointX - into.minX()) * from.width() / into.width();
            composite(x, y, source.sample(sourceX * sourceScaleX, v, bounds).scaled(opacity),
                      operation);
        }
    }
}

// The source's coverage, moved by the offset and blurred, in the shadow's colour.
void Image::drawShadow(const Image& source, Rect into, Rect from, double fraction,
                       const Shadow& shadow) {
    Image coverage(size_, pixelsWide_, pixelsHigh_);
    Rect moved = into;
    moved.origin.x += shadow.offset.x;
    moved.origin.y += shadow.offset.y;
    coverage.draw(source, moved, from, CompositingOperation::sourceOver, fraction);
    // Box-blurred across, then down, in whole numbers: the sums are exact.
    std::vector<std::uint64_t> alpha(coverage.pixels_->size());
    std::transform(coverage.pixels_->begin(), coverage.pixels_->end(), alpha.begin(),
                   [](Pixel pixel) { return std::uint64_t{pixel.alpha}; });
    // Far wider than any image: no cast overflows.
    const double pixelRadius =
        std::min(nonNegative(shadow.blurRadius) * pixelsWide_ / size_.width, 1e6);
    const int radius = static_cast<int>(std::lround(pixelRadius));
    if (radius > 0) {
        boxSum(alpha, pixelsWide_, pixelsHigh_, pixelsWide_, 1, radius);
        boxSum(alpha, pixelsHigh_, pixelsWide_, 1, pixelsWide_, radius);
    }
    const float window = static_cast<float>(2 * radius + 1);
    const float perUnit = 1.0f / (255.0f * window * window);
    const auto color = Premultiplied::of(shadow.color);
    // The blur spreads the coverage at most its radius beyond the moved rectangle.
    const double spread = nonNegative(shadow.blurRadius) + 1;
    const PixelBounds reach =
        pixelBounds(Rect{{moved.minX() - spread, moved.minY() - spread},
                         {moved.width() + 2 * spread, moved.height() + 2 * spread}});
    for (int y = reach.top; y <= reach.bottom; ++y) {
        for (int x = reach.left; x <= reach.right; ++x) {
            const std::uint64_t sum = alpha[static_cast<std::size_t>(y) * pixelsWide_ + x];
            if (sum > 0) {
                const float cover = static_cast<float>(sum) * perUnit;
                composite(x, y, color.scaled(cover), CompositingOperation::sourceOver);
            }
        }
    }
}

}  // namespace zelvana::platform
