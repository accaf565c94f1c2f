#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/appkit/Pixel.hpp"

namespace zelvana::platform {

// Pixels with no size in points (CGImage): RGBA, 8 bits a channel, not
// premultiplied, rows top first. Never empty, never changed: copies share
// the pixels.
class BitmapImage {
public:
    // None without pixels, or when `pixels` does not hold width x height of them.
    static std::optional<BitmapImage> make(int width, int height, std::vector<Pixel> pixels);

    int width() const { return width_; }
    int height() const { return height_; }
    // Column `x` from the left, row `y` from the top; clear outside.
    Pixel pixelAt(int x, int y) const;
    const std::vector<Pixel>& pixels() const { return *pixels_; }

    bool operator==(const BitmapImage& other) const;

private:
    BitmapImage(int width, int height, std::shared_ptr<const std::vector<Pixel>> pixels)
        : width_(width), height_(height), pixels_(std::move(pixels)) {}

    int width_;
    int height_;
    std::shared_ptr<const std::vector<Pixel>> pixels_;
};

}  // namespace zelvana::platform
