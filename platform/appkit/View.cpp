#include "platform/appkit/View.hpp"

#include <algorithm>

#include "platform/appkit/Event.hpp"

namespace zelvana::platform {

View::~View() {
    for (auto& subview : subviews_) subview->superview_ = nullptr;
}

void View::setWantsLayer(bool wants) {
    if (!wants) {
        layer_.reset();
    } else if (!layer_) {
        layer_ = std::make_unique<Layer>();
    }
}

View* View::findView(const std::string& identifier) {
    if (identifier_ == identifier) return this;
    for (auto& subview : subviews_) {
        if (View* found = subview->findView(identifier)) return found;
    }
    return nullptr;
}

void View::addSubview(std::shared_ptr<View> view) {
    if (!view || view.get() == this) return;
    view->removeFromSuperview();
    view->superview_ = this;
    subviews_.push_back(std::move(view));
}

void View::removeFromSuperview() {
    if (!superview_) return;
    auto& siblings = superview_->subviews_;
    superview_ = nullptr;
    // Erasing may release the last reference to this view: nothing after it.
    std::erase_if(siblings, [this](const auto& view) { return view.get() == this; });
}

void View::scrollWheel(const Event& event) {
    if (superview_) superview_->scrollWheel(event);
}

void View::mouseEntered(const Event& /*event*/) {}

Window* View::window() const {
    for (const View* view = this; view; view = view->superview_) {
        if (view->window_) return view->window_;
    }
    return nullptr;
}

}  // namespace zelvana::platform
