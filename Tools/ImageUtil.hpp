#pragma once

#include <optional>
#include <string>

#include "platform/appkit/BitmapImage.hpp"
#include "platform/appkit/Color.hpp"
#include "platform/appkit/FilteredImage.hpp"
#include "platform/appkit/Image.hpp"

namespace zelvana::tools {

// Conversions between the three image kinds (images with representations,
// bitmaps, filtered images) and image treatments: tinting, scaling down,
// grey scale and named filters. None changes the image it is given. Main
// thread only.
class ImageUtil {
public:
    static constexpr double iconSide = 32;

    ImageUtil() = delete;

    // The image as a bitmap at its size, wrapped; none without pixels.
    static std::optional<platform::FilteredImage> ciImage(const platform::Image& image);
    // The image as a bitmap at its size: its pixels exactly; none without pixels.
    static std::optional<platform::BitmapImage> cgImage(const platform::Image& image);
    // The whole extent rendered, with `context` or a new one; none for an
    // empty extent.
    static std::optional<platform::BitmapImage> cgImage(
        const platform::FilteredImage& image, const platform::FilterContext* context = nullptr);
    // An image holding the filtered image as its one representation, of the
    // representation's size: the extent's unless `size` is given, drawn at
    // the extent's pixels unless `pixelSize` is given (fractions dropped).
    // A pixel size that is negative, not finite or too large to hold is
    // refused, logged.
    static platform::Image nsImage(const platform::FilteredImage& image,
                                   std::optional<platform::Size> pixelSize = std::nullopt,
                                   std::optional<platform::Size> size = std::nullopt);
    static platform::FilteredImage ciImage(const platform::BitmapImage& image);
    // At the bitmap's own size, one point a pixel.
    static platform::Image nsImage(const platform::BitmapImage& image);

    // The colour over the image where it is opaque, keeping its alpha; never
    // a template.
    static platform::Image tinted(const platform::Image& image, const platform::Color& color);
    // The image itself when both sides are below `maxSize`; else redrawn so
    // its longer side is `maxSize`, keeping the aspect ratio.
    static platform::Image resized(const platform::Image& image, double maxSize);
    static platform::Image iconSized(const platform::Image& image);
    // Film-noir grey at the image's size, one pixel per point.
    static std::optional<platform::Image> grayscale(const platform::Image& image);
    // Through the named filter with its default parameters, fitted into a
    // square as wide as the image; none for a name without a filter.
    static std::optional<platform::Image> applyFilter(const platform::Image& image,
                                                      const std::string& filterName);
};

}  // namespace zelvana::tools
