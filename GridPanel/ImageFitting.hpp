#pragma once

#include "platform/appkit/Image.hpp"

namespace zelvana::gridpanel {

// The conversions between image kinds that go with fitting are
// tools::ImageUtil's.

// The image scaled down, aspect kept, so that neither side exceeds
// `largestDimension`; an image already smaller is returned as it is, never
// enlarged. A largest dimension that is negative or not a number is refused
// (logged) and the image is returned as it is.
platform::Image fittedImage(const platform::Image& image, double largestDimension = 32);

}  // namespace zelvana::gridpanel
