#include "platform/appkit/FilteredImage.hpp"

#include <algorithm>
#include <cmath>

namespace zelvana::platform {

namespace {

// Larger renders are refused rather than filling memory.
constexpr long long kMostPixels = 1LL << 26;

std::uint8_t channel(double value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0.0, 1.0) * 255.0 + 0.5);
}

double unit(std::uint8_t value) {
    return value / 255.0;
}

// The classic sepia matrix at full intensity.
Pixel sepia(Pixel pixel) {
    const double r = unit(pixel.red);
    const double g = unit(pixel.green);
    const double b = unit(pixel.blue);
    return Pixel{channel(0.393 * r + 0.769 * g + 0.189 * b),
                 channel(0.349 * r + 0.686 * g + 0.168 * b),
                 channel(0.272 * r + 0.534 * g + 0.131 * b), pixel.alpha};
}

// Rec. 709 luminance through a smoothstep curve, for the film-noir contrast.
Pixel noir(Pixel pixel) {
    const double luminance =
        0.2126 * unit(pixel.red) + 0.7152 * unit(pixel.green) + 0.0722 * unit(pixel.blue);
    const std::uint8_t grey = channel(luminance * luminance * (3 - 2 * luminance));
    return Pixel{grey, grey, grey, pixel.alpha};
}

}  // namespace

FilteredImage::FilteredImage(BitmapImage bitmap) : bitmap_(std::move(bitmap)) {}

FilteredImage FilteredImage::empty() {
    return FilteredImage();
}

Rect FilteredImage::extent() const {
    if (!bitmap_) return Rect{};
    return Rect::make(0, 0, bitmap_->width(), bitmap_->height());
}

std::optional<FilteredImage> FilteredImage::applyingFilter(const std::string& name) const {
    PixelFilter filter = nullptr;
    if (name == "CISepiaTone") filter = sepia;
    if (name == "CIPhotoEffectNoir") filter = noir;
    if (!filter) return std::nullopt;
    FilteredImage filtered = *this;
    filtered.filters_.push_back(filter);
    return filtered;
}

std::optional<BitmapImage> FilterContext::createCGImage(const FilteredImage& image,
                                                        Rect rect) const {
    if (!image.bitmap_ || !std::isfinite(rect.minX()) || !std::isfinite(rect.minY()) ||
        !std::isfinite(rect.maxX()) || !std::isfinite(rect.maxY())) {
        return std::nullopt;
    }
    const auto left = static_cast<long long>(std::floor(rect.minX()));
    const auto bottom = static_cast<long long>(std::floor(rect.minY()));
    const auto right = static_cast<long long>(std::ceil(rect.maxX()));
    const auto top = static_cast<long long>(std::ceil(rect.maxY()));
    if (right <= left || top <= bottom || (right - left) * (top - bottom) > kMostPixels) {
        return std::nullopt;
    }
    const BitmapImage& source = *image.bitmap_;
    const auto width = static_cast<int>(right - left);
    const auto height = static_cast<int>(top - bottom);
    std::vector<Pixel> pixels;
    pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (long long row = 0; row < height; ++row) {
        // Rows are stored top first; the extent counts up from the bottom.
        const long long sourceRow = source.height() - top + row;
        for (long long column = left; column < right; ++column) {
            const bool inside = column >= 0 && column < source.width() && sourceRow >= 0 &&
                                sourceRow < source.height();
            Pixel pixel =
                inside ? source.pixelAt(static_cast<int>(column), static_cast<int>(sourceRow))
                       : Pixel{};
            if (inside) {
                for (const auto filter : image.filters_) pixel = filter(pixel);
            }
            pixels.push_back(pixel);
        }
    }
    return BitmapImage::make(width, height, std::move(pixels));
}

}  // namespace zelvana::platform
