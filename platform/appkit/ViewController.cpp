#include "platform/appkit/ViewController.hpp"

namespace zelvana::platform {

const std::shared_ptr<View>& ViewController::view() {
    if (!loaded_) {
        loaded_ = true;
        if (!view_) loadView();
        viewDidLoad();
    }
    return view_;
}

}  // namespace zelvana::platform
