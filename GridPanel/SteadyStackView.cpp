#include "GridPanel/SteadyStackView.hpp"

#include "platform/core/MainThread.hpp"

namespace zelvana::gridpanel {

platform::Size SteadyStackView::fittingSize() const {
    if (needsLayout() || !fitting_) fitting_ = StackView::fittingSize();
    return *fitting_;
}

void SteadyStackView::layout() {
    platform::assertMainThread();
    if (!needsLayout() && laidOutSize_ == bounds().size) return;
    // Measured while it needed layout: possibly before the last change.
    fitting_.reset();
    laidOutSize_ = bounds().size;
    StackView::layout();
}

}  // namespace zelvana::gridpanel
