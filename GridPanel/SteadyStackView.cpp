#include "GridPanel/SteadyStackView.hpp"

#include "platform/core/MainThread.hpp"

namespace zelvana::gridpanel {

std::vector<SteadyStackView::Placed> SteadyStackView::placed() const {
    std::vector<Placed> views;
    views.reserve(arrangedSubviews().size());
    for (const auto& view : arrangedSubviews())
        views.push_back({view.get(), view->isHidden(), view->fittingSize()});
    return views;
}

void SteadyStackView::layout() {
    platform::assertMainThread();
    auto now = placed();
    if (laidOutSize_ == bounds().size && now == laidOut_) return;
    StackView::layout();
    laidOutSize_ = bounds().size;
    laidOut_ = std::move(now);
}

}  // namespace zelvana::gridpanel
