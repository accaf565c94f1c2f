#pragma once

#include "platform/appkit/Color.hpp"
#include "platform/appkit/Image.hpp"
#include "platform/appkit/View.hpp"

namespace zelvana::gridpanel {

// A picture of the view's bounds as drawn now (the cell's drag image); an
// empty image when there is nothing to draw. Main thread.
platform::Image snapshot(platform::View& view);

// A copy of the image with the colour laid over its opaque parts, keeping
// its size and alpha; never a template, even when the image was one.
platform::Image tinted(const platform::Image& image, const platform::Color& color);

}  // namespace zelvana::gridpanel
