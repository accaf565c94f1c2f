#include "platform/appkit/Popover.hpp"

#include <algorithm>

#include "platform/appkit/Event.hpp"
#include "platform/appkit/PopoverWindow.hpp"
#include "platform/appkit/Screen.hpp"
#include "platform/appkit/View.hpp"
#include "platform/appkit/ViewController.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

namespace {

bool isEmpty(Rect rect) {
    return !(rect.width() > 0) && !(rect.height() > 0);
}

RectEdge opposite(RectEdge edge) {
    switch (edge) {
        case RectEdge::minX:
            return RectEdge::maxX;
        case RectEdge::maxX:
            return RectEdge::minX;
        case RectEdge::minY:
            return RectEdge::maxY;
        case RectEdge::maxY:
            break;
    }
    return RectEdge::minY;
}

bool isHorizontal(RectEdge edge) {
    return edge == RectEdge::minY || edge == RectEdge::maxY;
}

// `start` moved as little as it takes for `length` to lie in [low, high];
// from `low` when it cannot.
double slid(double start, double length, double low, double high) {
    return std::max(low, std::min(start, high - length));
}

// The first view, in tree order, that takes keys.
View* firstKeyView(View& view) {
    if (view.isHidden()) return nullptr;
    if (view.acceptsFirstResponder()) return &view;
    for (const auto& subview : view.subviews()) {
        if (View* found = firstKeyView(*subview)) return found;
    }
    return nullptr;
}

std::vector<Popover*>& shownList() {
    static auto* shown = new std::vector<Popover*>();  // popovers may outlive statics
    return *shown;
}

void forget(const Popover* popover) {
    std::erase(shownList(), popover);
}

}  // namespace

Popover::Popover() = default;

Popover::~Popover() {
    forget(this);
    clickMonitor_.cancel();
    clickElsewhereMonitor_.cancel();
    if (window_) window_->orderOut(nullptr);
}

Window* Popover::window() const {
    return shown_ ? window_.get() : nullptr;
}

void Popover::setContentViewController(std::shared_ptr<ViewController> controller) {
    platform::assertMainThread();
    content_ = std::move(controller);
    if (window_) window_->setContentViewController(content_);
}

Size Popover::shownSize() const {
    if (contentSize_.width > 0 && contentSize_.height > 0) return contentSize_;
    return content_ ? content_->view()->fittingSize() : Size{};
}

Rect Popover::frameBeside(Rect r, RectEdge edge, const std::optional<Rect>& area) const {
    // Screen coordinates: y up, so a view's maxY (bottom) edge is the lower one.
    const Size s = shownSize();
    const Size across{s.width + arrowLength, s.height};
    const Size along{s.width, s.height + arrowLength};
    const double midX = r.minX() + r.width() / 2 - s.width / 2;
    const double midY = r.minY() + r.height() / 2 - s.height / 2;
    Rect frame;
    switch (edge) {
        case RectEdge::maxX:
            frame = Rect{{r.maxX(), midY}, across};
            break;
        case RectEdge::minX:
            frame = Rect{{r.minX() - across.width, midY}, across};
            break;
        case RectEdge::minY:
            frame = Rect{{midX, r.maxY()}, along};
            break;
        case RectEdge::maxY:
            frame = Rect{{midX, r.minY() - along.height}, along};
            break;
    }
    if (!area) return frame;
    if (isHorizontal(edge)) {
        frame.origin.x = slid(frame.minX(), frame.width(), area->minX(), area->maxX());
    } else {
        frame.origin.y = slid(frame.minY(), frame.height(), area->minY(), area->maxY());
    }
    return frame;
}

std::unique_ptr<PopoverWindow> Popover::makeWindow(const Window& anchorWindow) {
    // Shown from a non-activating panel, it takes the keys as its panel does,
    // while another application stays active.
    const auto* panel = dynamic_cast<const Panel*>(&anchorWindow);
    const bool nonactivating = panel && panel->isNonactivating();
    return std::make_unique<PopoverWindow>(nonactivating ? Window::Style::nonactivatingPanel
                                                         : Window::Style::borderless);
}

void Popover::show(Rect rect, View& view, RectEdge preferredEdge) {
    assertMainThread();
    Window* anchorWindow = view.window();
    if (!anchorWindow) return;
    const Rect local = isEmpty(rect) ? view.bounds() : rect;
    const Rect onScreen = anchorWindow->convertRectToScreen(view.convertRectToView(local, nullptr));
    const auto screen = anchorWindow->screen();
    const auto area = screen ? std::optional(screen->visibleFrame()) : std::nullopt;
    if (!window_) {
        window_ = makeWindow(*anchorWindow);
        window_->setContentViewController(content_);
        window_->setOnCancel([weak = weak_.ref()] {
            if (Popover* popover = weak.get()) popover->cancelOperation();
        });
    }
    const Size size = shownSize();
    place(onScreen, preferredEdge, area);
    anchor_ = view.sharedView();
    if (!shown_) {
        shown_ = true;
        shownList().push_back(this);
        keepAlive_ = weak_from_this().lock();
        watchClicksOutside();
    }
    window_->orderFront(nullptr);
    // The content may have grown as it appeared.
    if (shownSize() != size) place(onScreen, preferredEdge, area);
    window_->makeKeyWindow();
    if (View* content = window_->contentView()) {
        if (View* keyView = firstKeyView(*content)) window_->makeFirstResponder(keyView);
    }
}

void Popover::place(Rect onScreen, RectEdge preferredEdge, const std::optional<Rect>& area) {
    RectEdge edge = preferredEdge;
    Rect frame = frameBeside(onScreen, edge, area);
    if (area && !area->contains(frame)) {
        const Rect other = frameBeside(onScreen, opposite(edge), area);
        if (area->contains(other)) {
            edge = opposite(edge);
            frame = other;
        } else {
            // No room on either side: as much of it as fits, on the preferred side.
            frame.origin = {slid(frame.minX(), frame.width(), area->minX(), area->maxX()),
                            slid(frame.minY(), frame.height(), area->minY(), area->maxY())};
        }
    }
    window_->setFrame(frame);
    // The arrow points at the middle of the rectangle's edge, from the window's left (top).
    window_->pointAt(edge, isHorizontal(edge)
                               ? onScreen.minX() + onScreen.width() / 2 - frame.minX()
                               : frame.maxY() - (onScreen.minY() + onScreen.height() / 2));
}

void Popover::watchClicksOutside() {
    if (behavior_ == Behavior::applicationDefined) return;
    const EventTypeMask clicks =
        eventMaskFor(EventType::leftMouseDown) | eventMaskFor(EventType::rightMouseDown);
    clickMonitor_ = Event::addLocalMonitor(clicks, [weak = weak_.ref()](const Event& event) {
        if (Popover* popover = weak.get()) popover->clickedAt(event.window);
        return event;
    });
    // A transient one also closes at a click in another application, the menu bar's included.
    if (behavior_ != Behavior::transient) return;
    clickElsewhereMonitor_ = Event::addGlobalMonitor(clicks, [weak = weak_.ref()](const Event&) {
        if (Popover* popover = weak.get()) popover->close();
    });
}

void Popover::clickedAt(const Window* window) {
    if (!shown_ || window == window_.get()) return;
    const auto anchor = anchor_.lock();
    const Window* anchorWindow = anchor ? anchor->window() : nullptr;
    if (behavior_ == Behavior::transient || window == anchorWindow) close();
}

void Popover::cancelOperation() {
    if (behavior_ != Behavior::applicationDefined) close();
}

void Popover::close() {
    assertMainThread();
    if (!shown_) return;
    // Held until the end: the delegate may drop the last other reference.
    const auto self = std::exchange(keepAlive_, nullptr);
    shown_ = false;
    forget(this);
    if (delegate_) delegate_->popoverWillClose(*this);
    clickMonitor_.cancel();
    clickElsewhereMonitor_.cancel();
    const bool wasKey = window_->isKeyWindow();
    window_->makeFirstResponder(nullptr);
    window_->orderOut(nullptr);
    if (const auto anchor = anchor_.lock(); anchor && wasKey) {
        Window* anchorWindow = anchor->window();
        if (anchorWindow && anchorWindow->isVisible()) anchorWindow->makeKeyWindow();
    }
    if (delegate_) delegate_->popoverDidClose(*this);
}

std::vector<Popover*> Popover::shownPopovers() {
    assertMainThread();
    return shownList();
}

}  // namespace zelvana::platform
