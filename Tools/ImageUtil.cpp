#include "Tools/ImageUtil.hpp"

#include <cmath>

#include "Logging/Logging.hpp"

namespace zelvana::tools {

namespace {

using platform::BitmapImage;
using platform::CompositingOperation;
using platform::FilteredImage;
using platform::Image;
using platform::Rect;
using platform::Size;

Rect bounds(const Image& image) {
    return Rect{{}, image.size()};
}

// Aspect kept, the longer side `side`.
Size fitted(Size size, double side) {
    if (size.height < size.width) return Size{side, size.height * side / size.width};
    if (size.width < size.height) return Size{size.width * side / size.height, side};
    return Size{side, side};
}

// Larger pixel sizes are refused rather than filling memory.
constexpr double kMostPixels = 1 << 26;

bool isValidPixelSize(Size size) {
    return std::isfinite(size.width) && std::isfinite(size.height) && size.width >= 0 &&
           size.height >= 0 && std::trunc(size.width) * std::trunc(size.height) <= kMostPixels &&
           size.width <= kMostPixels && size.height <= kMostPixels;
}

}  // namespace

std::optional<FilteredImage> ImageUtil::ciImage(const Image& image) {
    const auto bitmap = cgImage(image);
    if (!bitmap) return std::nullopt;
    return FilteredImage(*bitmap);
}

std::optional<BitmapImage> ImageUtil::cgImage(const Image& image) {
    return image.cgImageForProposedRect(bounds(image));
}

std::optional<BitmapImage> ImageUtil::cgImage(const FilteredImage& image,
                                              const platform::FilterContext* context) {
    const platform::FilterContext fresh;
    return (context ? *context : fresh).createCGImage(image, image.extent());
}

Image ImageUtil::nsImage(const FilteredImage& image, std::optional<Size> pixelSize,
                         std::optional<Size> size) {
    platform::ImageRep rep(image);
    if (pixelSize && !isValidPixelSize(*pixelSize)) {
        logging::Logging::error("Not drawing a filtered image at a pixel size of " +
                                std::to_string(pixelSize->width) + " x " +
                                std::to_string(pixelSize->height));
    } else if (pixelSize) {
        rep.setPixelsWide(static_cast<int>(pixelSize->width));
        rep.setPixelsHigh(static_cast<int>(pixelSize->height));
    }
    if (size) rep.setSize(*size);
    return Image(rep);
}

FilteredImage ImageUtil::ciImage(const BitmapImage& image) {
    return FilteredImage(image);
}

Image ImageUtil::nsImage(const BitmapImage& image) {
    return Image(image, Size{});
}

Image ImageUtil::tinted(const Image& image, const platform::Color& color) {
    Image copy = image;
    copy.fill(color, bounds(copy), CompositingOperation::sourceAtop);
    copy.setTemplate(false);
    return copy;
}

Image ImageUtil::resized(const Image& image, double maxSize) {
    const Size size = image.size();
    if (size.width < maxSize && size.height < maxSize) return image;
    // Drawn when first drawn or read: the panel fits a picture into every cell
    // it makes, most of which a large grid never shows.
    const Size target = fitted(size, maxSize);
    return Image::drawnWhenNeeded(target, [image, target] {
        Image scaled(target);
        scaled.draw(image, bounds(scaled), bounds(image), CompositingOperation::sourceOver, 1.0);
        return scaled;
    });
}

Image ImageUtil::iconSized(const Image& image) {
    return resized(image, iconSide);
}

std::optional<Image> ImageUtil::grayscale(const Image& image) {
    const auto source = ciImage(image);
    const auto grey = source ? source->applyingFilter("CIPhotoEffectNoir") : std::nullopt;
    if (!grey) return std::nullopt;
    return nsImage(*grey, image.size(), image.size());
}

std::optional<Image> ImageUtil::applyFilter(const Image& image, const std::string& filterName) {
    const auto source = ciImage(image);
    const auto filtered = source ? source->applyingFilter(filterName) : std::nullopt;
    if (!filtered) return std::nullopt;
    return resized(Image(platform::ImageRep(*filtered)), image.size().width);
}

}  // namespace zelvana::tools
