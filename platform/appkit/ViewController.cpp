#include "platform/appkit/ViewController.hpp"

#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

const std::shared_ptr<View>& ViewController::view() {
    platform::assertMainThread();
    if (!loaded_) {
        loaded_ = true;
        if (!view_) loadView();
        viewDidLoad();
    }
    return view_;
}

void ViewController::setPreferredContentSize(Size size) {
    platform::assertMainThread();
    preferredContentSize_ = size;
    Window* window = view_ ? view_->window() : nullptr;
    if (window && window->contentView() == view_.get()) window->setContentSize(size);
}

}  // namespace zelvana::platform
