#include "GridPanel/ImageFitting.hpp"

#include <cmath>
#include <string>

#include "Logging/Logging.hpp"
#include "Tools/ImageUtil.hpp"

namespace zelvana::gridpanel {

platform::Image fittedImage(const platform::Image& image, double largestDimension) {
    if (!std::isfinite(largestDimension) || largestDimension < 0) {
        logging::Logging::error("Not fitting an image into a largest dimension of " +
                                std::to_string(largestDimension));
        return image;
    }
    return tools::ImageUtil::resized(image, largestDimension);
}

}  // namespace zelvana::gridpanel
