#include "platform/appkit/Gradient.hpp"

#include <algorithm>

namespace zelvana::platform {

double Gradient::locationAt(std::size_t index) const {
    if (index < locations.size()) return std::clamp(locations[index], 0.0, 1.0);
    return colors.size() > 1 ? static_cast<double>(index) / static_cast<double>(colors.size() - 1)
                             : 0;
}

}  // namespace zelvana::platform
