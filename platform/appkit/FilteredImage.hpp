#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/BitmapImage.hpp"
#include "platform/appkit/Rect.hpp"

namespace zelvana::platform {

// A recipe for an image (CIImage): a bitmap and the named filters to run it
// through, worked out only when a FilterContext renders it. Its extent is in
// pixels with the origin at the bottom-left. A value type; copies share the
// bitmap.
class FilteredImage {
public:
    // The bitmap as it is, its extent (0, 0, width, height).
    explicit FilteredImage(BitmapImage bitmap);
    // Nothing at all: an empty extent, which renders to no bitmap.
    static FilteredImage empty();

    Rect extent() const;
    // The image through a named filter with its default parameters; nothing
    // is computed yet. Known: "CISepiaTone" (intensity 1) and
    // "CIPhotoEffectNoir"; none for other names.
    std::optional<FilteredImage> applyingFilter(const std::string& name) const;

private:
    friend class FilterContext;
    using PixelFilter = Pixel (*)(Pixel);

    FilteredImage() = default;

    std::optional<BitmapImage> bitmap_;
    std::vector<PixelFilter> filters_;
};

// Renders filtered images (CIContext). Made with no options.
class FilterContext {
public:
    // The pixels of `image` under `rect` (pixels, origin at the bottom-left,
    // widened to whole pixels), through its filters; clear where the rect
    // leaves the extent. None for an empty or infinite rect or an empty image.
    std::optional<BitmapImage> createCGImage(const FilteredImage& image, Rect rect) const;
};

}  // namespace zelvana::platform
