#include "platform/appkit/Window.hpp"

#include <algorithm>
#include <utility>

#include "platform/appkit/Coder.hpp"
#include "platform/appkit/Event.hpp"
#include "platform/appkit/View.hpp"
#include "platform/appkit/ViewController.hpp"
#include "platform/appkit/WindowController.hpp"
#include "platform/appkit/WindowDelegate.hpp"

namespace zelvana::platform {

namespace {

Window* currentKeyWindow = nullptr;
Window* currentMainWindow = nullptr;

bool sameScreen(const std::optional<Screen>& a, const std::optional<Screen>& b) {
    return a.has_value() == b.has_value() && (!a || *a == *b);
}

}  // namespace

Window::Window() : Window(Rect{}) {}

Window::Window(Rect frame) : windowNumber_(WindowServer::newWindowNumber()), frame_(frame) {
    if (WindowServer* server = WindowServer::current()) server->windowCreated(*this);
    lastScreen_ = screen();
}

Window::Window(Rect contentRect, std::uint64_t styleMask, int /*backing*/, bool /*defer*/)
    : Window(contentRect) {
    styleMask_ = styleMask;
}

Window::~Window() {
    if (currentKeyWindow == this) currentKeyWindow = nullptr;
    if (currentMainWindow == this) currentMainWindow = nullptr;
    if (WindowServer* server = WindowServer::current()) server->windowDestroyed(*this);
    // The content view may outlive the window through its controller.
    if (contentView_) contentView_->setWindow(nullptr);
}

Window* Window::keyWindow() {
    return currentKeyWindow;
}

Window* Window::mainWindow() {
    return currentMainWindow;
}

void Window::setFrame(Rect frame) {
    if (frame == frame_) return;
    frame_ = frame;
    frameDidChange();
}

void Window::setFrameOrigin(Point origin) {
    setFrame(Rect{origin, frame_.size});
}

void Window::setContentSize(Size size) {
    if (contentView_) contentView_->setFrameSize(size);
    setFrame(Rect{frame_.origin, size});
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
    return screenObservers_.add(std::move(observer));
}

void Window::refreshScreen() {
    auto now = screen();
    if (sameScreen(now, lastScreen_)) {
        lastScreen_ = std::move(now);  // the same display, perhaps with a new frame
        return;
    }
    const auto old = std::exchange(lastScreen_, now);
    // Observers may end observations, their own included, while being told.
    screenObservers_.emit(old, now);
}

void Window::setCollectionBehavior(std::uint64_t behavior) {
    collectionBehavior_ = behavior;
    if (WindowServer* server = WindowServer::current()) server->windowChanged(*this);
}

void Window::encodeRestorableStateWithCoder(Coder& coder) const {
    coder.encodeRect(Coder::frameKey, frame_);
}

void Window::restoreStateWithCoder(const Coder& coder) {
    if (auto frame = coder.decodeRect(Coder::frameKey)) setFrame(*frame);
}

void Window::setIsVisible(bool visible) {
    if (visible) {
        orderFront(nullptr);
    } else {
        orderOut(nullptr);
    }
}

void Window::orderFront(const void* /*sender*/) {
    applyFrameConstraint();
    visible_ = true;
    closed_ = false;
    ++orderFrontCount_;
    if (WindowServer* server = WindowServer::current()) server->windowOrderedFront(*this, false);
}

void Window::makeKeyAndOrderFront(const void* /*sender*/) {
    applyFrameConstraint();
    visible_ = true;
    closed_ = false;
    ++orderFrontCount_;
    if (WindowServer* server = WindowServer::current()) server->windowOrderedFront(*this, true);
    makeKeyWindow();
    makeMainWindow();
}

void Window::sendEvent(const Event& event) {
    // Held while it runs: the event may close the window and release the view.
    const auto view = contentView_;
    if (view && event.type == EventType::scrollWheel) view->scrollWheel(event);
}

Rect Window::constrainFrameRect(Rect frame, const std::optional<Screen>& screen) const {
    if ((styleMask_ & StyleMask::titled) == 0 || !screen) return frame;
    const Rect visible = screen->visibleFrame();
    if (frame.maxY() <= visible.maxY()) return frame;
    frame.size.height = std::min(frame.height(), visible.height());
    frame.origin.y = visible.maxY() - frame.height();
    return frame;
}

void Window::applyFrameConstraint() {
    const Rect constrained = constrainFrameRect(frame_, screen());
    if (constrained != frame_) setFrame(constrained);
}

void Window::orderOut(const void* /*sender*/) {
    visible_ = false;
    if (key_) resignKeyWindow();
    if (main_) resignMainWindow();
    if (WindowServer* server = WindowServer::current()) server->windowOrderedOut(*this);
}

void Window::close() {
    if (delegate_) delegate_->windowWillClose();
    orderOut(nullptr);
    closed_ = true;
    if (WindowServer* server = WindowServer::current()) server->windowClosed(*this);
}

bool Window::isOnActiveSpace() const {
    const WindowServer* server = WindowServer::current();
    // Without a window server there is one space, and a shown window is on it.
    return server ? server->isOnActiveSpace(*this) : visible_;
}

void Window::makeKeyWindow() {
    if (key_ || !canBecomeKeyWindow()) return;
    if (currentKeyWindow && currentKeyWindow != this) currentKeyWindow->resignKeyWindow();
    becomeKeyWindow();
}

void Window::makeMainWindow() {
    if (main_ || !canBecomeMainWindow()) return;
    if (currentMainWindow && currentMainWindow != this) currentMainWindow->resignMainWindow();
    becomeMainWindow();
}

void Window::becomeKeyWindow() {
    key_ = true;
    currentKeyWindow = this;
}

void Window::resignKeyWindow() {
    key_ = false;
    if (currentKeyWindow == this) currentKeyWindow = nullptr;
}

void Window::becomeMainWindow() {
    main_ = true;
    currentMainWindow = this;
}

void Window::resignMainWindow() {
    main_ = false;
    if (currentMainWindow == this) currentMainWindow = nullptr;
}

void Window::setContentViewController(std::shared_ptr<ViewController> controller) {
    std::shared_ptr<View> view = controller ? controller->view() : nullptr;
    contentViewController_ = std::move(controller);
    setContentView(std::move(view));
}

void Window::setContentView(std::shared_ptr<View> view) {
    if (contentView_) contentView_->setWindow(nullptr);
    contentView_ = std::move(view);
    if (contentView_) contentView_->setWindow(this);
}

bool Window::sendAction(const std::string& action, const void* sender) {
    if (contentViewController_ && contentViewController_->performAction(action, sender)) {
        return true;
    }
    return windowController_ && windowController_->performAction(action, sender);
}

}  // namespace zelvana::platform
