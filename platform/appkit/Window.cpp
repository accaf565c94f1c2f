#include "platform/appkit/Window.hpp"

#include "platform/appkit/View.hpp"
#include "platform/appkit/ViewController.hpp"
#include "platform/appkit/WindowController.hpp"
#include "platform/appkit/WindowDelegate.hpp"

namespace zelvana::platform {

Window::~Window() {
    // The content view may outlive the window through its controller.
    if (contentView_) contentView_->setWindow(nullptr);
}

void Window::makeKeyAndOrderFront(const void* /*sender*/) {
    visible_ = true;
    key_ = true;
    ++orderFrontCount_;
}

void Window::orderOut(const void* /*sender*/) {
    visible_ = false;
    key_ = false;
}

void Window::close() {
    if (delegate_) delegate_->windowWillClose();
    orderOut(nullptr);
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
