#pragma once

#include <optional>
#include <variant>

#include "platform/appkit/BitmapImage.hpp"
#include "platform/appkit/FilteredImage.hpp"
#include "platform/appkit/Rect.hpp"

namespace zelvana::platform {

// One representation of an image (NSImageRep): a bitmap (NSBitmapImageRep)
// or a filtered image rendered when it is drawn (NSCIImageRep), with its size
// in points and the pixel dimensions it is drawn at. Both start at the
// source's own pixel size, one point a pixel.
class ImageRep {
public:
    explicit ImageRep(BitmapImage bitmap);
    explicit ImageRep(FilteredImage image);

    Size size() const { return size_; }
    void setSize(Size size) { size_ = size; }
    int pixelsWide() const { return pixelsWide_; }
    void setPixelsWide(int pixels) { pixelsWide_ = pixels; }
    int pixelsHigh() const { return pixelsHigh_; }
    void setPixelsHigh(int pixels) { pixelsHigh_ = pixels; }

    // The source: null for the other kind.
    const BitmapImage* bitmap() const { return std::get_if<BitmapImage>(&source_); }
    const FilteredImage* filteredImage() const { return std::get_if<FilteredImage>(&source_); }
    // The source's pixels: the bitmap, or the whole extent rendered. None for
    // an empty extent.
    std::optional<BitmapImage> sourcePixels() const;

private:
    std::variant<BitmapImage, FilteredImage> source_;
    Size size_;
    int pixelsWide_;
    int pixelsHigh_;
};

}  // namespace zelvana::platform
