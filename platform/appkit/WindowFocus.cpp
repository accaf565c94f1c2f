// The key window's focus: moving it with Tab, and the ring around it.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "platform/appkit/GraphicsContext.hpp"
#include "platform/appkit/View.hpp"
#include "platform/appkit/VirtualKeyCodes.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

namespace {

// The mask is a shape: two pixels a point keep its edges smooth.
constexpr double kMaskPixelsPerPoint = 2;

// The shown views that take the focus, in tree order.
void collectKeyViews(View& view, std::vector<View*>& into) {
    if (view.isHidden()) return;
    if (view.acceptsFirstResponder()) into.push_back(&view);
    for (const auto& subview : view.subviews()) collectKeyViews(*subview, into);
}

enum class Direction { forward, backward };

// The view the focus moves to from `current` (any view, or none), round the
// ends; null when no view takes it.
View* keyViewFrom(View* content, const View* current, Direction direction) {
    std::vector<View*> views;
    if (content) collectKeyViews(*content, views);
    if (views.empty()) return nullptr;
    if (direction == Direction::backward) std::ranges::reverse(views);
    const auto at = std::ranges::find(views, current);
    return at == views.end() || at + 1 == views.end() ? views.front() : *(at + 1);
}

}  // namespace

void Window::selectNextKeyView() {
    platform::assertMainThread();
    if (View* next = keyViewFrom(contentView_.get(), firstResponder(), Direction::forward)) {
        makeFirstResponder(next);
    }
}

void Window::selectPreviousKeyView() {
    platform::assertMainThread();
    if (View* next = keyViewFrom(contentView_.get(), firstResponder(), Direction::backward)) {
        makeFirstResponder(next);
    }
}

void Window::keyDown(const Event& event) {
    platform::assertMainThread();
    if (event.keyCode == kVK_Escape) return cancelOperation();
    const bool plain =
        !event.modifierFlags.intersects(Modifier::command | Modifier::option | Modifier::control);
    if (event.keyCode != kVK_Tab || !plain) return;
    event.modifierFlags.contains(Modifier::shift) ? selectPreviousKeyView() : selectNextKeyView();
}

void Window::focusRingMaskChanged(const View& view) {
    platform::assertMainThread();
    if (focusRingMask_ && focusRingMask_->view == &view) focusRingMask_.reset();
}

std::optional<Window::FocusRing> Window::focusRing() const {
    platform::assertMainThread();
    const View* responder = firstResponder();
    if (!key_ || !responder || responder->isHiddenOrHasHiddenAncestor() ||
        !responder->acceptsFirstResponder()) {
        return std::nullopt;
    }
    if (!focusRingMask_ || focusRingMask_->view != responder ||
        focusRingMask_->viewBounds != responder->bounds()) {
        focusRingMask_ = drawFocusRingMask(*responder);
    }
    if (!focusRingMask_->filled) return std::nullopt;
    return FocusRing{responder->convertRectToView(focusRingMask_->bounds, nullptr),
                     focusRingMask_->mask};
}

Window::FocusRingMask Window::drawFocusRingMask(const View& view) {
    FocusRingMask drawn{&view, view.bounds(), view.focusRingMaskBounds()};
    const Rect bounds = drawn.bounds;
    if (!(bounds.width() > 0) || !(bounds.height() > 0) || !std::isfinite(bounds.width()) ||
        !std::isfinite(bounds.height())) {
        return drawn;
    }
    Image mask(bounds.size, static_cast<int>(std::ceil(bounds.width() * kMaskPixelsPerPoint)),
               static_cast<int>(std::ceil(bounds.height() * kMaskPixelsPerPoint)));
    {
        GraphicsContext context(mask);
        context.translate(-bounds.minX(), -bounds.minY());
        context.clip(BezierPath::rect(bounds));
        view.drawFocusRingMask(context);
    }
    // A view that fills no mask has no ring: nothing to draw around later.
    const auto& pixels = std::as_const(mask).pixels();
    drawn.filled = std::ranges::any_of(pixels, [](Pixel p) { return p.alpha != 0; });
    drawn.mask = std::move(mask);
    return drawn;
}

}  // namespace zelvana::platform
