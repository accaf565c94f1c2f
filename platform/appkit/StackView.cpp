#include "platform/appkit/StackView.hpp"

#include <algorithm>

namespace zelvana::platform {

void StackView::addArrangedSubview(std::shared_ptr<View> view) {
    if (!view) return;
    removeArrangedSubview(view.get());
    arranged_.push_back(view);
    addSubview(std::move(view));
}

void StackView::removeArrangedSubview(View* view) {
    std::erase_if(arranged_, [view](const auto& arranged) { return arranged.get() == view; });
}

Size StackView::fittingSize() const {
    const bool horizontal = orientation_ == Orientation::horizontal;
    double along = 0;
    double across = 0;
    int shown = 0;
    for (const auto& view : arranged_) {
        if (view->isHidden()) continue;
        const Size size = view->fittingSize();
        along += horizontal ? size.width : size.height;
        across = std::max(across, horizontal ? size.height : size.width);
        ++shown;
    }
    if (shown > 1) along += spacing_ * (shown - 1);
    const double insetsX = edgeInsets_.left + edgeInsets_.right;
    const double insetsY = edgeInsets_.top + edgeInsets_.bottom;
    return horizontal ? Size{along + insetsX, across + insetsY}
                      : Size{across + insetsX, along + insetsY};
}

}  // namespace zelvana::platform
