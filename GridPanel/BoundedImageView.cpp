#include "GridPanel/BoundedImageView.hpp"

#include <algorithm>

namespace zelvana::gridpanel {

platform::Size BoundedImageView::intrinsicContentSize() const {
    const platform::Size size = image()->size();
    if (!(size.width > 0) || !(size.height > 0)) return platform::Size{};
    const double scale = std::min({1.0, room_.width / size.width, room_.height / size.height});
    return platform::Size{size.width * std::max(scale, 0.0), size.height * std::max(scale, 0.0)};
}

}  // namespace zelvana::gridpanel
