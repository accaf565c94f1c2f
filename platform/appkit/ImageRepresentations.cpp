// An image's representations and its bitmaps: how the three image kinds
// turn into one another.
#include <cmath>

#include "platform/appkit/Image.hpp"
#include "platform/appkit/ImageRep.hpp"

namespace zelvana::platform {

namespace {

// Larger bitmaps are refused rather than filling memory.
constexpr double kMostPixels = 1 << 26;

Size pixelSize(const BitmapImage& bitmap) {
    return Size{static_cast<double>(bitmap.width()), static_cast<double>(bitmap.height())};
}

Size extentSize(const FilteredImage& image) {
    return image.extent().size;
}

bool isDrawable(Rect rect) {
    return std::isfinite(rect.minX()) && std::isfinite(rect.minY()) &&
           std::isfinite(rect.width()) && std::isfinite(rect.height()) && rect.width() > 0 &&
           rect.height() > 0;
}

ImageRep sizedRep(const BitmapImage& bitmap, Size size) {
    ImageRep rep(bitmap);
    if (size != Size{}) rep.setSize(size);
    return rep;
}

}  // namespace

ImageRep::ImageRep(BitmapImage bitmap)
    : source_(std::move(bitmap)),
      size_(pixelSize(*this->bitmap())),
      pixelsWide_(this->bitmap()->width()),
      pixelsHigh_(this->bitmap()->height()) {}

ImageRep::ImageRep(FilteredImage image)
    : source_(std::move(image)),
      size_(extentSize(*filteredImage())),
      pixelsWide_(static_cast<int>(size_.width)),
      pixelsHigh_(static_cast<int>(size_.height)) {}

std::optional<BitmapImage> ImageRep::sourcePixels() const {
    if (const BitmapImage* own = bitmap()) return *own;
    const FilteredImage& image = *filteredImage();
    return FilterContext().createCGImage(image, image.extent());
}

Image::Image(const ImageRep& representation)
    : Image(representation.size(), representation.pixelsWide(), representation.pixelsHigh()) {
    if (const auto source = representation.sourcePixels(); source && hasPixels()) {
        if (source->width() == pixelsWide_ && source->height() == pixelsHigh_) {
            pixels_ = std::make_shared<std::vector<Pixel>>(source->pixels());
        } else {
            Image unscaled(pixelSize(*source), source->width(), source->height());
            unscaled.pixels_ = std::make_shared<std::vector<Pixel>>(source->pixels());
            draw(unscaled, Rect{{}, size_}, Rect{{}, unscaled.size_}, CompositingOperation::copy);
        }
    }
    representation_ = std::make_shared<const ImageRep>(representation);
}

Image::Image(const BitmapImage& bitmap, Size size) : Image(sizedRep(bitmap, size)) {}

std::vector<ImageRep> Image::representations() const {
    if (const auto& own = representation()) return {*own};
    const auto bitmap = cgImageForProposedRect(Rect{{}, size_});
    if (!bitmap) return {};
    ImageRep rep(*bitmap);
    rep.setSize(size_);
    return {rep};
}

std::optional<BitmapImage> Image::cgImageForProposedRect(Rect proposed) const {
    if (!hasPixels() || !isDrawable(proposed)) return std::nullopt;
    if (proposed.size == size_) return BitmapImage::make(pixelsWide_, pixelsHigh_, pixels());
    const double wide = std::round(proposed.width() * pixelsWide_ / size_.width);
    const double high = std::round(proposed.height() * pixelsHigh_ / size_.height);
    if (wide * high > kMostPixels) return std::nullopt;
    Image scaled(proposed.size, static_cast<int>(wide), static_cast<int>(high));
    scaled.draw(*this, Rect{{}, proposed.size}, Rect{{}, size_}, CompositingOperation::copy);
    return BitmapImage::make(scaled.pixelsWide_, scaled.pixelsHigh_, *scaled.pixels_);
}

}  // namespace zelvana::platform
