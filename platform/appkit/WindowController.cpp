#include "platform/appkit/WindowController.hpp"

#include <utility>

#include "platform/appkit/ViewController.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

WindowController::WindowController(std::unique_ptr<Window> window) {
    setWindow(std::move(window));
}

WindowController::~WindowController() {
    if (window_) window_->setWindowController(nullptr);
}

void WindowController::setWindow(std::unique_ptr<Window> window) {
    platform::assertMainThread();
    if (window_) window_->setWindowController(nullptr);
    window_ = std::move(window);
    if (window_) window_->setWindowController(this);
}

ViewController* WindowController::contentViewController() const {
    return window_ ? window_->contentViewController().get() : nullptr;
}

void WindowController::showWindow(const ActionSender* sender) {
    platform::assertMainThread();
    if (!window_) return;
    if (!std::exchange(shownBefore_, true) && initialPosition_ == InitialPosition::centered) {
        window_->center();
    }
    window_->makeKeyAndOrderFront(sender);
}

void WindowController::close() {
    platform::assertMainThread();
    if (window_) window_->close();
}

}  // namespace zelvana::platform
