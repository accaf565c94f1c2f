#include "platform/appkit/Window.hpp"

#include <algorithm>
#include <utility>

#include "platform/appkit/Application.hpp"
#include "platform/appkit/Button.hpp"
#include "platform/appkit/Coder.hpp"
#include "platform/appkit/TextView.hpp"
#include "platform/appkit/View.hpp"
#include "platform/appkit/ViewController.hpp"
#include "platform/appkit/VirtualKeyCodes.hpp"
#include "platform/appkit/WindowController.hpp"
#include "platform/appkit/WindowDelegate.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/foundation/NotificationCenter.hpp"

namespace zelvana::platform {

namespace {

Window* currentKeyWindow = nullptr;
Window* currentMainWindow = nullptr;

bool sameScreen(const std::optional<Screen>& a, const std::optional<Screen>& b) {
    return a.has_value() == b.has_value() && (!a || *a == *b);
}

// The title bar a style puts above the content.
double titleBarOf(Window::StyleMask style) {
    const bool barAbove = style.contains(Window::Style::titled) &&
                          !style.contains(Window::Style::fullSizeContentView);
    return barAbove ? Window::titleBarHeight : 0;
}

Rect withTitleBar(Rect content, Window::StyleMask style) {
    return Rect{content.origin, {content.width(), content.height() + titleBarOf(style)}};
}

}  // namespace

Window::Window() : Window(Rect{}) {}

Window::Window(Rect frame) : windowNumber_(WindowServer::newWindowNumber()), frame_(frame) {
    if (WindowServer* server = WindowServer::current()) server->windowCreated(*this);
    lastScreen_ = screen();
}

Window::Window(Rect contentRect, StyleMask styleMask, int /*backing*/, bool /*defer*/)
    : Window(withTitleBar(contentRect, styleMask)) {
    styleMask_ = styleMask;
}

Window::~Window() {
    if (attachedSheet_) attachedSheet_->sheetParent_ = nullptr;
    if (sheetParent_) sheetParent_->attachedSheet_ = nullptr;
    Application::shared().windowWillBeDestroyed(*this);
    if (currentKeyWindow == this) currentKeyWindow = nullptr;
    if (currentMainWindow == this) currentMainWindow = nullptr;
    if (WindowServer* server = WindowServer::current()) server->windowDestroyed(*this);
    // The content view may outlive the window through its controller.
    if (contentView_) {
        contentView_->setWindow(nullptr);
        contentView_->windowChangedFrom(this);
    }
}

Window* Window::keyWindow() {
    platform::assertMainThread();
    return currentKeyWindow;
}

Window* Window::mainWindow() {
    platform::assertMainThread();
    return currentMainWindow;
}

void Window::setFrame(Rect frame) {
    platform::assertMainThread();
    if (frame == frame_) return;
    const bool moves = frame.origin != frame_.origin;
    if (moves && delegate_) delegate_->windowWillMove();
    frame_ = frame;
    fitContentView();
    frameDidChange();
    if (moves && delegate_) delegate_->windowDidMove();
}

void Window::setFrameOrigin(Point origin) {
    platform::assertMainThread();
    setFrame(Rect{origin, frame_.size});
}

void Window::setContentSize(Size size) {
    platform::assertMainThread();
    if (contentView_) {
        contentView_->setFrameSize(size);
        contentView_->layout();
    }
    setFrame(Rect{frame_.origin, frameRectForContentRect(Rect{{}, size}).size});
}

void Window::fitContentView() {
    // The content view fills its rectangle, as it follows a resize of the window.
    const Size size = contentRectForFrameRect(frame_).size;
    if (contentView_ && contentView_->frame().size != size) {
        contentView_->setFrameSize(size);
        contentView_->layout();
    }
}

Rect Window::contentRectForFrameRect(Rect frame) const {
    const EdgeInsets insets = contentInsets();
    const double top = insets.top + titleBarOf(styleMask_);
    return Rect::make(frame.minX() + insets.left, frame.minY() + insets.bottom,
                      std::max(0.0, frame.width() - insets.left - insets.right),
                      std::max(0.0, frame.height() - top - insets.bottom));
}

Rect Window::frameRectForContentRect(Rect content) const {
    const EdgeInsets insets = contentInsets();
    const double top = insets.top + titleBarOf(styleMask_);
    return Rect::make(content.minX() - insets.left, content.minY() - insets.bottom,
                      content.width() + insets.left + insets.right,
                      content.height() + top + insets.bottom);
}

void Window::setStyleMask(StyleMask mask) {
    platform::assertMainThread();
    styleMask_ = mask;
    fitContentView();
}

std::optional<Screen> Window::centeringScreen() const {
    // A window not on screen yet belongs to no display: the system centres it
    // on the main one, wherever its last frame lay.
    const auto own = visible_ ? screen() : std::nullopt;
    return own ? own : Screen::main();
}

void Window::center() {
    platform::assertMainThread();
    const auto screen = centeringScreen();
    if (!screen) return;
    const Rect area = screen->visibleFrame();
    const double freeHeight = area.height() - frame_.height();
    setFrameOrigin(
        Point{area.minX() + (area.width() - frame_.width()) / 2, area.minY() + freeHeight * 2 / 3});
}

Rect Window::convertRectToScreen(Rect rect) const {
    const Rect content = contentRectForFrameRect(frame_);
    return Rect{{content.minX() + rect.minX(), content.maxY() - rect.maxY()}, rect.size};
}

Point Window::convertPointToScreen(Point point) const {
    const Rect content = contentRectForFrameRect(frame_);
    return Point{content.minX() + point.x, content.maxY() - point.y};
}

Point Window::convertPointFromScreen(Point point) const {
    const Rect content = contentRectForFrameRect(frame_);
    return Point{point.x - content.minX(), content.maxY() - point.y};
}

void Window::frameDidChange() {
    if (WindowServer* server = WindowServer::current()) server->windowChanged(*this);
    refreshScreen();
}

std::optional<Screen> Window::screen() const {
    const WindowServer* server = WindowServer::current();
    return server ? server->screenForFrame(frame_) : std::nullopt;
}

Subscription Window::observeScreen(ScreenObserver observer) {
    platform::assertMainThread();
    return screenObservers_.add(std::move(observer));
}

void Window::refreshScreen() {
    platform::assertMainThread();
    auto now = screen();
    if (sameScreen(now, lastScreen_)) {
        lastScreen_ = std::move(now);  // the same display, perhaps with a new frame
        return;
    }
    const auto old = std::exchange(lastScreen_, now);
    // Observers may end observations, their own included, while being told.
    screenObservers_.emit(old, now);
}

void Window::setCollectionBehavior(CollectionBehaviors behavior) {
    platform::assertMainThread();
    collectionBehavior_ = behavior;
    if (WindowServer* server = WindowServer::current()) server->windowChanged(*this);
}

void Window::encodeRestorableStateWithCoder(Coder& coder) const {
    coder.encodeRect(Coder::frameKey, frame_);
}

void Window::restoreStateWithCoder(const Coder& coder) {
    platform::assertMainThread();
    if (auto frame = coder.decodeRect(Coder::frameKey)) setFrame(*frame);
}

void Window::setIsVisible(bool visible) {
    platform::assertMainThread();
    if (visible) {
        orderFront(nullptr);
    } else {
        orderOut(nullptr);
    }
}

void Window::orderFront(const ActionSender* /*sender*/) {
    platform::assertMainThread();
    const auto appearing = willShow();
    if (WindowServer* server = WindowServer::current())
        server->windowOrderedFront(*this, WindowServer::Ordering::frontOnly);
    didShow(appearing);
}

void Window::makeKeyAndOrderFront(const ActionSender* /*sender*/) {
    platform::assertMainThread();
    const auto appearing = willShow();
    if (WindowServer* server = WindowServer::current())
        server->windowOrderedFront(*this, WindowServer::Ordering::frontAndKey);
    makeKeyWindow();
    makeMainWindow();
    didShow(appearing);
}

std::shared_ptr<ViewController> Window::willShow() {
    // Held across the ordering: a controller may replace itself while it appears.
    auto appearing = visible_ ? nullptr : contentViewController_;
    if (appearing) appearing->viewWillAppear();
    // A window coming on screen for the first time lays out the views it was
    // given before they are drawn; later, whoever changes them lays them out.
    if (orderFrontCount_ == 0 && contentView_) contentView_->layout();
    visible_ = true;
    closed_ = false;
    ++orderFrontCount_;
    return appearing;
}

void Window::didShow(const std::shared_ptr<ViewController>& appearing) {
    if (appearing) appearing->viewDidAppear();
}

void Window::orderOut(const ActionSender* /*sender*/) {
    platform::assertMainThread();
    const auto disappearing = visible_ ? contentViewController_ : nullptr;
    if (disappearing) disappearing->viewWillDisappear();
    visible_ = false;
    if (key_) resignKeyWindow();
    if (main_) resignMainWindow();
    if (WindowServer* server = WindowServer::current()) server->windowOrderedOut(*this);
    if (disappearing) disappearing->viewDidDisappear();
}

void Window::close() {
    platform::assertMainThread();
    // Whatever the delegate does while the window closes cannot close it twice.
    if (closing_) return;
    closing_ = true;
    if (delegate_) delegate_->windowWillClose();
    orderOut(nullptr);
    closed_ = true;
    closing_ = false;
    if (WindowServer* server = WindowServer::current()) server->windowClosed(*this);
}

bool Window::performClose(const ActionSender* /*sender*/) {
    platform::assertMainThread();
    if (!styleMask_.contains(Style::closable) || isStandardWindowButtonHidden(ButtonType::close)) {
        return false;
    }
    close();
    return true;
}

bool Window::isOnActiveSpace() const {
    const WindowServer* server = WindowServer::current();
    // Without a window server there is one space, and a shown window is on it.
    return server ? server->isOnActiveSpace(*this) : visible_;
}

void Window::makeKeyWindow() {
    platform::assertMainThread();
    if (key_ || !canBecomeKeyWindow()) return;
    if (currentKeyWindow && currentKeyWindow != this) currentKeyWindow->resignKeyWindow();
    becomeKeyWindow();
}

void Window::makeMainWindow() {
    platform::assertMainThread();
    if (main_ || !canBecomeMainWindow()) return;
    if (currentMainWindow && currentMainWindow != this) currentMainWindow->resignMainWindow();
    becomeMainWindow();
}

void Window::becomeKeyWindow() {
    platform::assertMainThread();
    key_ = true;
    currentKeyWindow = this;
    if (delegate_) delegate_->windowDidBecomeKey();
    NotificationCenter::defaultCenter().post(didBecomeKeyNotification, this);
}

void Window::resignKeyWindow() {
    platform::assertMainThread();
    key_ = false;
    if (currentKeyWindow == this) currentKeyWindow = nullptr;
    if (delegate_) delegate_->windowDidResignKey();
    NotificationCenter::defaultCenter().post(didResignKeyNotification, this);
}

Window* Window::notifyingWindow(const Notification& notification) {
    const auto* window = std::any_cast<Window*>(&notification.object);
    return window ? *window : nullptr;
}

void Window::becomeMainWindow() {
    platform::assertMainThread();
    main_ = true;
    currentMainWindow = this;
}

void Window::resignMainWindow() {
    platform::assertMainThread();
    main_ = false;
    if (currentMainWindow == this) currentMainWindow = nullptr;
}

void Window::setContentViewController(std::shared_ptr<ViewController> controller) {
    platform::assertMainThread();
    std::shared_ptr<View> view = controller ? controller->view() : nullptr;
    // On a shown window one view goes and the other comes.
    const auto leaving = visible_ ? contentViewController_ : nullptr;
    const auto arriving = visible_ ? controller : nullptr;
    if (leaving) leaving->viewWillDisappear();
    if (arriving) arriving->viewWillAppear();
    contentViewController_ = std::move(controller);
    const Size size = view ? view->frame().size : Size{};
    setContentView(std::move(view));
    // The window takes the size of the controller's view, when it has one.
    if (size.width > 0 && size.height > 0) {
        setFrame(Rect{frame_.origin, frameRectForContentRect(Rect{{}, size}).size});
    }
    if (leaving) leaving->viewDidDisappear();
    if (arriving) arriving->viewDidAppear();
}

void Window::setContentView(std::shared_ptr<View> view) {
    platform::assertMainThread();
    if (const auto leaving = std::exchange(contentView_, nullptr)) {
        leaving->setWindow(nullptr);
        leaving->windowChangedFrom(this);
    }
    contentView_ = std::move(view);
    if (!contentView_) return;
    const Window* oldWindow = contentView_->window();
    contentView_->setWindow(this);
    contentView_->windowChangedFrom(oldWindow);
}

View* Window::firstResponder() const {
    return firstResponder_.lock().get();
}

bool Window::makeFirstResponder(View* view) {
    platform::assertMainThread();
    const auto old = firstResponder_.lock();
    if (old.get() == view) return true;
    if (old && !old->resignFirstResponder()) return false;
    firstResponder_.reset();
    focusRingMask_.reset();
    if (!view) return true;
    auto shared = view->sharedView();
    if (!shared || view->window() != this || !view->acceptsFirstResponder()) return false;
    // Set first, so the view finds itself first responder while it takes over.
    firstResponder_ = shared;
    if (!view->becomeFirstResponder()) {
        firstResponder_.reset();
        return false;
    }
    return true;
}

TextView& Window::fieldEditor() {
    platform::assertMainThread();
    if (!fieldEditor_) fieldEditor_ = std::make_shared<TextView>();
    return *fieldEditor_;
}

void Window::beginSheet(Window& sheet) {
    platform::assertMainThread();
    if (&sheet == this || attachedSheet_ == &sheet) return;
    if (attachedSheet_) endSheet(*attachedSheet_);
    attachedSheet_ = &sheet;
    sheet.sheetParent_ = this;
    const Rect sheetFrame = sheet.frame();
    sheet.setFrameOrigin(Point{frame_.minX() + (frame_.width() - sheetFrame.width()) / 2,
                               frame_.maxY() - sheetFrame.height()});
    sheet.makeKeyAndOrderFront(nullptr);
}

void Window::endSheet(Window& sheet) {
    platform::assertMainThread();
    if (attachedSheet_ != &sheet) return;
    attachedSheet_ = nullptr;
    sheet.sheetParent_ = nullptr;
    sheet.orderOut(nullptr);
    if (visible_) makeKeyWindow();
}

namespace {

// The shown, enabled button of the tree whose key equivalent the key is.
Button* buttonForKeyEquivalent(View& view, const Event& event) {
    if (view.isHidden()) return nullptr;
    auto* button = dynamic_cast<Button*>(&view);
    if (button && button->isEnabled() && !button->keyEquivalent().empty() &&
        button->keyEquivalent() == event.charactersIgnoringModifiers &&
        !event.modifierFlags.intersects(Modifier::command | Modifier::option | Modifier::control)) {
        return button;
    }
    for (const auto& subview : view.subviews()) {
        if (Button* found = buttonForKeyEquivalent(*subview, event)) return found;
    }
    return nullptr;
}

}  // namespace

void Window::sendEvent(const Event& event) {
    platform::assertMainThread();
    if (event.type == EventType::keyDown && contentView_) {
        // Held while it acts: the click may close the window.
        const auto content = contentView_;
        if (Button* button = buttonForKeyEquivalent(*content, event)) {
            button->performClick();
            return;
        }
    }
    switch (event.type) {
        case EventType::keyDown:
        case EventType::keyUp:
            if (auto responder = firstResponder_.lock()) {
                event.type == EventType::keyDown ? responder->keyDown(event)
                                                 : responder->keyUp(event);
            } else if (event.type == EventType::keyDown) {
                keyDown(event);  // the window is its own first responder
            }
            return;
        case EventType::leftMouseDown: {
            updateTrackingAreas(event);
            updateCursor(this, event.locationInWindow);
            View* hit = contentView_ ? contentView_->hitTest(event.locationInWindow) : nullptr;
            auto target = hit ? hit->sharedView() : nullptr;
            mouseDownView_ = target;
            if (!target) return;
            if (target->acceptsFirstResponder()) makeFirstResponder(target.get());
            target->mouseDown(event);
            return;
        }
        case EventType::leftMouseDragged:
            updateTrackingAreas(event);
            if (auto target = mouseDownView_.lock()) target->mouseDragged(event);
            return;
        case EventType::leftMouseUp:
            if (auto target = std::exchange(mouseDownView_, {}).lock()) target->mouseUp(event);
            updateTrackingAreas(event);
            return;
        case EventType::mouseMoved:
            updateTrackingAreas(event);
            updateCursor(this, event.locationInWindow);
            return;
        case EventType::scrollWheel: {
            // Held while it runs: the scroll may close the window and release the view.
            View* hit = contentView_ ? contentView_->hitTest(event.locationInWindow) : nullptr;
            if (auto target = hit ? hit->sharedView() : nullptr) target->scrollWheel(event);
            return;
        }
        default:
            return;
    }
}

namespace {

struct Crossing {
    std::shared_ptr<View> view;
    std::shared_ptr<TrackingArea> area;
};

void collectTrackingAreas(View& view, std::vector<Crossing>& into) {
    if (view.isHidden()) return;
    if (auto shared = view.sharedView()) {
        for (auto& area : view.trackingAreas()) into.push_back({shared, std::move(area)});
    }
    for (const auto& subview : view.subviews()) collectTrackingAreas(*subview, into);
}

}  // namespace

namespace {

// Whether a cursor rectangle chose the shape now shown.
bool gCursorFromRect = false;

// The shape of the front rectangle holding the location, asking each view
// for its rectangles afresh.
void findCursorRect(View& view, Point locationInWindow, std::optional<Cursor>& shape) {
    if (view.isHidden()) return;
    view.discardCursorRects();
    view.resetCursorRects();
    const Point point = view.convertPointFromView(locationInWindow, nullptr);
    for (const auto& rect : view.cursorRects()) {
        if (rect.rect.contains(point)) shape = rect.cursor;
    }
    const auto subviews = view.subviews();
    for (const auto& subview : subviews) findCursorRect(*subview, locationInWindow, shape);
}

}  // namespace

void Window::updateCursor(Window* window, Point locationInWindow) {
    platform::assertMainThread();
    std::optional<Cursor> shape;
    if (window && window->key_ && window->contentView_) {
        findCursorRect(*window->contentView_, locationInWindow, shape);
    }
    if (shape) {
        shape->set();
        gCursorFromRect = true;
    } else if (std::exchange(gCursorFromRect, false)) {
        Cursor::arrow().set();
    }
}

void Window::updateTrackingAreas(const Event& event) {
    if (!contentView_) return;
    std::vector<Crossing> areas;
    collectTrackingAreas(*contentView_, areas);
    const bool dragging = event.type == EventType::leftMouseDragged;
    std::vector<Crossing> exits;
    std::vector<Crossing> enters;
    std::vector<Crossing> moves;
    for (auto& crossing : areas) {
        const TrackingOptions options = crossing.area->options;
        const bool active = options.contains(TrackingOption::activeAlways) ||
                            (options.contains(TrackingOption::activeInKeyWindow) && key_) ||
                            (options.contains(TrackingOption::activeInActiveApp) &&
                             Application::shared().isActive()) ||
                            (options.contains(TrackingOption::activeWhenFirstResponder) &&
                             firstResponder() == crossing.view.get());
        if (!active || (dragging && !options.contains(TrackingOption::enabledDuringMouseDrag))) {
            continue;
        }
        const Rect rect = options.contains(TrackingOption::inVisibleRect) ? crossing.view->bounds()
                                                                          : crossing.area->rect;
        const bool inside =
            rect.contains(crossing.view->convertPointFromView(event.locationInWindow, nullptr));
        if (inside && options.contains(TrackingOption::mouseMoved)) moves.push_back(crossing);
        if (inside == crossing.area->mouseInside) continue;
        crossing.area->mouseInside = inside;
        if (options.contains(TrackingOption::mouseEnteredAndExited)) {
            (inside ? enters : exits).push_back(crossing);
        }
    }
    // Leaving one view comes before entering the next.
    const auto send = [&](const std::vector<Crossing>& list, EventType type) {
        for (const auto& crossing : list) {
            if (crossing.area->removed) continue;
            const Event crossingEvent = Event::mouseEvent(type, event.locationInWindow, this);
            if (type == EventType::mouseExited) crossing.view->mouseExited(crossingEvent);
            if (type == EventType::mouseEntered) crossing.view->mouseEntered(crossingEvent);
            if (type == EventType::mouseMoved) crossing.view->mouseMoved(crossingEvent);
        }
    };
    send(exits, EventType::mouseExited);
    send(enters, EventType::mouseEntered);
    send(moves, EventType::mouseMoved);
}

bool Window::sendAction(const std::string& action, const ActionSender* sender) {
    platform::assertMainThread();
    if (contentViewController_ && contentViewController_->performAction(action, sender)) {
        return true;
    }
    return windowController_ && windowController_->performAction(action, sender);
}

}  // namespace zelvana::platform
