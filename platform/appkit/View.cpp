#include "platform/appkit/View.hpp"

#include <algorithm>
#include <cmath>

#include "platform/appkit/Event.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

View::~View() {
    for (auto& subview : subviews_) subview->superview_ = nullptr;
}

namespace {

double held(double length, const std::optional<View::SizeConstraint>& constraint) {
    if (!constraint) return length;
    return constraint->relation == View::SizeRelation::equal
               ? constraint->constant
               : std::max(length, constraint->constant);
}

}  // namespace

Size View::fittingSize() const {
    const Size intrinsic = intrinsicContentSize();
    return Size{held(intrinsic.width == noIntrinsicMetric ? frame_.size.width : intrinsic.width,
                     widthConstraint_),
                held(intrinsic.height == noIntrinsicMetric ? frame_.size.height : intrinsic.height,
                     heightConstraint_)};
}

bool View::isHiddenOrHasHiddenAncestor() const {
    for (const View* view = this; view; view = view->superview_) {
        if (view->hidden_) return true;
    }
    return false;
}

void View::setHidden(bool hidden) {
    if (hidden_ == hidden) return;
    hidden_ = hidden;
    if (superview_) superview_->invalidateIntrinsicContentSize();
}

void View::invalidateIntrinsicContentSize() {
    for (View* view = this; view; view = view->superview_) view->needsLayout_ = true;
}

void View::setAlphaValue(double alpha) {
    platform::assertMainThread();
    if (!std::isnan(alpha)) alpha_ = std::clamp(alpha, 0.0, 1.0);
}

void View::setWantsLayer(bool wants) {
    platform::assertMainThread();
    if (!wants) {
        layer_.reset();
    } else if (!layer_) {
        layer_ = std::make_unique<Layer>();
    }
}

View* View::findView(const std::string& identifier) {
    platform::assertMainThread();
    if (identifier_ == identifier) return this;
    for (auto& subview : subviews_) {
        if (View* found = subview->findView(identifier)) return found;
    }
    return nullptr;
}

void View::addSubview(std::shared_ptr<View> view) {
    platform::assertMainThread();
    insertSubview(std::move(view), subviews_.size());
}

void View::addSubviewBelow(std::shared_ptr<View> view, const View* sibling) {
    platform::assertMainThread();
    const auto at =
        std::ranges::find_if(subviews_, [sibling](const auto& v) { return v.get() == sibling; });
    insertSubview(std::move(view), at == subviews_.end() ? 0 : at - subviews_.begin());
}

void View::insertSubview(std::shared_ptr<View> view, std::size_t index) {
    if (!view || isDescendantOf(view.get())) return;
    if (view->superview_ == this) {
        // Moving within this view: the index counts without it.
        const auto old = std::ranges::find(subviews_, view);
        if (static_cast<std::size_t>(old - subviews_.begin()) < index) --index;
    }
    const Window* oldWindow = view->window();
    view->removeFromSuperview();
    view->superview_ = this;
    View& added = *view;
    subviews_.insert(
        subviews_.begin() + static_cast<std::ptrdiff_t>(std::min(index, subviews_.size())),
        std::move(view));
    invalidateIntrinsicContentSize();
    added.windowChangedFrom(oldWindow);
}

void View::removeFromSuperview() {
    platform::assertMainThread();
    if (!superview_) return;
    // Kept alive until the tree has heard that it left its window.
    const auto keep = sharedView();
    const Window* oldWindow = window();
    View& old = *superview_;
    auto& siblings = old.subviews_;
    superview_ = nullptr;
    old.invalidateIntrinsicContentSize();
    std::erase_if(siblings, [this](const auto& view) { return view.get() == this; });
    if (keep) windowChangedFrom(oldWindow);
}

void View::windowChangedFrom(const Window* oldWindow) {
    if (window() == oldWindow) return;
    viewDidMoveToWindow();
    // A copy: a view may rearrange its subviews when it hears of the move.
    const auto subviews = subviews_;
    for (const auto& subview : subviews) subview->windowChangedFrom(oldWindow);
}

void View::scrollWheel(const Event& event) {
    platform::assertMainThread();
    if (superview_) superview_->scrollWheel(event);
}

bool View::isDescendantOf(const View* view) const {
    for (const View* v = this; v; v = v->superview_) {
        if (v == view) return true;
    }
    return false;
}

std::shared_ptr<View> View::sharedView() {
    platform::assertMainThread();
    return std::dynamic_pointer_cast<View>(weak_from_this().lock());
}

Window* View::window() const {
    for (const View* view = this; view; view = view->superview_) {
        if (view->window_) return view->window_;
    }
    return nullptr;
}

Point View::offsetInWindow() const {
    Point offset;
    for (const View* view = this; view; view = view->superview_) {
        const Rect bounds = view->bounds();
        offset.x += view->frame_.origin.x - bounds.origin.x;
        offset.y += view->frame_.origin.y - bounds.origin.y;
    }
    return offset;
}

Point View::convertPointToView(Point point, const View* view) const {
    const Point from = offsetInWindow();
    const Point to = view ? view->offsetInWindow() : Point{};
    return Point{point.x + from.x - to.x, point.y + from.y - to.y};
}

Point View::convertPointFromView(Point point, const View* view) const {
    return view ? view->convertPointToView(point, this)
                : Point{point.x - offsetInWindow().x, point.y - offsetInWindow().y};
}

Rect View::convertRectToView(Rect rect, const View* view) const {
    return Rect{convertPointToView(rect.origin, view), rect.size};
}

Rect View::convertRectFromView(Rect rect, const View* view) const {
    return Rect{convertPointFromView(rect.origin, view), rect.size};
}

View* View::hitTest(Point point) {
    platform::assertMainThread();
    if (hidden_) return nullptr;
    if (!frame_.contains(point)) return nullptr;
    const Rect bounds = this->bounds();
    const Point local{point.x - frame_.origin.x + bounds.origin.x,
                      point.y - frame_.origin.y + bounds.origin.y};
    // Front-most (last) subviews first; hold them, a hit test may not free them.
    const auto subviews = subviews_;
    for (auto it = subviews.rbegin(); it != subviews.rend(); ++it) {
        if (View* hit = (*it)->hitTest(local)) return hit;
    }
    return this;
}

void View::layout() {
    platform::assertMainThread();
    // Before the subviews, so a change they make while laying out is kept.
    needsLayout_ = false;
    const auto subviews = subviews_;
    for (const auto& subview : subviews) subview->layout();
}

void View::drawRect(GraphicsContext& /*context*/, Rect /*dirtyRect*/) {}

void View::mouseDown(const Event& event) {
    platform::assertMainThread();
    if (superview_) superview_->mouseDown(event);
}

void View::mouseUp(const Event& event) {
    platform::assertMainThread();
    if (superview_) superview_->mouseUp(event);
}

void View::mouseDragged(const Event& event) {
    platform::assertMainThread();
    if (superview_) superview_->mouseDragged(event);
}

void View::keyDown(const Event& event) {
    platform::assertMainThread();
    if (superview_) {
        superview_->keyDown(event);
    } else if (Window* window = this->window()) {
        window->keyDown(event);
    }
}

void View::keyUp(const Event& event) {
    platform::assertMainThread();
    if (superview_) superview_->keyUp(event);
}

Subscription View::addTrackingArea(Rect rect, TrackingOptions options) {
    platform::assertMainThread();
    std::erase_if(trackingAreas_, [](const auto& area) { return area->removed; });
    auto area = std::make_shared<TrackingArea>(TrackingArea{rect, options});
    area->mouseInside = options.contains(TrackingOption::assumeInside);
    trackingAreas_.push_back(area);
    return Subscription([weak = std::weak_ptr<TrackingArea>(area)] {
        if (auto area = weak.lock()) area->removed = true;
    });
}

std::vector<std::shared_ptr<TrackingArea>> View::trackingAreas() {
    platform::assertMainThread();
    std::erase_if(trackingAreas_, [](const auto& area) { return area->removed; });
    return trackingAreas_;
}

}  // namespace zelvana::platform
