#include "GridPanel/SearchField.hpp"

#include <limits>

namespace zelvana::gridpanel {

platform::Size SearchField::intrinsicContentSize() const {
    constexpr double unlimited = std::numeric_limits<float>::max();
    const auto text = cellSizeForBounds(platform::Rect{{}, {unlimited, unlimited}});
    return {stringValue().empty() ? 60.0 : text.width + 4.0, text.height + 10.0};
}

}  // namespace zelvana::gridpanel
