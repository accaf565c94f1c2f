#pragma once

#include <optional>
#include <string>

#include "platform/appkit/Color.hpp"
#include "platform/appkit/Image.hpp"

namespace zelvana::tools {

// Image treatments: tinting, scaling down, grey scale and named filters. None
// changes the image it is given.
class ImageUtil {
public:
    static constexpr double iconSide = 32;

    ImageUtil() = delete;

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
