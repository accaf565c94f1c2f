#include "Tools/ImageUtil.hpp"

namespace zelvana::tools {

namespace {

using platform::CompositingOperation;
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

}  // namespace

Image ImageUtil::tinted(const Image& image, const platform::Color& color) {
    Image copy = image;
    copy.fill(color, bounds(copy), CompositingOperation::sourceAtop);
    copy.setTemplate(false);
    return copy;
}

Image ImageUtil::resized(const Image& image, double maxSize) {
    const Size size = image.size();
    if (size.width < maxSize && size.height < maxSize) return image;
    Image scaled(fitted(size, maxSize));
    scaled.draw(image, bounds(scaled), bounds(image), CompositingOperation::sourceOver, 1.0);
    return scaled;
}

Image ImageUtil::iconSized(const Image& image) {
    return resized(image, iconSide);
}

std::optional<Image> ImageUtil::grayscale(const Image& image) {
    const auto filtered = image.applyingFilter("CIPhotoEffectNoir");
    if (!filtered) return std::nullopt;
    const Size size = image.size();
    Image grey(size, static_cast<int>(size.width), static_cast<int>(size.height));
    grey.draw(*filtered, bounds(grey), bounds(*filtered), CompositingOperation::copy);
    return grey;
}

std::optional<Image> ImageUtil::applyFilter(const Image& image, const std::string& filterName) {
    const auto filtered = image.applyingFilter(filterName);
    if (!filtered) return std::nullopt;
    return resized(*filtered, image.size().width);
}

}  // namespace zelvana::tools
