#include "GridPanel/EntrySearchField.hpp"

#include <limits>

#include "GridPanel/FollowTextChange.hpp"

namespace zelvana::gridpanel {

platform::Size EntrySearchField::intrinsicContentSize() const {
    constexpr double unlimited = std::numeric_limits<float>::max();
    const auto text =
        cellSizeForBounds(platform::Rect{frame().origin, {unlimited, frame().height()}});
    return {text.width + padding_, 40.0};
}

void EntrySearchField::textDidChange() {
    TextField::textDidChange();
    followTextChange(*this);
}

}  // namespace zelvana::gridpanel
