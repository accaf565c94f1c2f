#include "platform/appkit/BitmapImage.hpp"

namespace zelvana::platform {

std::optional<BitmapImage> BitmapImage::make(int width, int height, std::vector<Pixel> pixels) {
    if (width <= 0 || height <= 0) return std::nullopt;
    if (pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        return std::nullopt;
    }
    return BitmapImage(width, height,
                       std::make_shared<const std::vector<Pixel>>(std::move(pixels)));
}

Pixel BitmapImage::pixelAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return Pixel{};
    return (*pixels_)[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                      static_cast<std::size_t>(x)];
}

bool BitmapImage::operator==(const BitmapImage& other) const {
    return width_ == other.width_ && height_ == other.height_ &&
           (pixels_ == other.pixels_ || *pixels_ == *other.pixels_);
}

}  // namespace zelvana::platform
