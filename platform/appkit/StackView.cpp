#include "platform/appkit/StackView.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/Queue.hpp"

#include <algorithm>

namespace zelvana::platform {

void StackView::addArrangedSubview(std::shared_ptr<View> view) {
    platform::assertMainThread();
    insertArrangedSubview(std::move(view), arranged_.size());
}

void StackView::insertArrangedSubview(std::shared_ptr<View> view, std::size_t index) {
    platform::assertMainThread();
    if (!view || view.get() == this) return;
    removeArrangedSubview(view.get());
    arranged_.insert(
        arranged_.begin() + static_cast<std::ptrdiff_t>(std::min(index, arranged_.size())), view);
    addSubview(std::move(view));
    layoutIfShown();
}

void StackView::layoutIfShown() {
    // A stack still being built is laid out when it joins its window.
    if (window()) layout();
}

void StackView::viewDidMoveToWindow() {
    layoutIfShown();
}

void StackView::subviewIntrinsicSizeInvalidated(View& subview) {
    // Many changes in one turn (a row of cells filling up) lay out once.
    if (relayoutPending_ || !window()) return;
    if (std::ranges::none_of(arranged_, [&](const auto& view) { return view.get() == &subview; }))
        return;
    const std::weak_ptr<View> weak = sharedView();
    if (weak.expired()) return;
    relayoutPending_ = true;
    platform::mainQueue().async([weak] {
        const auto self = std::static_pointer_cast<StackView>(weak.lock());
        if (!self) return;
        self->relayoutPending_ = false;
        if (self->needsLayout()) self->layoutIfShown();
    });
}

void StackView::addView(std::shared_ptr<View> view, Gravity gravity) {
    platform::assertMainThread();
    arrange(gravity_, gravity);
    addArrangedSubview(std::move(view));
}

float StackView::huggingPriority(Orientation orientation) const {
    return orientation == Orientation::horizontal ? horizontalHugging_ : verticalHugging_;
}

void StackView::setHuggingPriority(float priority, Orientation orientation) {
    platform::assertMainThread();
    (orientation == Orientation::horizontal ? horizontalHugging_ : verticalHugging_) = priority;
}

void StackView::removeArrangedSubview(View* view) {
    platform::assertMainThread();
    const auto removed =
        std::erase_if(arranged_, [view](const auto& arranged) { return arranged.get() == view; });
    if (removed == 0) return;
    invalidateIntrinsicContentSize();
    layoutIfShown();
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

namespace zelvana::platform {

namespace {

// Where a run of `used` points starts in `available` ones.
double packedStart(double available, double used, StackView::Gravity gravity) {
    const double leftover = std::max(0.0, available - used);
    switch (gravity) {
        case StackView::Gravity::center:
            return leftover / 2;
        case StackView::Gravity::trailing:
            return leftover;
        case StackView::Gravity::leading:
            break;
    }
    return 0;
}

}  // namespace

void StackView::layout() {
    platform::assertMainThread();
    const bool horizontal = orientation_ == Orientation::horizontal;
    std::vector<View*> shown;
    std::vector<Size> sizes;
    for (const auto& view : arranged_) {
        if (view->isHidden()) continue;
        shown.push_back(view.get());
        sizes.push_back(view->fittingSize());
    }
    const Rect bounds = this->bounds();
    const double alongStart = horizontal ? edgeInsets_.left : edgeInsets_.top;
    const double acrossStart = horizontal ? edgeInsets_.top : edgeInsets_.left;
    const double available = (horizontal ? bounds.width() - edgeInsets_.left - edgeInsets_.right
                                         : bounds.height() - edgeInsets_.top - edgeInsets_.bottom);
    const double across = (horizontal ? bounds.height() - edgeInsets_.top - edgeInsets_.bottom
                                      : bounds.width() - edgeInsets_.left - edgeInsets_.right);
    const auto count = static_cast<double>(shown.size());
    const double gaps = count > 1 ? spacing_ * (count - 1) : 0;
    double used = gaps;
    for (auto& size : sizes) {
        double& along = horizontal ? size.width : size.height;
        if (distribution_ == Distribution::fillEqually)
            along = std::max(0.0, (available - gaps) / count);
        used += along;
    }
    double gap = spacing_;
    double position = alongStart;
    const bool spreads = distribution_ == Distribution::equalSpacing ||
                         distribution_ == Distribution::equalCentering;
    if (spreads && count > 1 && available > used) {
        gap += (available - used) / (count - 1);
    } else {
        position += packedStart(available, used, spreads ? Gravity::center : gravity_);
    }
    const bool stretches = alignment_ == Alignment::width || alignment_ == Alignment::height;
    const bool toStart = alignment_ == Alignment::leading || alignment_ == Alignment::top;
    const bool toEnd = alignment_ == Alignment::trailing || alignment_ == Alignment::bottom;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        Size size = sizes[i];
        double& acrossSize = horizontal ? size.height : size.width;
        if (stretches) acrossSize = std::max(0.0, across);
        const double offset = toStart ? 0 : toEnd ? across - acrossSize : (across - acrossSize) / 2;
        const double along = horizontal ? size.width : size.height;
        shown[i]->setFrame(horizontal ? Rect{{position, acrossStart + offset}, size}
                                      : Rect{{acrossStart + offset, position}, size});
        position += along + gap;
    }
    View::layout();
}

}  // namespace zelvana::platform
