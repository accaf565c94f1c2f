#include "platform/appkit/Popover.hpp"

#include "platform/appkit/Event.hpp"
#include "platform/appkit/Panel.hpp"
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
    if (window_) window_->orderOut(nullptr);
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

Rect Popover::frameBeside(Rect r, RectEdge edge) const {
    // Screen coordinates: y up, so a view's maxY (bottom) edge is the lower one.
    const Size s = shownSize();
    const double midX = r.minX() + r.width() / 2 - s.width / 2;
    const double midY = r.minY() + r.height() / 2 - s.height / 2;
    switch (edge) {
        case RectEdge::maxX:
            return Rect{{r.maxX() + arrowLength, midY}, s};
        case RectEdge::minX:
            return Rect{{r.minX() - arrowLength - s.width, midY}, s};
        case RectEdge::minY:
            return Rect{{midX, r.maxY() + arrowLength}, s};
        case RectEdge::maxY:
            break;
    }
    return Rect{{midX, r.minY() - arrowLength - s.height}, s};
}

std::unique_ptr<Window> Popover::makeWindow(Rect frame, const Window& anchorWindow) {
    // Shown from a non-activating panel, it takes the keys as its panel does,
    // while another application stays active.
    const auto* panel = dynamic_cast<const Panel*>(&anchorWindow);
    if (panel && panel->isNonactivating()) {
        return std::make_unique<Panel>(frame, Window::Style::nonactivatingPanel,
                                       Window::BackingStore::buffered, false);
    }
    return std::make_unique<Window>(frame, Window::Style::borderless,
                                    Window::BackingStore::buffered, false);
}

void Popover::show(Rect rect, View& view, RectEdge preferredEdge) {
    assertMainThread();
    Window* anchorWindow = view.window();
    if (!anchorWindow) return;
    const Rect local = isEmpty(rect) ? view.bounds() : rect;
    const Rect onScreen = anchorWindow->convertRectToScreen(view.convertRectToView(local, nullptr));
    Rect frame = frameBeside(onScreen, preferredEdge);
    const auto screen = anchorWindow->screen();
    if (screen && !screen->frame().contains(frame)) {
        const Rect other = frameBeside(onScreen, opposite(preferredEdge));
        if (screen->frame().contains(other)) frame = other;
    }
    if (!window_) {
        window_ = makeWindow(frame, *anchorWindow);
        window_->setLevel(Window::Level::popUpMenu);
        window_->setContentViewController(content_);
    }
    window_->setFrame(frame);
    window_->setContentSize(frame.size);
    anchor_ = view.sharedView();
    if (!shown_) {
        shown_ = true;
        shownList().push_back(this);
        keepAlive_ = weak_from_this().lock();
        watchClicksOutside();
    }
    window_->orderFront(nullptr);
    window_->makeKeyWindow();
    if (View* content = window_->contentView()) {
        if (View* keyView = firstKeyView(*content)) window_->makeFirstResponder(keyView);
    }
}

void Popover::watchClicksOutside() {
    if (behavior_ == Behavior::applicationDefined) return;
    const EventTypeMask clicks =
        eventMaskFor(EventType::leftMouseDown) | eventMaskFor(EventType::rightMouseDown);
    clickMonitor_ = Event::addLocalMonitor(clicks, [weak = weak_.ref()](const Event& event) {
        Popover* popover = weak.get();
        if (!popover || !popover->shown_ || event.window == popover->window_.get()) return event;
        const auto anchor = popover->anchor_.lock();
        const Window* anchorWindow = anchor ? anchor->window() : nullptr;
        if (popover->behavior_ == Behavior::transient || event.window == anchorWindow) {
            popover->close();
        }
        return event;
    });
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
